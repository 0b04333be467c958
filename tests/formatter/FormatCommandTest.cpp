// kemptor-cli format, run as a program on fixture files.
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kemptor::test {
namespace {

// Runs `kemptor-cli format ARGUMENTS` in `dir`.
CliResult RunFormat(const TempDir& dir, const std::string& arguments) {
    return RunCli(dir, "format " + arguments);
}

constexpr std::string_view kUnformatted = "Option Explicit\r\n"
                                          "Sub Main()\r\n"
                                          "If a Then\r\n"
                                          "\tb = \"x\ty\"\r\n"
                                          "End If\r\n"
                                          "End Sub\r\n";
constexpr std::string_view kFormatted = "Option Explicit\r\n"
                                        "Sub Main()\r\n"
                                        "    If a Then\r\n"
                                        "        b = \"x\ty\"\r\n"
                                        "    End If\r\n"
                                        "End Sub\r\n";

TEST(FormatCommand, WritesTheFormattedFileToStdoutWithCrLf) {
    TempDir dir;
    const std::string file = dir.Write("Main.bas", std::string(kUnformatted));
    const CliResult r = RunFormat(dir, "'" + file + "'");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(kFormatted, r.out);
}

TEST(FormatCommand, LfInputIsAcceptedAndSettingsOptionsApply) {
    TempDir dir;
    const std::string file = dir.Write("Main.bas", "Sub Main()\n\tx = 1\nEnd Sub\n");
    // The inserted line's comment is placed at the default fixed column by the second pass.
    EXPECT_EQ("Option Explicit" + std::string(25, ' ') +
                  "'Force all variables to be declared before their use\r\n\r\n"
                  "Sub Main()\r\n    x = 1\r\nEnd Sub\r\n",
              RunFormat(dir, "'" + file + "'").out);
    EXPECT_EQ(
        "Sub Main()\r\n  x = 1\r\nEnd Sub\r\n",
        RunFormat(dir,
                  "--tab-width 2 --set General.OptionExplicitInsert=0 --set Indents.CodeIndentPerform=0 '" +
                      file + "'")
            .out);
    const std::string ini =
        dir.Write("my.ini", "[Indents]\nDefaultLineIndent=2\n[General]\nOptionExplicitInsert=0\n");
    EXPECT_EQ("Sub Main()\r\n  x = 1\r\nEnd Sub\r\n",
              RunFormat(dir, "--ini '" + ini + "' '" + file + "'").out);
}

TEST(FormatCommand, CheckReportsFilesThatWouldChange) {
    TempDir dir;
    const std::string messy = dir.Write("Messy.bas", std::string(kUnformatted));
    const std::string tidy = dir.Write("Tidy.bas", std::string(kFormatted));
    const CliResult both = RunFormat(dir, "--check '" + messy + "' '" + tidy + "'");
    EXPECT_EQ(1, both.status);
    EXPECT_EQ(messy + "\n", both.out);
    EXPECT_EQ(0, RunFormat(dir, "--check '" + tidy + "'").status);
    EXPECT_EQ(kUnformatted, dir.Read("Messy.bas")); // --check writes nothing
}

TEST(FormatCommand, InPlaceRewritesOnlyFilesThatChange) {
    TempDir dir;
    const std::string file = dir.Write("Main.bas", std::string(kUnformatted));
    const CliResult r = RunFormat(dir, "-i '" + file + "'");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.out);
    EXPECT_EQ(kFormatted, dir.Read("Main.bas"));
    EXPECT_EQ(0, RunFormat(dir, "--check '" + file + "'").status);
}

TEST(FormatCommand, DiffShowsUnifiedHunks) {
    TempDir dir;
    const std::string file = dir.Write("Main.bas", std::string(kUnformatted));
    const CliResult r = RunFormat(dir, "--diff '" + file + "'");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("--- " + file + "\n+++ " + file +
                  "\n"
                  "@@ -1,6 +1,6 @@\n"
                  " Option Explicit\r\n"
                  " Sub Main()\r\n"
                  "-If a Then\r\n"
                  "-\tb = \"x\ty\"\r\n"
                  "-End If\r\n"
                  "+    If a Then\r\n"
                  "+        b = \"x\ty\"\r\n"
                  "+    End If\r\n"
                  " End Sub\r\n",
              r.out);
    const std::string tidy = dir.Write("Tidy.bas", std::string(kFormatted));
    EXPECT_EQ("", RunFormat(dir, "--diff '" + tidy + "'").out);
}

TEST(FormatCommand, BadInputAndUsageExitWithTwo) {
    TempDir dir;
    const std::string file = dir.Write("Main.bas", std::string(kUnformatted));
    const CliResult missing = RunFormat(dir, "'" + dir.Path() + "Missing.bas'");
    EXPECT_EQ(2, missing.status);
    EXPECT_NE(std::string::npos, missing.err.find("Missing.bas"));
    EXPECT_EQ(2, RunFormat(dir, "-i --check '" + file + "'").status);
    EXPECT_EQ(2, RunFormat(dir, "--kind sheet '" + file + "'").status);
    EXPECT_EQ(2, RunFormat(dir, "--set Indents.NoSuchKey=1 '" + file + "'").status);
    EXPECT_EQ(2, RunFormat(dir, "").status);
    EXPECT_EQ(kUnformatted, dir.Read("Main.bas"));
    // A binary file given by mistake is never rewritten in place.
    const std::string binary("\x00\x01If\tx\r\n\x00\xFF\n", 10);
    dir.Write("Main.frx", binary);
    EXPECT_EQ(2, RunFormat(dir, "-i '" + dir.Path() + "Main.frx'").status);
    EXPECT_EQ(binary, dir.Read("Main.frx"));
}

} // namespace
} // namespace kemptor::test

namespace kemptor::test {
namespace {

// A template that cannot be loaded stops the command: the default one is not what the settings ask for.
TEST(FormatCommand, HeaderTemplateFilesAreLoadedOrTheCommandStops) {
    TempDir dir;
    const std::string file = dir.Write("Main.bas", "Option Explicit\nSub Main()\nEnd Sub\n");
    const std::string templ = dir.Write("sub.txt", "' Header of %n\n");
    const std::string common =
        "--set SubComments.SubLevelCommentsPerform=1 --set SubComments.SubLevelCommentsFile=";
    EXPECT_EQ("Option Explicit\r\nSub Main()\r\n' Header of Main\r\nEnd Sub\r\n",
              RunFormat(dir, common + "'" + templ + "' '" + file + "'").out);
    const CliResult missing = RunFormat(dir, common + "'" + dir.Path() + "none.txt' '" + file + "'");
    EXPECT_EQ(2, missing.status);
    EXPECT_EQ("error: the header template " + dir.Path() + "none.txt does not exist.\n", missing.err);
    EXPECT_EQ("", missing.out);
}

TEST(FormatCommand, AFormattingThatBreaksTheCodeIsRefusedWithStatusThreeNamingWhereAndWhat) {
    TempDir dir;
    const std::string file = dir.Write("Main.bas", std::string(kUnformatted));
    // Line 3 is only indented; line 4 is where "=" became "<>" (its column 4, after the TAB and "b ").
    const std::string error = file + ":4:4: error: code check: the formatted text would change the code: "
                                     "\"b = \"x\\ty\"\" would become \"b <> \"x\\ty\"\"; ";
    // Standard output gets the original as it was read.
    const CliResult shown = RunFormat(dir, "--break-code-for-test '" + file + "'");
    EXPECT_EQ(3, shown.status);
    EXPECT_EQ(kUnformatted, shown.out);
    EXPECT_EQ(error + "the original text is written unchanged\n", shown.err);
    // In place, the file is left alone; a check does not count it as changed.
    const CliResult inPlace = RunFormat(dir, "-i --break-code-for-test '" + file + "'");
    EXPECT_EQ(3, inPlace.status);
    EXPECT_EQ(error + "the file is not rewritten\n", inPlace.err);
    EXPECT_EQ(kUnformatted, dir.Read("Main.bas"));
    const CliResult check = RunFormat(dir, "--check --break-code-for-test '" + file + "'");
    EXPECT_EQ(3, check.status);
    EXPECT_EQ("", check.out);
}

} // namespace
} // namespace kemptor::test
