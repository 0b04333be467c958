// kemptor-cli metrics, run as a user runs it.
#include <gtest/gtest.h>

#include "support/CliRunner.h"

namespace kemptor {
namespace {

using test::Rows;
using test::RunCli;

TEST(MetricsCommand, PrintsEveryMeasureOfTheMakSampleInOrder) {
    auto r = RunCli("metrics " + std::string(KEMPTOR_EXAMPLES) + "/mak/Stock.mak");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    std::string measures;
    for (const auto& row : Rows(r.out)) {
        ASSERT_EQ(row.size(), 3u) << r.out;
        if (measures.empty() || measures.substr(measures.rfind(' ') + 1) != row[0])
            measures += " " + row[0];
    }
    EXPECT_EQ(measures, " size lines type routines globals comments whitespace");
    EXPECT_NE(r.out.find("type\t.BAS\t3\ntype\t.FRM\t1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("globals\tGLOBAL.BAS\t8\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("routines\tMAIN.FRM\t4\n"), std::string::npos) << r.out;
}

TEST(MetricsCommand, AMissingProjectExitsTwo) {
    auto r = RunCli("metrics /nonexistent-dir/none.vbp");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
}

} // namespace
} // namespace kemptor
