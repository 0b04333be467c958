// `check` and `format -i` on whole trees, as a repository and its CI job use them: directories,
// excludes, standard input under a name, messages and exit statuses, and the GitHub, JSON and GitLab
// reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace kemptor::test {
namespace {

constexpr const char* kMessy = "Option Explicit\r\n"
                               "Sub Main()\r\n"
                               "x = 1\r\n"
                               "If x Then y = 2\r\n"
                               "End Sub\r\n";
constexpr const char* kTidy = "Option Explicit\r\n"
                              "Sub Main()\r\n"
                              "    x = 1\r\n"
                              "    If x Then y = 2\r\n"
                              "End Sub\r\n";

// A tree of sources with its own user settings directory (DIR/config), run from its root.
class Tree {
public:
    std::string Write(const std::string& relative, const std::string& bytes) const {
        return dir_.Write("t/" + relative, bytes);
    }
    std::string Read(const std::string& relative) const { return dir_.Read("t/" + relative); }
    std::string Root() const { return dir_.Path() + "t/"; }
    CliResult Run(const std::string& args, const std::string& prefix = "") const {
        return RunCliIn(dir_, Root(), args, prefix);
    }
    CliResult RunWithInput(const std::string& args, const std::string& input) const {
        return RunCliIn(dir_, Root(), args, "", input);
    }
    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_;
};

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(RepositoryMode, CheckAndFormatTakeDirectoriesWithTheirSourcesInAnyCaseAndSkipExcludes) {
    Tree tree;
    tree.Write("kemptor.ini", "[Files]\nExclude=vendor; *.gen.bas\n");
    tree.Write("src/B.BAS", kMessy);
    tree.Write("src/a.cls", kTidy);
    tree.Write("src/Form 1.Frm", kMessy);
    tree.Write("src/notes.txt", kMessy);
    tree.Write("src/x.gen.bas", kMessy);
    tree.Write("vendor/V.bas", kMessy);
    CliResult r = tree.Run("check .");
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ((std::vector<std::string>{"src/B.BAS: 2 lines would change",
                                        "src/Form 1.Frm: 2 lines would change", "2 of 3 files would change"}),
              LinesOf(r.out));
    EXPECT_EQ("", r.err); // the [Files] section is known, not an unknown setting

    r = tree.Run("format -i src");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(kTidy, tree.Read("src/B.BAS"));
    EXPECT_EQ(kTidy, tree.Read("src/Form 1.Frm"));
    EXPECT_EQ(kMessy, tree.Read("src/x.gen.bas"));
    EXPECT_EQ(kMessy, tree.Read("src/notes.txt"));
    EXPECT_EQ(0, tree.Run("check .").status);
    // A file named on the command line is checked even when a pattern would exclude it.
    EXPECT_EQ(1, tree.Run("check vendor/V.bas").status);
    // Formatting a directory to standard output makes no sense: said so.
    r = tree.Run("format src");
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find("is a directory")) << r.err;
}

TEST(RepositoryMode, CheckOfStandardInputNamesTheStdinFilenameInEveryReport) {
    Tree tree;
    const std::string input = tree.Write("in.txt", kMessy);
    CliResult r = tree.RunWithInput("check --stdin-filename src/Main.bas -", input);
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("src/Main.bas: 2 lines would change\n1 of 1 files would change\n", r.out);
    r = tree.RunWithInput("check --diff --stdin-filename src/Main.bas -", input);
    EXPECT_EQ(0u, r.out.find("--- src/Main.bas\n+++ src/Main.bas\n")) << r.out;
    r = tree.RunWithInput("check --format github --stdin-filename src/Main.bas -", input);
    EXPECT_EQ(0u, r.out.find("::warning file=src/Main.bas,")) << r.out;
    r = tree.RunWithInput("check --format json --stdin-filename src/Main.bas -", input);
    EXPECT_NE(std::string::npos, r.out.find("\"file\": \"src/Main.bas\"")) << r.out;
    const std::string tidy = tree.Write("tidy.txt", kTidy);
    EXPECT_EQ(0, tree.RunWithInput("check -", tidy).status);
}

TEST(RepositoryMode, ExitStatusesTellChangesUnreadableFilesAndCodeCheckRefusalsApart) {
    Tree tree;
    tree.Write("Messy.bas", kMessy);
    tree.Write("Tidy.bas", kTidy);
    EXPECT_EQ(0, tree.Run("check Tidy.bas").status);
    EXPECT_EQ(1, tree.Run("check Messy.bas Tidy.bas").status);
    CliResult r = tree.Run("check Missing.bas Messy.bas");
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find("Missing.bas: error: Missing.bas does not exist.")) << r.err;
    EXPECT_EQ(2, tree.Run("check --format nonsense Tidy.bas").status);

    // The refused file says what and where: the line the broken "=" is on, and what it would become.
    r = tree.Run("check --break-code-for-test Messy.bas Tidy.bas");
    EXPECT_EQ(3, r.status) << r.err;
    EXPECT_NE(std::string::npos,
              r.err.find("Messy.bas:3:3: error: code check: the formatted text would change the code: "
                         "\"x = 1\" would become \"x <> 1\"; it counts as unchanged"))
        << r.err;
    r = tree.Run("format -i --break-code-for-test Messy.bas");
    EXPECT_EQ(3, r.status);
    EXPECT_EQ(kMessy, tree.Read("Messy.bas"));
    EXPECT_NE(std::string::npos, r.err.find("Messy.bas:3:3: error: code check:")) << r.err;
    // The refusal outranks an unreadable file.
    EXPECT_EQ(3, tree.Run("check --break-code-for-test Missing.bas Messy.bas").status);
}

TEST(RepositoryMode, ACheckedProjectThatNamesMissingFilesIsAnError) {
    Tree tree;
    tree.Write("P.vbp", "Module=Tidy; Tidy.bas\r\nModule=Gone; Gone.bas\r\n");
    tree.Write("Tidy.bas", kTidy);
    const CliResult r = tree.Run("check --format json P.vbp");
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.out.find("\"kind\": \"unreadable\"")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("Gone.bas")) << r.out;
}

TEST(RepositoryMode, AProjectGroupIsCheckedAsItsProjectsWithSharedFilesOnce) {
    Tree tree;
    tree.Write("All.vbg", "VBGROUP 5.0\r\nStartupProject=app\\App.vbp\r\nProject=lib\\Lib.vbp\r\n");
    tree.Write("app/App.vbp", "Module=Shared; ..\\shared\\Shared.bas\r\nModule=App; App.bas\r\n");
    tree.Write("lib/Lib.vbp", "Module=Shared; ..\\shared\\Shared.bas\r\n");
    tree.Write("shared/Shared.bas", kMessy);
    tree.Write("app/App.bas", kTidy);
    CliResult r = tree.Run("check All.vbg");
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("shared/Shared.bas: 2 lines would change\n1 of 2 files would change\n", r.out);
    // Named on the command line as well: still once.
    r = tree.Run("check shared/Shared.bas All.vbg");
    EXPECT_EQ("shared/Shared.bas: 2 lines would change\n1 of 2 files would change\n", r.out);
    // --only picks files from whichever projects of the group hold them; a name none holds is an error.
    r = tree.Run("check --only App.bas All.vbg");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ("0 of 1 files would change\n", r.out);
    r = tree.Run("check --only App.bas,Shared.bas All.vbg");
    EXPECT_EQ("shared/Shared.bas: 2 lines would change\n1 of 2 files would change\n", r.out);
    r = tree.Run("check --only App.bas,Nowhere.bas All.vbg");
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find("the project group names no file Nowhere.bas")) << r.err;
}

TEST(RepositoryMode, QuietPrintsErrorsOnlyAndVerboseEachFileWithItsTime) {
    Tree tree;
    tree.Write("kemptor.ini", "[Indents]\nIfThenElseIndent=abc\n");
    tree.Write("Messy.bas", kMessy);
    CliResult r = tree.Run("check --quiet Messy.bas");
    EXPECT_EQ(1, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_EQ("", r.err);
    r = tree.Run("check --verbose Messy.bas");
    EXPECT_TRUE(std::regex_search(r.err, std::regex("Messy\\.bas: changed \\([0-9]+ ms\\)"))) << r.err;
    r = tree.Run("format -i --verbose Messy.bas");
    EXPECT_TRUE(std::regex_search(r.err, std::regex("Messy\\.bas: changed \\([0-9]+ ms\\)"))) << r.err;
}

TEST(RepositoryMode, SettingsValuesNotValidForTheirKeyAreNamedWithFileLineAndTheValueUsed) {
    Tree tree;
    tree.Write("kemptor.ini",
               "[Indents]\r\nIfThenElseIndent=abc\r\nDefaultLineIndent=-5\r\n[Nowhere]\r\nX=1\r\n");
    tree.Write("Tidy.bas", kTidy);
    const CliResult r = tree.Run("check Tidy.bas");
    const std::string ini = "kemptor.ini";
    EXPECT_NE(std::string::npos,
              r.err.find(ini + ":2:1: warning: Indents.IfThenElseIndent=abc is not a number; 4 is used"))
        << r.err;
    EXPECT_NE(std::string::npos,
              r.err.find(ini + ":3:1: warning: Indents.DefaultLineIndent=-5 is outside 0 to 80; 0 is used"))
        << r.err;
    EXPECT_NE(std::string::npos, r.err.find(ini + ":5:1: warning: unknown setting Nowhere.X is ignored"))
        << r.err;
}

// GitHub's workflow commands: "::warning|error|notice PROPS::MESSAGE", PROPS comma-separated
// name=value pairs in which '%', CR, LF, ':' and ',' are escaped; the message escapes '%', CR and LF.
const std::regex kWorkflowCommand(
    R"(::(warning|error|notice) ((?:[a-zA-Z]+=(?:[^,:%\r\n]|%25|%0D|%0A|%3A|%2C)*,?)+)::((?:[^%\r\n]|%25|%0D|%0A)*))");

TEST(RepositoryMode, GithubAnnotationsFitTheWorkflowCommandSyntaxWithALimitPerFileAndAStepSummary) {
    Tree tree;
    // Twelve separate blocks that would change, in one file.
    std::string many = "Option Explicit\r\nSub Main()\r\n";
    for (int i = 0; i < 12; ++i)
        many += "x = " + std::to_string(i) + "\r\n    y = 1\r\n    y = 2\r\n    y = 3\r\n    y = 4\r\n";
    many += "End Sub\r\n";
    tree.Write("src/Many, 50%: odd.bas", many);
    tree.Write("src/Tidy.bas", kTidy);
    const std::string summary = tree.Dir().Path() + "summary.md";
    tree.Dir().Write("summary.md", "earlier step\n");
#ifdef _WIN32
    _putenv_s("GITHUB_STEP_SUMMARY", summary.c_str());
    const CliResult r = tree.Run("check --format github src");
    _putenv_s("GITHUB_STEP_SUMMARY", "");
#else
    const CliResult r = tree.Run("check --format github src", "GITHUB_STEP_SUMMARY='" + summary + "'");
#endif
    EXPECT_EQ(1, r.status) << r.err;
    const std::vector<std::string> lines = LinesOf(r.out);
    ASSERT_EQ(11u, lines.size()) << r.out;
    for (const std::string& line : lines)
        EXPECT_TRUE(std::regex_match(line, kWorkflowCommand)) << line;
    EXPECT_EQ("::warning file=src/Many%2C 50%25%3A odd.bas,line=3,endLine=3,title=Not in the house style::"
              "1 line would change (kemptor-cli format -i)",
              lines.front());
    EXPECT_TRUE(
        std::regex_match(lines.back(), std::regex("::notice file=src/Many%2C 50%25%3A odd\\.bas,line=[0-9]+,"
                                                  "endLine=[0-9]+,title=More changes in this file::"
                                                  "2 more blocks \\(2 lines\\) would change.*")))
        << lines.back();
    const std::string md = tree.Dir().Read("summary.md");
    EXPECT_EQ(0u, md.find("earlier step\n### Visual Basic house style\n")) << md; // appended
    EXPECT_NE(std::string::npos, md.find("| src/Many, 50%: odd.bas | would change | 12 | 12 |")) << md;
    EXPECT_EQ(std::string::npos, md.find("Tidy.bas")) << md;

    // Refused and unreadable files are errors with a title; a refusal points at its line.
    tree.Write("src/Messy.bas", kMessy);
    const CliResult refused = tree.Run("check --format github --break-code-for-test src/Messy.bas Gone.bas");
    EXPECT_EQ(3, refused.status);
    const std::vector<std::string> errors = LinesOf(refused.out);
    ASSERT_EQ(2u, errors.size()) << refused.out;
    EXPECT_EQ(0u,
              errors[0].find("::error file=src/Messy.bas,line=3,endLine=3,title=Refused by the code check::"))
        << errors[0];
    EXPECT_EQ(0u, errors[1].find("::error file=Gone.bas,title=Cannot be checked::")) << errors[1];
    for (const std::string& line : errors)
        EXPECT_TRUE(std::regex_match(line, kWorkflowCommand)) << line;
}

TEST(RepositoryMode, JsonIsOneVersionedObjectWithEveryFileItsBlocksAndEveryError) {
    Tree tree;
    tree.Write("Messy.bas", kMessy);
    tree.Write("Tidy.bas", kTidy);
    const CliResult r = tree.Run("check --format json Messy.bas Tidy.bas Gone.bas");
    EXPECT_EQ(2, r.status);
    EXPECT_EQ(
        "{\n"
        "  \"version\": 1,\n"
        "  \"files\": [\n"
        "    {\"file\": \"Messy.bas\", \"status\": \"changed\", \"changedLines\": 2, \"blocks\": "
        "[{\"startLine\": 3, \"endLine\": 4, \"deleted\": 2, \"inserted\": 2}]},\n"
        "    {\"file\": \"Tidy.bas\", \"status\": \"unchanged\", \"changedLines\": 0, \"blocks\": []},\n"
        "    {\"file\": \"Gone.bas\", \"status\": \"unreadable\", \"changedLines\": 0, \"blocks\": []}\n"
        "  ],\n"
        "  \"errors\": [\n"
        "    {\"file\": \"Gone.bas\", \"kind\": \"unreadable\", \"line\": 0, \"column\": 0, "
        "\"reason\": \"Gone.bas does not exist.\"}\n"
        "  ],\n"
        "  \"summary\": {\"files\": 3, \"changed\": 1, \"errors\": 1}\n"
        "}\n",
        r.out);
}

TEST(RepositoryMode, GitlabCodeQualityReportHasOneFindingPerBlockAndError) {
    Tree tree;
    tree.Write("Messy.bas", kMessy);
    const CliResult r = tree.Run("check --format gitlab Messy.bas Gone.bas");
    EXPECT_EQ(2, r.status);
    const std::regex finding(
        R"re(  \{"description": "[^"]+", "check_name": "kemptor-[a-z-]+", "fingerprint": "[0-9a-f]{32}", )re"
        R"re("severity": "(minor|major)", "location": \{"path": "[^"]+", "lines": \{"begin": \d+, "end": \d+\}\}\},?)re");
    const std::vector<std::string> lines = LinesOf(r.out);
    ASSERT_EQ(4u, lines.size()) << r.out;
    EXPECT_EQ("[", lines.front());
    EXPECT_EQ("]", lines.back());
    EXPECT_TRUE(std::regex_match(lines[1], finding)) << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], finding)) << lines[2];
    EXPECT_NE(std::string::npos, lines[1].find("\"begin\": 3, \"end\": 4")) << lines[1];
    EXPECT_NE(lines[1].substr(lines[1].find("fingerprint")), lines[2].substr(lines[2].find("fingerprint")));
}

TEST(RepositoryMode, TheDiffKeepsCrLfAndColoursOnlyWhenAsked) {
    Tree tree;
    tree.Write("Messy.bas", kMessy);
    CliResult r = tree.Run("check --diff Messy.bas");
    EXPECT_EQ("--- Messy.bas\n+++ Messy.bas\n@@ -1,5 +1,5 @@\n Option Explicit\r\n Sub Main()\r\n-x = 1\r\n"
              "-If x Then y = 2\r\n+    x = 1\r\n+    If x Then y = 2\r\n End Sub\r\n",
              r.out);
    r = tree.Run("check --diff --color=always Messy.bas");
    EXPECT_NE(std::string::npos, r.out.find("\033[31m-x = 1\033[m\r\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("\033[32m+    x = 1\033[m\r\n")) << r.out;
    EXPECT_EQ(std::string::npos, tree.Run("check --diff Messy.bas").out.find('\033')); // not a terminal
    r = tree.Run("format --diff Messy.bas");
    EXPECT_NE(std::string::npos, r.out.find("-x = 1\r\n-If x Then y = 2\r\n+    x = 1\r\n")) << r.out;
}

TEST(RepositoryMode, ADiffOfALastLineWithoutLineEndSaysSo) {
    Tree tree;
    tree.Write("End.bas", "Option Explicit\nSub Main()\nx = 1\nEnd Sub");
    const CliResult r = tree.Run("check --diff End.bas");
    EXPECT_EQ("--- End.bas\n+++ End.bas\n@@ -1,4 +1,4 @@\n Option Explicit\n Sub Main()\n-x = 1\n+    x = "
              "1\n-End Sub\n"
              "\\ No newline at end of file\n+End Sub\n",
              r.out);
}

} // namespace
} // namespace kemptor::test
