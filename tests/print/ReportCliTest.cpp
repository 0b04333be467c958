// kemptor-cli report: the print report of a file as PDF, made without a printer or a display.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/CliRunner.h"

namespace kemptor {
namespace {

using test::RunCli;
using test::TempDir;

// The number of pages of a PDF that the report wrote (its page objects are not compressed).
int PageCount(const std::string& pdf) {
    int pages = 0;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1))
        if (pdf.compare(at, 12, "/Type /Pages") != 0)
            ++pages;
    return pages;
}

TEST(ReportCommand, WritesOnePdfPagePerPageOfLines) {
    TempDir dir;
    const std::string shortFile = dir.Write("SHORT.BAS", "Sub Main()\r\n\tx = 1\r\nEnd Sub\r\n");
    const auto run = RunCli("report '" + shortFile + "' -o '" + dir.Path() + "short.pdf'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string pdf = dir.Read("short.pdf");
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_EQ(PageCount(pdf), 1);

    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "    Debug.Print " + std::to_string(i) + "\r\n";
    const std::string longFile = dir.Write("LONG.BAS", text);
    ASSERT_EQ(RunCli("report '" + longFile + "' --output '" + dir.Path() + "long.pdf'").status, 0);
    EXPECT_GE(PageCount(dir.Read("long.pdf")), 6);

    // An empty file still gives the title and the page header.
    const std::string empty = dir.Write("EMPTY.BAS", "");
    ASSERT_EQ(RunCli("report '" + empty + "' -o '" + dir.Path() + "empty.pdf'").status, 0);
    EXPECT_EQ(PageCount(dir.Read("empty.pdf")), 1);
}

TEST(ReportCommand, BadInputOrOutputIsReportedAndLeavesNothing) {
    TempDir dir;
    const auto missing = RunCli("report '" + dir.Path() + "none.bas' -o '" + dir.Path() + "out.pdf'");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("error: Cannot read file"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "out.pdf"));

    const std::string file = dir.Write("A.BAS", "x = 1\r\n");
    const auto unwritable = RunCli("report '" + file + "' -o '" + dir.Path() + "no/such/dir/out.pdf'");
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.err.find("error: Cannot write file"), std::string::npos);

    EXPECT_EQ(RunCli("report '" + file + "'").status, 2); // -o is required
}

} // namespace
} // namespace kemptor
