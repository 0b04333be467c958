// Device names at the file-system boundary on Windows: "NUL", "CON" and their kind exist in every
// directory and must be refused like FIFOs and device nodes elsewhere, without a read that never ends
// or waits for the console.
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

using test::Native;
using test::TempDir;

TEST(WindowsSpecialFiles, DeviceNamesAreRefusedWithoutReading) {
    TempDir dir;
    for (const std::string name : {"NUL", "CON", "con.bas", "AUX"}) {
        SCOPED_TRACE(name);
        const std::string path = Native(dir.Path()) + name;
        EXPECT_EQ(CheckTextFile(path), FileProblem::NotRegular);
        EXPECT_EQ(ReadTextLines(path), std::nullopt);
        EXPECT_EQ(ReadFileBytes(path), std::nullopt);
        EXPECT_EQ(CountTextLines(path), -1);
        EXPECT_FALSE(IsTextFile(path));
        EXPECT_LT(OpenRegularFileHost(path), 0);
        EXPECT_EQ(ReplaceFileContents(path, "new\r\n", true), ReplaceOutcome::NotRegular);
    }
    EXPECT_EQ(CheckTextFile("\\\\.\\PIPE\\kemptor-none"), FileProblem::NotRegular);
}

TEST(WindowsSpecialFiles, TemporariesUseTheShortNameBesideTheTarget) {
    TempDir dir;
    const std::string target = Native(dir.Path()) + "Module.bas";
    ASSERT_TRUE(WriteTextLinesAtomic(target, {"x"}));
    ASSERT_TRUE(WriteTextLinesAtomic(target, {"y"})); // replacing an existing file
    EXPECT_EQ(ListDirectoryFiles(Native(dir.Path())), std::vector<std::string>{"Module.bas"});
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        EXPECT_FALSE(IsTemporaryName(entry.path().filename().string()));
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(ReadFileBytes(target), std::optional<std::string>("y\r\n"));
}

} // namespace
} // namespace kemptor
