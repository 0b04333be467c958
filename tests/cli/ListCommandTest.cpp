// kemptor-cli list, run as a user runs it.
#include <gtest/gtest.h>

#include "support/CliRunner.h"

namespace kemptor {
namespace {

using test::Rows;
using test::RunCli;
using test::TempDir;

TEST(ListCommand, ListsTheMakSampleWithKindsSizesAndLineCounts) {
    auto r = RunCli("list " + std::string(KEMPTOR_EXAMPLES) + "/mak/Stock.mak");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 4u) << r.out;
    EXPECT_EQ(rows[0][0], "form");
    EXPECT_EQ(rows[0][1], "MAIN.FRM");
    EXPECT_EQ(rows[2][1], "UTIL.BAS");
    // A backslash in a field is written doubled (TSV escaping).
    EXPECT_EQ(rows[3][2], std::string(KEMPTOR_EXAMPLES) + "/mak/..\\\\COMMON\\\\SHARED.BAS");
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 5u);
        EXPECT_GT(std::stol(row[3]), 0) << row[1];
        EXPECT_GT(std::stol(row[4]), 0) << row[1];
    }
}

TEST(ListCommand, ARefusedProjectExitsTwoWithTheMessage) {
    TempDir dir;
    dir.Write("bin.vbp", std::string("\x01\x02\x03", 3));
    auto r = RunCli("list " + dir.Path() + "bin.vbp");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "error: Invalid VB project file.  Unable to proceed.\n");

    dir.Write("refs.vbp", "Type=Exe\r\nReference=*\\G{0}#2.0#0#x.tlb#OLE\r\n");
    r = RunCli("list " + dir.Path() + "refs.vbp");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "warning: Project file is empty.\n");
}

TEST(ListCommand, BadUsageExitsTwo) {
    const std::string sample = std::string(KEMPTOR_EXAMPLES) + "/mak/Stock.mak";
    EXPECT_EQ(RunCli("list").status, 2);
    EXPECT_EQ(RunCli("nosuchcommand").status, 2);
    EXPECT_EQ(RunCli("list --tab-width 0 " + sample).status, 2);
    auto r = RunCli("list --set Indents.NoSuchKey=1 " + sample);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("NoSuchKey"), std::string::npos);
    EXPECT_EQ(RunCli("list --set Indents.DoLoopIndent=2 --set General.MultiVarSplit=1 " + sample).status, 0);
}

} // namespace
} // namespace kemptor
