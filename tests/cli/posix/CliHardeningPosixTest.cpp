// kemptor-cli run against FIFOs, device nodes, links, modes, the longest names and a memory limit: the
// POSIX side of the hardening tests. Every FIFO, device node and link is made in the scratch directory.
#include "cli/CliHardening.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::CliResult;
using ::testing::HasSubstr;

class CliHardeningPosix : public CliHardening {
protected:
    struct stat Stat(const std::string& name) const {
        struct stat st {};
        ::lstat(Path(name).c_str(), &st);
        return st;
    }
};

// --- Special files --------------------------------------------------------------------------------

TEST_F(CliHardeningPosix, FifosAreRefusedWhereverTheyAreNamed) {
    ASSERT_EQ(::mkfifo(Path("pipe.bas").c_str(), 0666), 0);
    dir.Write("P.VBP", "Type=Exe\r\nModule=Pipe; pipe.bas\r\nModule=A; a.bas\r\n");
    dir.Write("a.bas", kUnformatted);
    dir.Write("t.txt", "'' %n\r\n");

    CliResult r = Run("format -i pipe.bas");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "pipe.bas: error: pipe.bas is not a regular file.\n");
    EXPECT_EQ(Stat("pipe.bas").st_mode & S_IFMT, static_cast<mode_t>(S_IFIFO));

    r = Run("list pipe.bas");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("pipe.bas is not a regular file."));

    r = Run("list --ini pipe.bas P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "error: the settings file pipe.bas is not a regular file.\n");

    // Named by the project: left out with a warning, and the command says so by its status.
    r = Run("list P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.out, HasSubstr("a.bas"));
    EXPECT_THAT(r.err, HasSubstr("pipe.bas is not an ASCII file."));

    // As the settings directory's VB.INI: read as absent; as a template: refused without waiting.
    fs::create_directories(Path("config"));
    ASSERT_EQ(::mkfifo(Path("config/VB.INI").c_str(), 0666), 0);
    r = Run("format a.bas");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("End Sub\r\n"));
    r = Run("format --set FunctionComments.FunctionLevelCommentsPerform=1 --set "
            "FunctionComments.FunctionLevelCommentsFile=pipe.bas a.bas");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "error: the header template pipe.bas is not a regular file.\n");
}

TEST_F(CliHardeningPosix, ASourceLinkedToAnEndlessDeviceIsNotCountedForever) {
    if (::mknod(Path("zero").c_str(), S_IFCHR | 0666, ::makedev(1, 5)) != 0)
        GTEST_SKIP() << "no device nodes here";
    fs::create_symlink("zero", Path("z.bas"));
    dir.Write("P.VBP", "Type=Exe\r\nModule=Z; z.bas\r\nModule=A; a.bas\r\n");
    dir.Write("a.bas", kUnformatted);
    const CliResult r = Run("list P.VBP");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "module\ta.bas\ta.bas\t23\t3\n");
    EXPECT_EQ(Run("format -i --force z.bas").status, 2);
    EXPECT_EQ(Stat("zero").st_mode & S_IFMT, static_cast<mode_t>(S_IFCHR));
}

// --- In-place formatting ----------------------------------------------------------------------------

TEST_F(CliHardeningPosix, InPlaceWritesThroughLinksAndKeepsModeAndHardLinks) {
    dir.Write("t.bas", kUnformatted);
    ::chmod(Path("t.bas").c_str(), 0640);
    fs::create_symlink("t.bas", Path("link.bas"));
    fs::create_hard_link(Path("t.bas"), Path("hard.bas"));
    const ino_t inode = Stat("t.bas").st_ino;

    const CliResult r = Run("format -i link.bas");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(S_ISLNK(Stat("link.bas").st_mode));
    EXPECT_THAT(dir.Read("t.bas"), HasSubstr("    x=1\r\n"));
    EXPECT_EQ(dir.Read("hard.bas"), dir.Read("t.bas"));
    EXPECT_EQ(Stat("t.bas").st_ino, inode);
    EXPECT_EQ(Stat("t.bas").st_mode & 07777, 0640u);
}

TEST_F(CliHardeningPosix, InPlaceWritesNamesOfTheLongestLength) {
    const std::string name = std::string(251, 'm') + ".bas";
    dir.Write(name, kUnformatted);
    const CliResult r = Run("format -i " + name);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(dir.Read(name), HasSubstr("    x=1\r\n"));
}

// --- Failure exits ----------------------------------------------------------------------------------

TEST_F(CliHardeningPosix, AnOutputThatCannotBeWrittenExitsWithTwo) {
    // A device like the system's full device, made here: every write to it fails with "no space".
    if (::mknod(Path("full").c_str(), S_IFCHR | 0666, ::makedev(1, 7)) != 0)
        GTEST_SKIP() << "no device nodes here";
    std::string big;
    for (int i = 0; i < 2000; ++i)
        big += "Sub S" + std::to_string(i) + "()\r\nx=1\r\nEnd Sub\r\n";
    dir.Write("big.bas", big);
    dir.Write("P.VBP", "Type=Exe\r\nModule=B; big.bas\r\n");
    for (const std::string args :
         {"format big.bas", "format --diff big.bas", "compare big.bas P.VBP", "list P.VBP"}) {
        SCOPED_TRACE(args);
        const CliResult r = Run(args, "", Path("full"));
        EXPECT_EQ(r.status, 2);
        EXPECT_THAT(r.err, HasSubstr("error: cannot write"));
    }
}

TEST_F(CliHardeningPosix, TsvFieldsEscapeTabsInNames) {
    // A tab in a directory name: allowed on POSIX file systems, never on Windows.
    fs::create_directory(Path("we\tird"));
    dir.Write("we\tird/P.MAK", "m\\x.bas\r\n");
    dir.Write("we\tird/m/x.bas", kUnformatted);
    const CliResult l = Run("list 'we\tird/P.MAK'");
    EXPECT_EQ(l.status, 0) << l.err;
    EXPECT_EQ(l.out, "module\tx.bas\twe\\tird/m\\\\x.bas\t23\t3\n");
}

// --- Resource limits --------------------------------------------------------------------------------

TEST_F(CliHardeningPosix, AFileThatExhaustsMemoryIsSkippedAndTheRunGoesOn) {
    // A header template of 20,000 lines inserted before each of 2,000 functions: far more than the
    // memory the command is given.
    std::string tmpl;
    for (int i = 0; i < 20000; ++i)
        tmpl +=
            "' %n: a long and wordy header comment line of the template number " + std::to_string(i) + "\r\n";
    dir.Write("tmpl.txt", tmpl);
    std::string huge = "Attribute VB_Name = \"H\"\r\n";
    for (int i = 0; i < 2000; ++i)
        huge += "Function F" + std::to_string(i) + "() As Long\r\nF" + std::to_string(i) +
                " = 1\r\nEnd Function\r\n";
    dir.Write("huge.bas", huge);
    dir.Write("small.bas", kUnformatted);
    dir.Write("P.VBP", "Type=Exe\r\nModule=H; huge.bas\r\nModule=S; small.bas\r\n");
    const CliResult r = Run("process --output out --set FunctionComments.FunctionLevelCommentsPerform=1 "
                            "--set FunctionComments.FunctionLevelCommentsFile=tmpl.txt P.VBP",
                            "ulimit -v 400000;");
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_THAT(r.err,
                HasSubstr("warning: Not enough memory to format huge.bas.  huge.bas is left unformatted.\n"));
    EXPECT_THAT(dir.Read("out/small.bas"), HasSubstr("    x=1\r\n"));
    EXPECT_EQ(dir.Read("out/huge.bas"), huge); // its copy, as it was
}

} // namespace
} // namespace kemptor
