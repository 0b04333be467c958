// The POSIX side of the hostile-repository tests: links that lead out of a repository, settings files
// that another user could have planted, drive letters on a system without drives, and line breaks
// inside --set values (which a Windows command line cannot pass).
#include "cli/CliHardening.h"

#include <sys/stat.h>
#include <unistd.h>

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kIndentTwo = "[Indents]\r\nDefaultLineIndent=2\r\n";

TEST_F(CliHardening, ALinkOutOfTheRepositoryIsNeverShown) {
    dir.Write("secret.bas", "Sub Secret()\r\nhunter2=1\r\nEnd Sub\r\n");
    dir.Write("repo/.git/HEAD", "ref: refs/heads/main\n");
    fs::create_symlink(Path("secret.bas"), Path("repo/a.bas"));
    for (const char* command : {"format --diff a.bas", "format a.bas", "check --diff a.bas"}) {
        SCOPED_TRACE(command);
        const CliResult r = test::RunCliIn(dir, Path("repo"), command);
        EXPECT_EQ(r.status, 2);
        EXPECT_THAT(r.out + r.err, Not(HasSubstr("hunter2")));
        EXPECT_THAT(r.err, HasSubstr("warning: a.bas lies outside " + Path("repo") + "; it is skipped\n"));
    }
}

TEST_F(CliHardening, SettingsFileSearchStopsAtTheHomeDirectoryOutsideARepository) {
    dir.Write("kemptor.ini", kIndentTwo);
    dir.Write("home/user/proj/a.bas", kUnformatted);
    // Above the home directory, and above a file outside it, no settings file counts.
    dir.Write("home/kemptor.ini", kIndentTwo);
    CliResult r = Run("format home/user/proj/a.bas", "HOME='" + Path("home/user") + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("\r\n    x=1\r\n"));
    r = Run("format home/user/proj/a.bas", "HOME=/nonexistent");
    EXPECT_THAT(r.out, HasSubstr("\r\n    x=1\r\n"));
    // In the home directory it counts.
    dir.Write("home/user/kemptor.ini", kIndentTwo);
    r = Run("format home/user/proj/a.bas", "HOME='" + Path("home/user") + "'");
    EXPECT_THAT(r.out, HasSubstr("\r\n  x=1\r\n"));
}

TEST_F(CliHardening, ASettingsFileOthersCouldWriteIsIgnored) {
    dir.Write("kemptor.ini", kIndentTwo);
    dir.Write("a.bas", kUnformatted);
    ASSERT_EQ(::chmod(Path("kemptor.ini").c_str(), 0666), 0);
    CliResult r = Run("format a.bas");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("\r\n    x=1\r\n"));
    EXPECT_EQ(r.err, "warning: " + Path("kemptor.ini") +
                         " is owned by another user or writable by others; it is ignored\n");
    if (::geteuid() == 0) { // only the superuser can give a file away
        ASSERT_EQ(::chmod(Path("kemptor.ini").c_str(), 0644), 0);
        ASSERT_EQ(::chown(Path("kemptor.ini").c_str(), 65534, 65534), 0);
        r = Run("format a.bas");
        EXPECT_THAT(r.out, HasSubstr("\r\n    x=1\r\n"));
        EXPECT_THAT(r.err, HasSubstr("is owned by another user"));
    }
}

TEST_F(CliHardening, ADriveLetterIsNoOutputDirectory) {
    dir.Write("P.VBP", "Type=Exe\r\nModule=A; a.bas\r\n");
    dir.Write("a.bas", kUnformatted);
    for (const char* output : {"'C:\\'", "'c:/'", "'C:\\..\\..\\'"}) {
        SCOPED_TRACE(output);
        const CliResult r = Run(std::string("process --output ") + output + " P.VBP");
        EXPECT_EQ(r.status, 2);
        EXPECT_THAT(r.err, HasSubstr("names a network share or a drive"));
    }
    const CliResult r = Run("process --set 'BackupInformation.BackupNewCodeDirectory=C:\\' P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("cannot be used on this system"));
}

TEST_F(CliHardening, ALineBreakInASettingNeverBecomesCode) {
    dir.Write("a.bas", "Sub A()\r\nEnd Sub\r\n");
    const CliResult r = Run("format --set SubComments.SubLevelCommentsPerform=1 --set \"$(printf "
                            "'UserInformation.UserName=Bob\\r\\nKill \"C:\\\\*.*\"')\" a.bas");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "error: setting \"UserName\" cannot hold a line break\n");
    EXPECT_EQ(r.out, "");
}

TEST_F(CliHardening, ANameWithALineBreakCannotForgeALine) {
    dir.Write("a\nb.bas", kUnformatted);
    CliResult r = Run("format --check \"$(printf 'a\\nb.bas')\"");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "a\\nb.bas\n");
    r = Run("check \"$(printf 'a\\nb.bas')\"");
    EXPECT_THAT(r.out, ::testing::StartsWith("a\\nb.bas: "));
    EXPECT_THAT(r.out, Not(HasSubstr("\nb.bas")));
}

TEST_F(CliHardening, FormattedCopiesKeepTheModeOfTheirSource) {
    dir.Write("P.VBP", "Type=Exe\r\nModule=A; a.bas\r\n");
    dir.Write("a.bas", kUnformatted);
    ASSERT_EQ(::chmod(Path("a.bas").c_str(), 0600), 0);
    const CliResult r = Run("process --set BackupInformation.BackupOnlyNewFiles=1 --output out P.VBP");
    EXPECT_EQ(r.status, 0) << r.err;
    struct stat st {};
    ASSERT_EQ(::stat(Path("out/a.bas").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

} // namespace
} // namespace kemptor
