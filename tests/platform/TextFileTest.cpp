#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

#include "support/TempDir.h"

namespace kemptor {
namespace {

using test::TempDir;

TEST(TextFile, SplitsAtEveryKindOfLineEndAndKeepsOtherBytes) {
    EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (TextLines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitTextLines("a\r\n"), (TextLines{"a"})) << "a final line end adds no empty line";
    EXPECT_EQ(SplitTextLines("\r\n\r\n"), (TextLines{"", ""}));
    EXPECT_EQ(SplitTextLines("\n\r"), (TextLines{"", ""})) << "LF then CR are two line ends";
    EXPECT_EQ(SplitTextLines(""), TextLines{});
    EXPECT_EQ(SplitTextLines(std::string_view("x\0y\xe9\tz", 6)), (TextLines{std::string("x\0y\xe9\tz", 6)}));
}

TEST(TextFile, CountAgreesWithReadAcrossBufferBoundaries) {
    TempDir dir;
    // A CR LF pair split by the 64 KiB read buffer must still count once.
    std::string text(65535, 'x');
    text += "\r\nsecond\rthird\n\nlast";
    std::string path = dir.Write("big.txt", text);
    auto lines = ReadTextLines(path);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 5u);
    EXPECT_EQ(CountTextLines(path), 5);
    dir.Write("empty.txt", "");
    EXPECT_EQ(CountTextLines(dir.Path() + "empty.txt"), 0);
}

TEST(TextFile, MissingFilesAndDirectoriesAreUnreadable) {
    TempDir dir;
    EXPECT_FALSE(ReadTextLines(dir.Path() + "missing.txt"));
    EXPECT_EQ(CountTextLines(dir.Path() + "missing.txt"), -1);
    EXPECT_FALSE(ReadTextLines(dir.Path()));
    EXPECT_EQ(CountTextLines(dir.Path()), -1);
}

TEST(TextFile, AtomicWriteUsesCrLfKeepsModeAndLeavesNoTemporaryFile) {
    TempDir dir;
    std::string path = dir.Write("out.bas", "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(WriteTextLinesAtomic(path, {"Option Explicit", "", "Sub A()"}));
    EXPECT_EQ(dir.Read("out.bas"), "Option Explicit\r\n\r\nSub A()\r\n");
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.Path()))
        entries += e.is_regular_file();
    EXPECT_EQ(entries, 1);
}

TEST(TextFile, AtomicWriteFailsCleanlyWhereItCannotWrite) {
    TempDir dir;
    EXPECT_FALSE(WriteTextLinesAtomic(dir.Path() + "no/such/dir/x.bas", {"a"}));
    EXPECT_FALSE(WriteFileAtomic(dir.Path(), "a")) << "a directory is not a file name";
    dir.Write("sub/keep.txt", "");
    EXPECT_FALSE(WriteFileAtomic(dir.Path() + "sub", "a")) << "an existing directory is not replaced";
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() + "sub"));
}

TEST(TextFile, WindowsPathsAreMappedOnReadAndWrite) {
    TempDir dir;
    dir.Write("Sub/Util.BAS", "a\r\nb\r\n");
    auto lines = ReadTextLines(dir.Path() + "SUB\\util.bas");
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 2u);
    ASSERT_TRUE(WriteTextLinesAtomic(dir.Path() + "sub\\New.bas", {"x"}));
    EXPECT_EQ(dir.Read("Sub/New.bas"), "x\r\n");
}

TEST(TextFile, MappedFilesAndChunkedLineWritesKeepEveryByte) {
    TempDir dir;
    const std::string bytes = std::string("a\0b\r\n\xe9t\xe9\r", 9) + std::string(3 << 20, 'y');
    const std::string path = dir.Write("big.bas", bytes);
    const auto mapped = MappedFile::Open(path);
    ASSERT_TRUE(mapped);
    EXPECT_EQ(mapped->Bytes(), bytes);
    // Files below the mapping size are read: every byte, at the sizes around the read's own buffer.
    for (const std::size_t size : {std::size_t{1}, std::size_t{65536}, std::size_t{65537},
                                   static_cast<std::size_t>(kSmallestMappedFile) - 1}) {
        const std::string small = bytes.substr(0, size);
        const auto read = MappedFile::Open(dir.Write("small.bas", small));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->Bytes(), small) << size;
    }
    EXPECT_EQ(MappedFile::Open(dir.Write("empty.bas", ""))->Bytes(), "");
    EXPECT_FALSE(MappedFile::Open(dir.Path() + "missing.bas"));
    EXPECT_FALSE(MappedFile::Open(dir.Path()));

    // Lines longer than the writer's chunk and many short ones, each ended by CR LF.
    const TextLines lines{std::string(3 << 20, 'z'), "", "x", std::string(5, '\0')};
    TextLines many(100000, "short line");
    many.insert(many.begin(), lines.begin(), lines.end());
    ASSERT_TRUE(
        WriteLinesAtomic(path, many.size(), [&](std::size_t i) { return std::string_view(many[i]); }));
    std::string expected;
    for (const auto& line : many)
        expected += line + "\r\n";
    EXPECT_EQ(ReadFileBytes(path).value(), expected);
}

} // namespace
} // namespace kemptor
