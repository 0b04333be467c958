// The output file a command is told to create: only a new name or a regular file is written, never a
// FIFO, a device node, the command's input or a file a link leads to in another directory. Every special
// file and link is made in a scratch directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "platform/OutputFile.h"
#include "support/TempDir.h"

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

TEST(OutputFile, WritesANewNameOrReplacesARegularFileKeepingItsModeAndLinks) {
    TempDir dir;
    EXPECT_EQ(WriteOutputFile(dir.Path() + "new.pdf", "", "one"), OutputFileOutcome::Written);
    EXPECT_EQ(dir.Read("new.pdf"), "one");

    const std::string old = dir.Write("old.pdf", "old");
    ::chmod(old.c_str(), 0640);
    fs::create_hard_link(old, dir.Path() + "other-name.pdf");
    EXPECT_EQ(WriteOutputFile(old, "", "two"), OutputFileOutcome::Written);
    EXPECT_EQ(dir.Read("old.pdf"), "two");
    EXPECT_EQ(dir.Read("other-name.pdf"), "two");
    EXPECT_EQ(fs::status(old).permissions() & fs::perms::all, fs::perms(0640));

    // A link to a file in its own directory writes that file and stays a link.
    fs::create_symlink("old.pdf", dir.Path() + "latest.pdf");
    EXPECT_EQ(WriteOutputFile(dir.Path() + "latest.pdf", "", "three"), OutputFileOutcome::Written);
    EXPECT_TRUE(fs::is_symlink(dir.Path() + "latest.pdf"));
    EXPECT_EQ(dir.Read("old.pdf"), "three");

    // Only temporaries of the write would be extra: none is left.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 4);
}

TEST(OutputFile, RefusesSpecialFilesAndDirectoriesLeavingThemAsTheyWere) {
    TempDir dir;
    const std::string fifo = dir.Path() + "pipe.pdf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_EQ(WriteOutputFile(fifo, "", "pdf"), OutputFileOutcome::NotRegular);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(OutputFileOutcomeText(fifo, OutputFileOutcome::NotRegular),
              fifo + " is not a regular file; nothing was written.");

    fs::create_directory(dir.Path() + "folder.pdf");
    EXPECT_EQ(WriteOutputFile(dir.Path() + "folder.pdf", "", "pdf"), OutputFileOutcome::NotRegular);
    EXPECT_TRUE(fs::is_directory(dir.Path() + "folder.pdf"));

    // A link in the directory to a FIFO beside it is followed, and the FIFO refused.
    fs::create_symlink("pipe.pdf", dir.Path() + "to-pipe.pdf");
    EXPECT_EQ(WriteOutputFile(dir.Path() + "to-pipe.pdf", "", "pdf"), OutputFileOutcome::NotRegular);

    const std::string device = dir.Path() + "zero";
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 5)) != 0)
        GTEST_SKIP() << "no device nodes here";
    EXPECT_EQ(WriteOutputFile(device, "", "pdf"), OutputFileOutcome::NotRegular);
    EXPECT_TRUE(fs::is_character_file(device));
}

TEST(OutputFile, RefusesTheInputUnderAnyOfItsNames) {
    TempDir dir;
    const std::string input = dir.Write("MAIN.BAS", "x = 1\r\n");
    fs::create_hard_link(input, dir.Path() + "hard.bas");
    fs::create_symlink("MAIN.BAS", dir.Path() + "soft.bas");
    for (const std::string name : {"MAIN.BAS", "hard.bas", "soft.bas", "./MAIN.BAS"})
        EXPECT_EQ(WriteOutputFile(dir.Path() + name, input, "pdf"), OutputFileOutcome::IsInput) << name;
    EXPECT_EQ(WriteOutputFile(input, dir.Path() + "soft.bas", "pdf"), OutputFileOutcome::IsInput);
    EXPECT_EQ(dir.Read("MAIN.BAS"), "x = 1\r\n");
}

TEST(OutputFile, FollowsNoLinkOutOfItsDirectory) {
    TempDir dir;
    const std::string outside = dir.Write("elsewhere/precious.txt", "keep");
    fs::create_directory(dir.Path() + "out");
    fs::create_symlink(outside, dir.Path() + "out/report.pdf");
    fs::create_symlink("../elsewhere/precious.txt", dir.Path() + "out/relative.pdf");
    fs::create_symlink(dir.Path() + "out/nowhere", dir.Path() + "out/dangling.pdf");
    for (const std::string name : {"report.pdf", "relative.pdf", "dangling.pdf"}) {
        EXPECT_EQ(WriteOutputFile(dir.Path() + "out/" + name, "", "pdf"), OutputFileOutcome::LinkLeaves) << name;
        EXPECT_TRUE(fs::is_symlink(dir.Path() + "out/" + name));
    }
    EXPECT_EQ(dir.Read("elsewhere/precious.txt"), "keep");
    EXPECT_FALSE(fs::exists(dir.Path() + "out/nowhere"));

    // A directory link on the way is the user's own choice of directory, not a link of the target.
    fs::create_directory_symlink(dir.Path() + "elsewhere", dir.Path() + "via");
    EXPECT_EQ(WriteOutputFile(dir.Path() + "via/new.pdf", "", "pdf"), OutputFileOutcome::Written);
    EXPECT_EQ(dir.Read("elsewhere/new.pdf"), "pdf");
}

TEST(OutputFile, LeavesAFileWithoutWritePermissionAlone) {
    // Refused by the file's mode, for the superuser as well.
    TempDir dir;
    const std::string locked = dir.Write("locked.pdf", "old");
    ::chmod(locked.c_str(), 0444);
    EXPECT_EQ(WriteOutputFile(locked, "", "pdf"), OutputFileOutcome::ReadOnly);
    EXPECT_EQ(dir.Read("locked.pdf"), "old");
}

} // namespace
} // namespace kemptor
