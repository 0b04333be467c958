// The command line as a repository uses it: the project settings file, config, check, and format from
// standard input, run as a CI job or an editor runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>

#include "support/CliRunner.h"
#include "support/System.h"
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

// A scratch repository: a ".git" folder at its root and a user settings directory outside it.
class ScratchRepo {
public:
    ScratchRepo() { dir_.Write("repo/.git/HEAD", "ref: refs/heads/main\n"); }
    std::string Root() const { return dir_.Path() + "repo/"; }
    std::string Write(const std::string& relative, const std::string& bytes) const {
        return dir_.Write("repo/" + relative, bytes);
    }
    std::string WriteOutside(const std::string& relative, const std::string& bytes) const {
        return dir_.Write(relative, bytes);
    }
    std::string Read(const std::string& relative) const { return dir_.Read("repo/" + relative); }
    // Runs the program in the repository's root with its own user settings directory.
    CliResult Run(const std::string& arguments) const { return RunCliIn(dir_, Root(), arguments); }
    CliResult RunWithInput(const std::string& arguments, const std::string& stdinFile) const {
        return RunCliIn(dir_, Root(), arguments, "", stdinFile);
    }

private:
    TempDir dir_;
};

// The value and origin that `config` prints for a key, "Section.Key=Value<TAB>origin".
std::string ConfigLine(const std::string& out, const std::string& key) {
    const auto at = out.find("\n" + key + "=");
    if (at == std::string::npos)
        return "";
    return out.substr(at + 1, out.find('\n', at + 1) - at - 1);
}

TEST(ProjectSettings, FoundNextToTheFileOrInAParentButNotAboveTheRepository) {
    ScratchRepo repo;
    repo.WriteOutside("kemptor.ini", "[Indents]\nDefaultLineIndent=7\n"); // above the repository root
    repo.Write("src/deep/A.bas", kMessy);
    CliResult r = repo.Run("config src/deep/A.bas");
    EXPECT_EQ("Indents.DefaultLineIndent=4\tdefault", ConfigLine(r.out, "Indents.DefaultLineIndent"))
        << r.out;

    repo.Write("kemptor.ini", "[Indents]\nDefaultLineIndent=2\n");
    r = repo.Run("config src/deep/A.bas");
    EXPECT_EQ("Indents.DefaultLineIndent=2\tproject file", ConfigLine(r.out, "Indents.DefaultLineIndent"));

    repo.Write("src/kemptor.ini", "[Indents]\nDefaultLineIndent=3\n"); // the nearer one wins
    r = repo.Run("config src/deep/A.bas");
    EXPECT_EQ("Indents.DefaultLineIndent=3\tproject file", ConfigLine(r.out, "Indents.DefaultLineIndent"));
    EXPECT_NE(std::string::npos,
              r.out.find("# project settings file: " + test::Native(repo.Root() + "src/kemptor.ini")));
}

TEST(ProjectSettings, IniOptionAndNoConfigOverrideDiscoveryAndSetAppliesLast) {
    ScratchRepo repo;
    repo.Write("kemptor.ini", "[Indents]\nDefaultLineIndent=2\n");
    repo.WriteOutside("config/VBKEMPT3.INI", "[Indents]\nDefaultLineIndent=6\nIfThenElseIndent=5\n");
    const std::string other = repo.WriteOutside("other.ini", "[Indents]\nDefaultLineIndent=8\n");

    CliResult r = repo.Run("config --no-config .");
    EXPECT_EQ("Indents.DefaultLineIndent=6\tuser INI", ConfigLine(r.out, "Indents.DefaultLineIndent"));
    // With a project file the user's own INI is not read: every machine formats alike.
    r = repo.Run("config .");
    EXPECT_EQ("Indents.IfThenElseIndent=4\tdefault", ConfigLine(r.out, "Indents.IfThenElseIndent"));
    r = repo.Run("config --ini '" + other + "' .");
    EXPECT_EQ("Indents.DefaultLineIndent=8\t--ini", ConfigLine(r.out, "Indents.DefaultLineIndent"));
    r = repo.Run("config --set Indents.DefaultLineIndent=1 .");
    EXPECT_EQ("Indents.DefaultLineIndent=1\t--set", ConfigLine(r.out, "Indents.DefaultLineIndent"));

    r = repo.Run("config --ini missing.ini .");
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find("does not exist")) << r.err;
}

TEST(ProjectSettings, AProjectFileSetsOnlyFormattingKeysAndWarnsOfTheRest) {
    ScratchRepo repo;
    repo.Write("kemptor.ini", "[BackupInformation]\nBackupNewCodeDirectory=/elsewhere/\n"
                              "[Nonsense]\nKey=1\n[General]\nIfThenSplit=1\n");
    const CliResult r = repo.Run("config .");
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("BackupInformation.BackupNewCodeDirectory=.\\STYLED\\\tdefault",
              ConfigLine(r.out, "BackupInformation.BackupNewCodeDirectory"));
    EXPECT_EQ("General.IfThenSplit=1\tproject file", ConfigLine(r.out, "General.IfThenSplit"));
    EXPECT_NE(std::string::npos, r.err.find("warning: ")) << r.err;
    EXPECT_NE(std::string::npos, r.err.find("BackupInformation.BackupNewCodeDirectory")) << r.err;
    EXPECT_NE(std::string::npos, r.err.find("Nonsense.Key")) << r.err;
}

TEST(CheckCommand, ExitStatusSaysWhetherAnythingWouldChangeAndWritesNothing) {
    ScratchRepo repo;
    repo.Write("Messy.bas", kMessy);
    repo.Write("Tidy.bas", kTidy);
    CliResult r = repo.Run("check Messy.bas Tidy.bas");
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("Messy.bas: 2 lines would change\n1 of 2 files would change\n", r.out);
    EXPECT_EQ(kMessy, repo.Read("Messy.bas"));

    EXPECT_EQ(0, repo.Run("check Tidy.bas").status);
    EXPECT_EQ(0, repo.Run("format -i Messy.bas").status);
    EXPECT_EQ(0, repo.Run("check Messy.bas Tidy.bas").status);
    EXPECT_EQ(2, repo.Run("check Missing.bas Tidy.bas").status);
}

TEST(CheckCommand, ProjectSettingsFileDecidesWhatChecksClean) {
    ScratchRepo repo;
    repo.Write("Tidy.bas", kTidy);
    repo.Write("kemptor.ini", "[General]\nIfThenSplit=1\n");
    EXPECT_EQ(1, repo.Run("check Tidy.bas").status);
    EXPECT_EQ(0, repo.Run("check --no-config Tidy.bas").status);
}

TEST(CheckCommand, GithubFormatAnnotatesTheFirstLineOfEachBlockRelativeToTheWorkingDirectory) {
    ScratchRepo repo;
    repo.Write("src/Messy.bas", kMessy);
    const CliResult r = repo.Run("check --format github src/Messy.bas");
    EXPECT_EQ(1, r.status);
    const std::regex annotation(R"(::warning file=([^,]+),line=(\d+),endLine=\d+,title=[^:]+::.+)");
    std::smatch m;
    const std::string firstLine = r.out.substr(0, r.out.find('\n'));
    ASSERT_TRUE(std::regex_match(firstLine, m, annotation)) << r.out;
    EXPECT_EQ("src/Messy.bas", m[1].str());
    EXPECT_EQ("3", m[2].str());                                          // "x = 1" is the first line to move
    EXPECT_EQ(1, std::count(r.out.begin(), r.out.end(), '\n')) << r.out; // one block
}

TEST(CheckCommand, JsonAndDiffFormats) {
    ScratchRepo repo;
    repo.Write("Messy.bas", kMessy);
    repo.Write("Tidy.bas", kTidy);
    CliResult r = repo.Run("check --format json Messy.bas Tidy.bas");
    EXPECT_EQ(1, r.status);
    EXPECT_NE(std::string::npos,
              r.out.find("{\"file\": \"Messy.bas\", \"status\": \"changed\", \"changedLines\": 2, "
                         "\"blocks\": [{\"startLine\": 3, \"endLine\": 4, \"deleted\": 2, "
                         "\"inserted\": 2}]}"))
        << r.out;
    r = repo.Run("check --diff Messy.bas");
    EXPECT_NE(std::string::npos, r.out.find("--- Messy.bas\n+++ Messy.bas\n@@ -1,5 +1,5 @@\n")) << r.out;
    EXPECT_NE(std::string::npos, r.out.find("-x = 1\r\n-If x Then y = 2\r\n+    x = 1\r\n")) << r.out;
}

TEST(CheckCommand, AProjectIsCheckedAsProcessWouldFormatItsSelectedFiles) {
    ScratchRepo repo;
    repo.Write("P.vbp", "Module=Messy; Messy.bas\r\nModule=Tidy; Tidy.bas\r\n");
    repo.Write("Messy.bas", kMessy);
    repo.Write("Tidy.bas", kTidy);
    EXPECT_EQ(1, repo.Run("check P.vbp").status);
    EXPECT_EQ(0, repo.Run("check --only tidy.bas P.vbp").status);
    EXPECT_EQ(2, repo.Run("check --only Nothing.bas P.vbp").status);
}

TEST(FormatFromStandardInput, TheOutputKeepsTheLineEndsOfTheInput) {
    ScratchRepo repo;
    const auto withoutCr = [](std::string text) {
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        return text;
    };
    const std::string crlf = repo.Write("crlf.txt", kMessy);
    const std::string lfFile = repo.Write("lf.txt", withoutCr(kMessy));
    for (const std::string& input : {crlf, lfFile}) {
        const CliResult r = repo.RunWithInput("format -", input);
        EXPECT_EQ(0, r.status) << r.err;
        EXPECT_EQ(input == crlf ? kTidy : withoutCr(kTidy), r.out);
    }
    EXPECT_EQ(2, repo.Run("format -i -").status);
}

TEST(FormatFromStandardInput, TheStdinFilenameChoosesTheSettingsFileAndTheKind) {
    ScratchRepo repo;
    repo.Write("sub/kemptor.ini", "[Indents]\nDefaultLineIndent=2\n");
    const std::string input = repo.Write("in.txt", kMessy);
    CliResult r = repo.RunWithInput("format --stdin-filename sub/A.bas -", input);
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("\r\n  x = 1\r\n")) << r.out;

    // Sub headers "in form level code" only: the name's extension decides whether one is added.
    const std::string sub = repo.Write("s.txt", "Sub A()\r\nEnd Sub\r\n");
    const std::string formOnly =
        "--set General.OptionExplicitInsert=0 --set SubComments.SubLevelCommentsPerform=1 "
        "--set SubComments.GrpSubLevelComments=0 ";
    const CliResult asForm = repo.RunWithInput("format " + formOnly + "--stdin-filename F.frm -", sub);
    const CliResult asModule = repo.RunWithInput("format " + formOnly + "--stdin-filename M.bas -", sub);
    EXPECT_NE(std::string::npos, asForm.out.find("'")) << asForm.out;
    EXPECT_EQ(std::string::npos, asModule.out.find("'")) << asModule.out;
}

} // namespace
} // namespace kemptor::test
