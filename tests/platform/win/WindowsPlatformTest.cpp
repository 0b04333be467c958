// The platform layer on Windows: native paths, UTF-16 names, attributes and times kept, the settings
// directory under the application data folder. These stand beside the tests of the same behaviour on
// POSIX systems, which use modes, links and the case-insensitive path mapping.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/Windows.h"

#include "formatter/HeaderTemplates.h"
#include "platform/Profile.h"
#include "platform/SafeFile.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "platform/win/Utf16.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace kemptor {
namespace {

using test::Native;
using test::TempDir;

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(host::Widen(path).c_str());
}

// A FILETIME of a fixed day in 2001, for stamps that a copy must keep.
FILETIME OldTime() {
    SYSTEMTIME day{2001, 9, 0, 9, 1, 46, 40, 0};
    FILETIME time;
    ::SystemTimeToFileTime(&day, &time);
    return time;
}

std::uint64_t WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(host::Widen(path).c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
           data.ftLastWriteTime.dwLowDateTime;
}

TEST(WindowsPlatform, NamesInAnyScriptAreWrittenReadListedAndDeleted) {
    TempDir dir;
    const std::string root = Native(dir.Path());
    // Korean, Japanese and Arabic letters, held as UTF-8 like every name the program keeps.
    const std::string names[] = {"\xEB\xAA\xA8\xEB\x93\x88.bas",
                                 "\xE3\x83\x95\xE3\x82\xA9\xE3\x83\xBC\xE3\x83\xA0.frm",
                                 "\xD9\x88\xD8\xAD\xD8\xAF\xD8\xA9.cls"};
    for (const auto& name : names) {
        ASSERT_TRUE(WriteTextLinesAtomic(root + name, {"Sub A()", "End Sub"})) << name;
        EXPECT_TRUE(FileExists(root + name));
        EXPECT_EQ(FileSizeOf(root + name), 18);
        EXPECT_EQ(CountTextLines(root + name), 2);
        EXPECT_EQ(ReadFileBytes(root + name), std::optional<std::string>("Sub A()\r\nEnd Sub\r\n"));
    }
    const auto listed = ListDirectoryFiles(root);
    for (const auto& name : names)
        EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end()) << name;
    ASSERT_TRUE(ForceDirectories(root + "\xEB\xAA\xA8\\\xD9\x88\\"));
    EXPECT_TRUE(DirectoryExists(root + "\xEB\xAA\xA8\\\xD9\x88"));
    EXPECT_TRUE(DeleteFileAt(root + names[0]));
    EXPECT_FALSE(FileExists(root + names[0]));
}

TEST(WindowsPlatform, PathsLongerThanTheClassicLimitWork) {
    TempDir dir;
    std::string deep = Native(dir.Path());
    for (int level = 0; deep.size() < 300; ++level)
        deep += "a rather long directory name of level " + std::to_string(level) + "\\";
    ASSERT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    const std::string file = deep + "Module.bas";
    ASSERT_TRUE(WriteTextLinesAtomic(file, {"Sub A()", "End Sub"}));
    EXPECT_EQ(ReadFileBytes(file), std::optional<std::string>("Sub A()\r\nEnd Sub\r\n"));
    EXPECT_EQ(CountTextLines(file), 2);
    EXPECT_EQ(FileSizeOf(file), 18);
    EXPECT_EQ(ListDirectoryFiles(deep), std::vector<std::string>{"Module.bas"});
    ASSERT_TRUE(CopyFileKeepStamp(file, deep + "Copy.bas"));
    EXPECT_EQ(WriteTime(deep + "Copy.bas"), WriteTime(file));
    EXPECT_EQ(ReplaceFileContents(file, "x\r\n", false), ReplaceOutcome::Replaced);
    EXPECT_EQ(ReadFileBytes(file), std::optional<std::string>("x\r\n"));
    EXPECT_TRUE(DeleteFileAt(deep + "Copy.bas"));
    EXPECT_EQ(ListDirectoryFiles(deep), std::vector<std::string>{"Module.bas"});
}

TEST(WindowsPlatform, PathsAreNativeAndFoundInAnyLetterCase) {
    TempDir dir;
    const std::string root = Native(dir.Path());
    dir.Write("Sub/Util.BAS", "a\r\nb\r\n");
    EXPECT_EQ(MapToHostPath("C:\\VB\\X.FRM"), "C:\\VB\\X.FRM") << "drive letters are real";
    EXPECT_EQ(MapToHostPath("\\\\server\\share\\X.FRM"), "\\\\server\\share\\X.FRM");
    EXPECT_EQ(MapToHostPath(root + "SUB\\util.bas"), root + "SUB\\Util.BAS") << "the file's name as on disk";
    EXPECT_EQ(MapToHostPath(root + "Sub\\."), root + "Sub\\.") << "not the directory's own name";
    EXPECT_EQ(MapToHostPath(root + "Sub\\missing.bas"), root + "Sub\\missing.bas");
    const auto lines = ReadTextLines(root + "SUB\\util.bas");
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (TextLines{"a", "b"}));
    EXPECT_TRUE(IsSamePath(root + "sub\\UTIL.bas", root + "Sub/Util.BAS"));
    EXPECT_FALSE(IsSamePath(root + "Sub", root));
    EXPECT_TRUE(DirectoryExists(root.substr(0, 3))) << "a drive's root directory";
    EXPECT_TRUE(ForceDirectories(root.substr(0, 2))) << "a drive has nothing to create";
}

TEST(WindowsPlatform, ReplacingKeepsAttributesAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = Native(dir.Write("out.bas", "old"));
    ASSERT_TRUE(
        ::SetFileAttributesW(host::Widen(path).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteTextLinesAtomic(path, {"Option Explicit", "", "Sub A()"}));
    EXPECT_EQ(dir.Read("out.bas"), "Option Explicit\r\n\r\nSub A()\r\n");
    EXPECT_EQ(Attributes(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ::SetFileAttributesW(host::Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.Path()))
        entries += e.is_regular_file();
    EXPECT_EQ(entries, 1);
    EXPECT_FALSE(WriteFileAtomic(Native(dir.Path()), "a")) << "a directory is not a file name";
    EXPECT_FALSE(WriteFileAtomic(Native(dir.Path()) + "no\\such\\x.bas", "a"));
}

TEST(WindowsPlatform, StampedCopiesKeepTheTimeAndStayWritable) {
    TempDir dir;
    const std::string root = Native(dir.Path());
    const std::string from = Native(dir.Write("src.txt", "data"));
    const FILETIME old = OldTime();
    HANDLE h = ::CreateFileW(host::Widen(from).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ::SetFileTime(h, nullptr, &old, &old);
    ::CloseHandle(h);
    ::SetFileAttributesW(host::Widen(from).c_str(), FILE_ATTRIBUTE_READONLY);

    ASSERT_TRUE(ForceDirectories(root + "out\\"));
    ASSERT_TRUE(CopyFileKeepStamp(from, root + "out\\stamped.txt"));
    ASSERT_TRUE(CopyFilePlain(from, root + "out\\plain.txt"));
    const std::uint64_t oldTime = (static_cast<std::uint64_t>(old.dwHighDateTime) << 32) | old.dwLowDateTime;
    EXPECT_EQ(WriteTime(root + "out\\stamped.txt"), oldTime);
    EXPECT_NE(WriteTime(root + "out\\plain.txt"), oldTime);
    EXPECT_EQ(Attributes(root + "out\\stamped.txt") & FILE_ATTRIBUTE_READONLY, 0u)
        << "the copy stays writable";
    EXPECT_EQ(ReadFileBytes(root + "out\\stamped.txt"), std::optional<std::string>("data"));
    EXPECT_EQ(ListDirectoryFiles(root + "out"), (std::vector<std::string>{"plain.txt", "stamped.txt"}));
    ::SetFileAttributesW(host::Widen(from).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        test::SetEnv(name, value);
    }
    ~ScopedEnv() { old_ ? test::SetEnv(name_, *old_) : test::UnsetEnv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(WindowsPlatform, SettingsLiveInTheApplicationDataFolderWithVbIniBesideThem) {
    TempDir dir;
    const std::string appData = Native(dir.Path()) + "Roaming";
    ScopedEnv config("KEMPTOR_CONFIG_DIR", "");
    ScopedEnv roaming("APPDATA", appData);
    EXPECT_EQ(SettingsDirectory(), appData + "\\kemptor\\");
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "v", kSettingsFileName));
    EXPECT_EQ(dir.Read("Roaming/kemptor/VBKEMPT3.INI"), "[S]\r\nK=v\r\n");
    dir.Write("Roaming/kemptor/VB.INI", "[Visual Basic]\r\nTabStops=2\r\n");
    EXPECT_EQ(GetProfileInteger("Visual Basic", "TabStops", 4, kVbIniFileName), 2);

    ScopedEnv named("KEMPTOR_CONFIG_DIR", Native(dir.Path()) + "cfg");
    EXPECT_EQ(SettingsDirectory(), Native(dir.Path()) + "cfg\\");
}

TEST(WindowsPlatform, HeaderDatesComeFromTheUsersLocale) {
    const std::string date = SystemShortDate();
    ASSERT_FALSE(date.empty());
    const std::tm now = [] {
        std::time_t t = std::time(nullptr);
        std::tm local{};
        localtime_s(&local, &t);
        return local;
    }();
    const std::string year = std::to_string(now.tm_year + 1900);
    EXPECT_TRUE(date.find(year) != std::string::npos || date.find(year.substr(2)) != std::string::npos)
        << date;
}

} // namespace
} // namespace kemptor
