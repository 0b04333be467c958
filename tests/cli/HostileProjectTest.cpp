// kemptor-cli given what a cloned repository may hold against the machine that checks it: project files
// that name files outside it or files that are no source, settings files that name templates, and
// projects that are not whole. Nothing outside the repository may reach the output.
#include "cli/CliHardening.h"

namespace kemptor {
namespace {

using test::CliResult;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kSecret = "password=hunter2\r\n";

// --- Only source files are formatted ----------------------------------------------------------------

TEST_F(CliHardening, FormatRefusesProjectFilesAndOtherNonSource) {
    const std::string project = "Type=Exe\r\nModule=A; a.bas\r\n";
    dir.Write("P.vbp", project);
    dir.Write("kemptor.ini", "[Indents]\r\nDefaultLineIndent=2\r\n");
    CliResult r = Run("format -i P.vbp kemptor.ini");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("error: P.vbp is a project file; `kemptor-cli process` formats a project's "
                                 "files and `kemptor-cli check` checks them\n"));
    EXPECT_THAT(r.err, HasSubstr("error: kemptor.ini is not a Visual Basic source file"));
    EXPECT_EQ(dir.Read("P.vbp"), project);
    EXPECT_EQ(dir.Read("kemptor.ini"), "[Indents]\r\nDefaultLineIndent=2\r\n");

    // Any letter case of a source extension is source; --kind names the kind of anything else.
    dir.Write("UPPER.BAS", kUnformatted);
    dir.Write("code.txt", kUnformatted);
    EXPECT_EQ(Run("format -i UPPER.BAS").status, 0);
    EXPECT_EQ(Run("format --kind module code.txt").status, 0);
    EXPECT_EQ(Run("format code.txt").status, 2);
}

TEST_F(CliHardening, CheckTakesEveryProjectFileNamedAsAProject) {
    dir.Write("P.VBP", "Type=Exe\r\nModule=A; a.bas\r\n");
    dir.Write("a.bas", kUnformatted);
    dir.Write("b.bas", "Sub B()\r\nEnd Sub\r\n");
    const CliResult r = Run("check --format json P.VBP b.bas");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_THAT(r.out, HasSubstr("{\"file\": \"a.bas\""));
    EXPECT_THAT(r.out, HasSubstr("{\"file\": \"b.bas\""));
    EXPECT_THAT(r.out, Not(HasSubstr("P.VBP")));
}

// --- Files outside the project ----------------------------------------------------------------------

TEST_F(CliHardening, CheckNeverShowsFilesOutsideTheProjectOrNoSource) {
    dir.Write("secret/.env", kSecret);
    dir.Write("secret/creds.bas", kSecret);
    dir.Write("proj/P.VBP", "Type=Exe\r\nModule=A; a.bas\r\nModule=E; ..\\secret\\.env\r\n"
                            "Module=C; ..\\secret\\creds.bas\r\nModule=K; keys.txt\r\n");
    dir.Write("proj/a.bas", kUnformatted);
    dir.Write("proj/keys.txt", kSecret);
    const CliResult r = Run("check --diff proj/P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.out, HasSubstr("+    x=1"));
    EXPECT_THAT(r.out + r.err, Not(HasSubstr("hunter2")));
    EXPECT_THAT(r.err, HasSubstr(".env is not a Visual Basic source file; it is skipped\n"));
    EXPECT_THAT(r.err, HasSubstr("keys.txt is not a Visual Basic source file; it is skipped\n"));
    EXPECT_THAT(r.err, HasSubstr("creds.bas lies outside "));

    // Within a repository, the whole repository is the project's ground.
    dir.Write(".git/HEAD", "ref: refs/heads/main\n");
    const CliResult inRepo = Run("check --format json proj/P.VBP");
    EXPECT_THAT(inRepo.err, Not(HasSubstr("creds.bas lies outside")));
    EXPECT_THAT(inRepo.out, HasSubstr("creds.bas"));
}

TEST_F(CliHardening, ProcessFormatsNoFileThatIsNoSource) {
    dir.Write("P.VBP", "Type=Exe\r\nModule=A; a.bas\r\nModule=E; .env\r\n");
    dir.Write("a.bas", kUnformatted);
    dir.Write(".env", "x=1\r\n");
    const CliResult r = Run("process --output out P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr(".env is not a Visual Basic source file.  .env is left unformatted."));
    EXPECT_THAT(dir.Read("out/a.bas"), HasSubstr("    x=1"));
    EXPECT_EQ(dir.Read(".env"), "x=1\r\n");
}

// --- An incomplete project --------------------------------------------------------------------------

TEST_F(CliHardening, CheckOfAProjectNamingMissingFilesExitsWithTwo) {
    dir.Write("P.VBP", "Type=Exe\r\nModule=A; a.bas\r\nModule=Gone; gone.bas\r\n");
    dir.Write("a.bas", "Sub A()\r\nEnd Sub\r\n");
    const CliResult r = Run("check P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("gone.bas"));
}

// --- Header templates named by a settings file ------------------------------------------------------

TEST_F(CliHardening, TemplatesOfASettingsFileAreFoundBesideItAndMustLoad) {
    dir.Write("repo/.git/HEAD", "ref: refs/heads/main\n");
    dir.Write("repo/kemptor.ini", "[SubComments]\r\nSubLevelCommentsPerform=1\r\nGrpSubLevelComments=2\r\n"
                                  "SubLevelCommentsFile=tpl\\sub.txt\r\n");
    dir.Write("repo/tpl/sub.txt", "'## %n ##\r\n");
    dir.Write("repo/src/a.bas", "Sub Hello()\r\nEnd Sub\r\n");
    CliResult r = test::RunCliIn(dir, Path("repo/src"), "format a.bas");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("'## Hello ##"));

    dir.Write("repo/kemptor.ini",
              "[SubComments]\r\nSubLevelCommentsPerform=1\r\nSubLevelCommentsFile=none.txt\r\n");
    r = test::RunCliIn(dir, Path("repo/src"), "format a.bas");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("error: the header template "));
    EXPECT_THAT(r.err, HasSubstr("none.txt does not exist."));
    EXPECT_EQ(r.out, "");
}

// --- Bytes kept --------------------------------------------------------------------------------------

TEST_F(CliHardening, ControlCharactersBeforeACommentAreKept) {
    dir.Write("c.bas", "Sub A()\r\n\x01\x02' note\r\nx = 1 \x03' after\r\nEnd Sub\r\n");
    const CliResult r = Run("format -i c.bas");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string text = dir.Read("c.bas");
    EXPECT_THAT(text, HasSubstr("\x01\x02' note\r\n"));
    EXPECT_THAT(text, HasSubstr("x = 1 \x03"));
    EXPECT_EQ(Run("format --check c.bas").status, 0) << "one run reaches the result";
}

} // namespace
} // namespace kemptor
