// kemptor report: the print report of a file as PDF, made by the desktop program without a printer or a
// display; its output name is checked before anything is written. Also the program's other commands that
// need no window (--help, --version).
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include <sys/stat.h>
#include <unistd.h>

#include "support/CliRunner.h"

#ifdef KEMPTOR_APP
namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using test::TempDir;

CliResult RunApp(const std::string& args) {
    return test::RunProgram(KEMPTOR_APP, args);
}

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
    const auto run = RunApp("report '" + shortFile + "' -o '" + dir.Path() + "short.pdf'");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string pdf = dir.Read("short.pdf");
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_EQ(PageCount(pdf), 1);

    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "    Debug.Print " + std::to_string(i) + "\r\n";
    const std::string longFile = dir.Write("LONG.BAS", text);
    ASSERT_EQ(RunApp("report '" + longFile + "' --output '" + dir.Path() + "long.pdf'").status, 0);
    EXPECT_GE(PageCount(dir.Read("long.pdf")), 6);

    // An empty file still gives the title and the page header.
    const std::string empty = dir.Write("EMPTY.BAS", "");
    ASSERT_EQ(RunApp("report '" + empty + "' -o '" + dir.Path() + "empty.pdf'").status, 0);
    EXPECT_EQ(PageCount(dir.Read("empty.pdf")), 1);
}

TEST(ReportCommand, BadInputOrOutputIsReportedAndLeavesNothing) {
    TempDir dir;
    const auto missing = RunApp("report '" + dir.Path() + "none.bas' -o '" + dir.Path() + "out.pdf'");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("error: Cannot read file"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "out.pdf"));

    const std::string file = dir.Write("A.BAS", "x = 1\r\n");
    const auto unwritable = RunApp("report '" + file + "' -o '" + dir.Path() + "no/such/dir/out.pdf'");
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.err.find("error: Cannot write file"), std::string::npos);

    EXPECT_EQ(RunApp("report '" + file + "'").status, 2); // -o is required
}

TEST(ReportCommand, RefusesTargetsThatAreNotANewNameOrARegularFileOfItsDirectory) {
    TempDir dir;
    const std::string file = dir.Write("MAIN.BAS", "x = 1\r\n");
    const auto refused = [&](const std::string& target, const std::string& why) {
        const auto run = RunApp("report '" + file + "' -o '" + target + "'");
        EXPECT_EQ(run.status, 2) << target;
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
    };
    ASSERT_EQ(::mkfifo((dir.Path() + "pipe.pdf").c_str(), 0666), 0);
    refused(dir.Path() + "pipe.pdf", "is not a regular file");
    EXPECT_TRUE(fs::is_fifo(dir.Path() + "pipe.pdf"));

    // The input itself, by its name or through a link beside it.
    refused(file, "is the input file");
    fs::create_symlink("MAIN.BAS", dir.Path() + "main.pdf");
    refused(dir.Path() + "main.pdf", "is the input file");
    EXPECT_EQ(dir.Read("MAIN.BAS"), "x = 1\r\n");

    const std::string outside = dir.Write("elsewhere/settings.ini", "[keep]\r\n");
    fs::create_directory(dir.Path() + "out");
    fs::create_symlink(outside, dir.Path() + "out/report.pdf");
    refused(dir.Path() + "out/report.pdf", "leads out of its directory");
    EXPECT_EQ(dir.Read("elsewhere/settings.ini"), "[keep]\r\n");

    // An existing regular PDF is replaced in place of its name, keeping its mode.
    const std::string old = dir.Write("out/old.pdf", "old");
    ::chmod(old.c_str(), 0600);
    const auto replaced = RunApp("report '" + file + "' -o '" + old + "'");
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(dir.Read("out/old.pdf").substr(0, 5), "%PDF-");
    EXPECT_EQ(fs::status(old).permissions() & fs::perms::all, fs::perms(0600));
}

TEST(DesktopProgram, PrintsItsUsageAndVersionWithoutAWindow) {
    const auto help = RunApp("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: kemptor [--debug] [PROJECT]\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("kemptor report FILE -o OUT.pdf"), std::string::npos);

    const auto version = RunApp("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex(R"(kemptor \d+\.\d+\.\d+( \(commit [0-9a-f]+(-dirty)?\))?\n)")))
        << version.out;
}

TEST(ReportCommand, TheCommandLineSaysWhereTheReportWent) {
    const auto run = test::RunCli("report A.BAS -o A.pdf");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("kemptor report FILE -o OUT.pdf"), std::string::npos) << run.err;

    const auto version = test::RunCli("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex(R"(kemptor-cli \d+\.\d+\.\d+( \(commit [0-9a-f]+(-dirty)?\))?\n)")))
        << version.out;
}

} // namespace
} // namespace kemptor
#endif // KEMPTOR_APP
