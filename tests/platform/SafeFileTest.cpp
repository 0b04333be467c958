// Size limits, stale temporaries and in-place replacement at the file-system boundary, on every system.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/SafeFile.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "project/ProjectReader.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace kemptor {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

bool OwnerMayWrite(const std::string& path) {
    return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
}

void MakeReadOnly(const std::string& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

TEST(SizeLimit, RefusesATextFileAboveTheLimit) {
    TempDir dir;
    // Sparse where the file system allows: takes no room on disk.
    const std::string big = dir.Write("big.bas", "' a source\r\n");
    fs::resize_file(big, static_cast<std::uintmax_t>(kMaxTextFileBytes + 1));
    EXPECT_EQ(CheckTextFile(big), FileProblem::TooLarge);
    EXPECT_EQ(FileProblemText(big, FileProblem::TooLarge), big + " is larger than 256 MB.");
    EXPECT_EQ(ReadFileBytes(big), std::nullopt);
    EXPECT_TRUE(IsTextFile(big)); // the text test looks at the first byte only
    EXPECT_EQ(CheckTextFile(dir.Path() + "none.bas"), FileProblem::Missing);
    EXPECT_EQ(CheckTextFile(dir.Path()), FileProblem::NotRegular);
}

TEST(StaleTemporaries, OfEndedProcessesAreRemovedOthersKept) {
    TempDir dir;
    const std::string stale = ".~kemptor." + std::to_string(test::EndedProcess()) + ".abc123";
    const std::string mine = ".~kemptor." + std::to_string(test::CurrentProcess()) + ".abc123";
    const std::string foreign = ".~other.1.abc123";
    for (const auto& name : {stale, mine, foreign})
        dir.Write(name, "partial");
    dir.Write("M.BAS", "kept");
    EXPECT_EQ(RemoveStaleTemporaries(dir.Path()), 1);
    EXPECT_FALSE(fs::exists(dir.Path() + stale));
    EXPECT_TRUE(fs::exists(dir.Path() + mine));
    EXPECT_TRUE(fs::exists(dir.Path() + foreign));
    // A directory listing never offers a temporary as one of the directory's files.
    EXPECT_EQ(ListDirectoryFiles(dir.Path()), (std::vector<std::string>{".~other.1.abc123", "M.BAS"}));
}

TEST(ReplaceContents, KeepsHardLinkedNamesOneFile) {
    TempDir dir;
    const std::string file = dir.Write("t.bas", "old text, longer than the new\r\n");
    const std::string other = dir.Path() + "other.bas";
    fs::create_hard_link(file, other);
    ASSERT_EQ(ReplaceFileContents(file, "new text\r\n", false), ReplaceOutcome::Replaced);
    EXPECT_EQ(*ReadFileBytes(file), "new text\r\n");
    EXPECT_EQ(*ReadFileBytes(other), "new text\r\n"); // still one file under two names

    // A single-named file is replaced through a temporary and no temporary stays.
    fs::remove(other);
    ASSERT_EQ(ReplaceFileContents(file, "short\r\n", false), ReplaceOutcome::Replaced);
    EXPECT_EQ(*ReadFileBytes(file), "short\r\n");
    EXPECT_EQ(ListDirectoryFiles(dir.Path()), std::vector<std::string>{"t.bas"});
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        EXPECT_FALSE(IsTemporaryName(entry.path().filename().string()));
}

TEST(ReplaceContents, RefusesReadOnlyFilesUnlessForcedAndKeepsThemReadOnly) {
    TempDir dir;
    const std::string file = dir.Write("ro.bas", "old text\r\n");
    MakeReadOnly(file);
    EXPECT_EQ(ReplaceFileContents(file, "new\r\n", false), ReplaceOutcome::ReadOnly);
    EXPECT_EQ(*ReadFileBytes(file), "old text\r\n");
    EXPECT_EQ(ReplaceFileContents(file, "new\r\n", true), ReplaceOutcome::Replaced);
    EXPECT_EQ(*ReadFileBytes(file), "new\r\n");
    EXPECT_FALSE(OwnerMayWrite(file));
    EXPECT_EQ(ReplaceFileContents(dir.Path() + "missing.bas", "new\r\n", true), ReplaceOutcome::Failed);
    EXPECT_EQ(ReplaceFileContents(dir.Path(), "new\r\n", true), ReplaceOutcome::NotRegular);
}

TEST(Copies, AreWritableByTheirOwnerWhateverTheSource) {
    TempDir dir;
    const std::string source = dir.Write("ro.bas", "text\r\n");
    MakeReadOnly(source);
    ASSERT_TRUE(CopyFilePlain(source, dir.Path() + "plain.bas"));
    ASSERT_TRUE(CopyFileKeepStamp(source, dir.Path() + "stamped.bas"));
    EXPECT_TRUE(OwnerMayWrite(dir.Path() + "plain.bas"));
    EXPECT_TRUE(OwnerMayWrite(dir.Path() + "stamped.bas"));
    EXPECT_EQ(fs::last_write_time(dir.Path() + "stamped.bas"), fs::last_write_time(source));
    EXPECT_EQ(*ReadFileBytes(dir.Path() + "plain.bas"), "text\r\n");
}

} // namespace
} // namespace kemptor
