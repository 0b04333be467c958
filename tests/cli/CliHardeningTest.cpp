// kemptor-cli run against read-only files, mistyped settings files, failing copies and deep nesting, on
// every system.
#include "cli/CliHardening.h"
#include "support/System.h"

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

void MakeReadOnly(const std::string& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

bool OwnerMayWrite(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
}

// --- In-place formatting ----------------------------------------------------------------------------

TEST_F(CliHardening, InPlaceLeavesReadOnlyFilesAloneUnlessForced) {
    dir.Write("ro.bas", kUnformatted);
    MakeReadOnly(Path("ro.bas"));
    test::CliResult r = Run("format -i ro.bas");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "ro.bas: error: no write permission; it is not rewritten (--force does)\n");
    EXPECT_EQ(dir.Read("ro.bas"), kUnformatted);

    r = Run("format -i --force ro.bas");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(dir.Read("ro.bas"), HasSubstr("    x=1\r\n"));
    EXPECT_FALSE(OwnerMayWrite(Path("ro.bas")));
}

// --- Failure exits ----------------------------------------------------------------------------------

TEST_F(CliHardening, AMistypedSettingsFileIsAnErrorTheUsersOwnMissingIsNot) {
    dir.Write("a.bas", kUnformatted);
    fs::create_directory(Path("adir"));
    test::CliResult r = Run("format --ini nosuch.ini a.bas");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "error: the settings file nosuch.ini does not exist.\n");
    EXPECT_EQ(r.out, "");
    r = Run("format --ini adir a.bas");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "error: the settings file adir is not a regular file.\n");
    EXPECT_EQ(Run("format a.bas").status, 0); // no VBKEMPT3.INI in the settings directory
    // A bare name is the working directory's file.
    dir.Write("my.ini", "[General]\r\nMultiVarSplit=1\r\n");
    dir.Write("d.bas", "Sub A()\r\nDim a, b\r\nEnd Sub\r\n");
    r = Run("format --ini my.ini d.bas");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("    Dim b"));
}

TEST_F(CliHardening, AProjectNamingMissingFilesExitsWithTwo) {
    dir.Write("P.VBP", "Type=Exe\r\nModule=A; a.bas\r\nModule=Gone; gone.bas\r\n");
    dir.Write("a.bas", kUnformatted);
    const test::CliResult r = Run("process --output out P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.out, HasSubstr("Files formatted: 1\nFiles changed: 1\nFiles skipped: 1\n"));
    EXPECT_THAT(r.err, HasSubstr("warning: gone.bas is not an ASCII file."));
    EXPECT_THAT(r.err, HasSubstr("information: Conversion Completed.\n"));
}

TEST_F(CliHardening, AFailedCopyIsNamedCountedAndExitsWithTwo) {
    dir.Write("P.VBP", "Type=Exe\r\nForm=f.frm\r\n");
    dir.Write("f.frm", "VERSION 5.00\r\nBegin VB.Form f\r\nEnd\r\nSub A()\r\nx=1\r\nEnd Sub\r\n");
    dir.Write("f.frx", "frx");
    fs::create_directories(Path("out/f.frx/inside"));
    const test::CliResult r = Run("process --output out P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.out, HasSubstr("Files failed: 1\n"));
    EXPECT_THAT(r.err,
                HasSubstr("warning: Unable to copy f.frx to " + test::Native(Path("out/f.frx")) + ".\n"));
    EXPECT_THAT(r.err, HasSubstr("information: Conversion Completed.  1 file was skipped or failed.\n"));
}

TEST_F(CliHardening, TsvFieldsEscapeTabsLineEndsAndBackslashes) {
    dir.Write("l.txt", "a\tb\\c\rd\r\n");
    dir.Write("r.txt", "a\tb\\c\r\n");
    const test::CliResult r = Run("compare l.txt r.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    // "a<TAB>b\c", then a lone CR ends the line: two left lines.
    EXPECT_EQ(r.out, "same\ta\\tb\\\\c\ta\\tb\\\\c\ndeleted\td\t\n");
}

// --- Resource limits --------------------------------------------------------------------------------

TEST_F(CliHardening, DeepNestingIsIndentedUpToAColumnLimit) {
    // 100,000 unclosed blocks: with indentation growing with the depth the output would need gigabytes.
    std::string text = "Sub Deep()\r\n";
    for (int i = 0; i < 100000; ++i)
        text += "If a Then\r\n";
    text += "x = 1\r\n";
    dir.Write("deep.bas", text);
    const test::CliResult r = Run("format deep.bas", "ulimit -v 2000000;");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("\r\n" + std::string(255, ' ') + "x = 1\r\n"));
    EXPECT_LT(r.out.size(), 100000u * 270u);
}

} // namespace
} // namespace kemptor
