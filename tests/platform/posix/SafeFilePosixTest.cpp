// Special files, long names, modes, owners and links at the file-system boundary of POSIX systems.
// Every FIFO, device node and link is made in a scratch directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/Host.h"
#include "platform/SafeFile.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "project/ProjectReader.h"
#include "support/TempDir.h"

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// A character device like the system's zero device, made in the scratch directory; false when this
// system does not allow it (no privilege).
bool MakeZeroDevice(const std::string& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, ::makedev(1, 5)) == 0;
}

TEST(SpecialFiles, AreRefusedWithoutBlockingOrReadingForever) {
    TempDir dir;
    const std::string fifo = dir.Path() + "pipe.bas";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    // None of these may wait for a writer: the test would hang.
    EXPECT_EQ(ReadTextLines(fifo), std::nullopt);
    EXPECT_EQ(ReadFileBytes(fifo), std::nullopt);
    EXPECT_EQ(CountTextLines(fifo), -1);
    EXPECT_FALSE(IsTextFile(fifo));
    EXPECT_EQ(CheckTextFile(fifo), FileProblem::NotRegular);
    EXPECT_EQ(FileProblemText(fifo, FileProblem::NotRegular), fifo + " is not a regular file.");
    EXPECT_LT(OpenRegularFileHost(fifo), 0);

    const std::string device = dir.Path() + "zero";
    if (!MakeZeroDevice(device))
        GTEST_SKIP() << "no device nodes here";
    // A source that is a link to an endless device would otherwise be read until memory runs out.
    fs::create_symlink(device, dir.Path() + "endless.bas");
    EXPECT_EQ(CountTextLines(dir.Path() + "endless.bas"), -1);
    EXPECT_EQ(ReadTextLines(dir.Path() + "endless.bas"), std::nullopt);
    EXPECT_FALSE(IsTextFile(dir.Path() + "endless.bas"));
    EXPECT_EQ(CheckTextFile(dir.Path() + "endless.bas"), FileProblem::NotRegular);
}

TEST(AtomicWrites, UseShortTemporariesAndLeaveNoneBehind) {
    TempDir dir;
    // The longest name a directory entry may have: its temporary must still fit.
    const std::string name(255, 'n');
    ASSERT_TRUE(WriteTextLinesAtomic(dir.Path() + name, {"x"}));
    EXPECT_EQ(ReadFileBytes(dir.Path() + name), "x\r\n");
    ASSERT_TRUE(CopyFilePlain(dir.Path() + name, dir.Path() + std::string(254, 'c') + "."));
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
        EXPECT_FALSE(IsTemporaryName(entry.path().filename().string()));
        ++entries;
    }
    EXPECT_EQ(entries, 2);
}

int OpenDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// A replaced file is let go of later, on a thread of its own: every one is let go (also when more wait
// than are held), none is written, and a FIFO or a link in the target's place is replaced unopened.
TEST(AtomicWrites, LetGoOfEveryReplacedFileWithoutTouchingIt) {
    if (!fs::exists("/proc/self/fd"))
        GTEST_SKIP() << "no list of open descriptors here";
    TempDir dir;
    const std::string target = dir.Write("out.bas", "first");
    const std::string witness = dir.Path() + "witness.bas";
    fs::create_hard_link(target, witness);
    host::ReleaseReplacedFiles();
    const int before = OpenDescriptors();
    for (int i = 0; i < 600; ++i)
        ASSERT_TRUE(WriteFileAtomic(target, std::to_string(i)));
    host::ReleaseReplacedFiles();
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_EQ(ReadFileBytes(target), "599");
    EXPECT_EQ(ReadFileBytes(witness), "first") << "the replaced file keeps its other name and its text";

    const std::string fifo = dir.Path() + "fifo.bas";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(witness, dir.Path() + "link.bas");
    ASSERT_TRUE(WriteFileAtomic(fifo, "no longer a FIFO"));
    ASSERT_TRUE(WriteFileAtomic(dir.Path() + "link.bas", "no longer a link"));
    host::ReleaseReplacedFiles();
    EXPECT_EQ(ReadFileBytes(fifo), "no longer a FIFO");
    EXPECT_EQ(ReadFileBytes(witness), "first");
    EXPECT_EQ(OpenDescriptors(), before);
}

class Replace : public ::testing::Test {
protected:
    std::string Make(const std::string& name, mode_t mode) {
        const std::string path = dir.Write(name, "old text\r\n");
        ::chmod(path.c_str(), mode);
        return path;
    }
    static struct stat Stat(const std::string& path) {
        struct stat st {};
        ::lstat(path.c_str(), &st);
        return st;
    }
    TempDir dir;
};

TEST_F(Replace, WritesThroughALinkAndKeepsModeOwnerAndHardLinks) {
    const std::string file = Make("t.bas", 0640);
    const std::string link = dir.Path() + "link.bas";
    const std::string other = dir.Path() + "other.bas";
    fs::create_symlink("t.bas", link);
    fs::create_hard_link(file, other);
    const struct stat before = Stat(file);

    ASSERT_EQ(ReplaceFileContents(link, "new text\r\n", false), ReplaceOutcome::Replaced);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(*ReadFileBytes(file), "new text\r\n");
    EXPECT_EQ(*ReadFileBytes(other), "new text\r\n"); // still one file under two names
    const struct stat after = Stat(file);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);

    // A single-named file is replaced by rename and keeps its mode too.
    fs::remove(other);
    ASSERT_EQ(ReplaceFileContents(file, "short\r\n", false), ReplaceOutcome::Replaced);
    EXPECT_EQ(*ReadFileBytes(file), "short\r\n");
    EXPECT_EQ(Stat(file).st_mode & 07777, 0640u);
}

TEST_F(Replace, KeepsAnotherUsersOwnership) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs the superuser to give a file away";
    const std::string file = Make("theirs.bas", 0644);
    ASSERT_EQ(::chown(file.c_str(), 12345, 12345), 0);
    ASSERT_EQ(ReplaceFileContents(file, "new\r\n", false), ReplaceOutcome::Replaced);
    EXPECT_EQ(Stat(file).st_uid, 12345u);
    EXPECT_EQ(Stat(file).st_gid, 12345u);
}

TEST_F(Replace, RefusesReadOnlyFilesUnlessForcedAndSpecialFilesAlways) {
    const std::string file = Make("ro.bas", 0444);
    EXPECT_EQ(ReplaceFileContents(file, "new\r\n", false), ReplaceOutcome::ReadOnly);
    EXPECT_EQ(*ReadFileBytes(file), "old text\r\n");
    EXPECT_EQ(ReplaceFileContents(file, "new\r\n", true), ReplaceOutcome::Replaced);
    EXPECT_EQ(*ReadFileBytes(file), "new\r\n");
    EXPECT_EQ(Stat(file).st_mode & 07777, 0444u);

    const std::string fifo = dir.Path() + "pipe.bas";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_EQ(ReplaceFileContents(fifo, "new\r\n", true), ReplaceOutcome::NotRegular);
    EXPECT_EQ(Stat(fifo).st_mode & S_IFMT, static_cast<mode_t>(S_IFIFO));
    const std::string device = dir.Path() + "zero";
    if (MakeZeroDevice(device)) {
        EXPECT_EQ(ReplaceFileContents(device, "new\r\n", true), ReplaceOutcome::NotRegular);
        EXPECT_EQ(Stat(device).st_mode & S_IFMT, static_cast<mode_t>(S_IFCHR));
    }
}

} // namespace
} // namespace kemptor

namespace kemptor {
namespace {

// Keys made with each directory resolved once are the keys resolved whole: for a file, a name not yet
// there, a link to a file and a link on the way (followed), "." and "..", a relative name.
TEST(ComparisonKeys, GiveTheKeysOfComparisonKeyWithEachDirectoryResolvedOnce) {
    test::TempDir dir;
    const std::string root = dir.Path();
    std::filesystem::create_directories(root + "real/sub");
    dir.Write("real/a.bas", "x");
    ASSERT_EQ(0, ::symlink((root + "real/a.bas").c_str(), (root + "real/link.bas").c_str()));
    ASSERT_EQ(0, ::symlink((root + "real").c_str(), (root + "via").c_str()));
    host::ComparisonKeys keys;
    for (const std::string& path : {root + "real/a.bas", root + "real/new.bas", root + "real/link.bas",
                                    root + "via/a.bas", root + "via/missing/x.bas", root + "real/sub/..",
                                    root + "real/.", root + "real/sub/../a.bas", root + "real/"})
        EXPECT_EQ(host::ComparisonKey(path), keys.Of(path)) << path;
    EXPECT_EQ(keys.Of(root + "via/a.bas"), keys.Of(root + "real/a.bas"));
    EXPECT_EQ(keys.Of(root + "real/link.bas"), keys.Of(root + "real/a.bas"));
    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(root + "real");
    EXPECT_EQ(keys.Of("a.bas"), keys.Of(root + "real/a.bas"));
    std::filesystem::current_path(cwd);
}

} // namespace
} // namespace kemptor
