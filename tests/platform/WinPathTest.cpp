#include "platform/WinPath.h"
#include "platform/Host.h"
#include "platform/TargetDirectory.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>

#include "support/TempDir.h"

namespace kemptor {
namespace {

using test::TempDir;

TEST(WinPath, PathTextArithmetic) {
    EXPECT_EQ(ExtractFileDir("C:\\VB\\FORM1.FRM"), "C:\\VB\\");
    EXPECT_EQ(ExtractFileDir("C:FORM1.FRM"), "C:");
    EXPECT_EQ(ExtractFileDir("/home/u/p.vbp"), "/home/u/");
    EXPECT_EQ(ExtractFileDir("p.vbp"), "");
    EXPECT_EQ(ExtractFileName("..\\lib\\Globals.bas"), "Globals.bas");
    EXPECT_EQ(ExtractFileName("Main.frm"), "Main.frm");
    EXPECT_EQ(ExtractUpperExtension("sub\\Util.bas"), ".BAS");
    EXPECT_EQ(ExtractUpperExtension("my.dir\\README"), "")
        << "a dot before the last separator is no extension";
    EXPECT_EQ(ExtractUpperExtension("name."), ".");
    EXPECT_TRUE(IsAbsolutePath("C:\\VB\\A.FRM"));
    EXPECT_TRUE(IsAbsolutePath("/tmp/a"));
    EXPECT_TRUE(IsAbsolutePath("\\a"));
    EXPECT_FALSE(IsAbsolutePath("..\\a"));
}

TEST(WinPath, MapsEachComponentCaseInsensitivelyWhenTheExactNameIsMissing) {
    TempDir dir;
    dir.Write("proj/Forms/Main.frm", "x");
    dir.Write("Lib/Util.BAS", "x");
    const std::string root = dir.Path();
    EXPECT_EQ(MapToHostPath(root + "proj\\FORMS\\MAIN.FRM"), root + "proj/Forms/Main.frm");
    EXPECT_EQ(MapToHostPath(root + "proj\\..\\lib\\util.bas"), root + "proj/../Lib/Util.BAS");
    EXPECT_EQ(MapToHostPath(root + "PROJ\\forms\\"), root + "proj/Forms/");
    EXPECT_EQ(MapToHostPath(root + "proj\\Missing\\main.frm"), root + "proj/Missing/main.frm")
        << "after a missing component the rest is kept as written";
    EXPECT_EQ(MapToHostPath(root + "proj//forms"), root + "proj/Forms");
    EXPECT_TRUE(FileExists(root + "PROJ\\FORMS\\main.FRM"));
    EXPECT_EQ(FileSizeOf(root + "lib\\UTIL.bas"), 1);
    EXPECT_EQ(FileSizeOf(root + "lib\\none.bas"), -1);
    EXPECT_TRUE(DirectoryExists(root + "LIB"));
    EXPECT_FALSE(FileExists(root + "LIB"));
}

// A name missing in a directory that exists is looked up there alone; what the mapping saw of the name it
// returns goes to the caller, and files created later are found under any text of their directory.
TEST(WinPath, NewNamesInExistingDirectoriesAndWhatTheMappingSaw) {
    TempDir dir;
    dir.Write("out/Old.bas", "x");
    const std::string out = dir.Path() + "out/";
    EXPECT_EQ(MapToHostPath(out + "OLD.BAS"), out + "Old.bas");
    EXPECT_EQ(MapToHostPath(out + "new.bas"), out + "new.bas");
    EXPECT_EQ(MapToHostPath("OLD.BAS"), "OLD.BAS") << "a bare name not in the working directory";
    EXPECT_EQ(MapToHostPath(dir.Path() + "out/./old.BAS"), out + "./Old.bas");
    EXPECT_EQ(MapToHostPath(dir.Path() + "OUT/../out/old.bas"), dir.Path() + "out/../out/Old.bas");

    host::NameStatus seen;
    EXPECT_EQ(MapToHostPath(out + "Old.bas", &seen), out + "Old.bas");
    EXPECT_TRUE(seen.TellsStatus());
    EXPECT_EQ(seen.status.kind, host::FileKind::Regular);
    EXPECT_EQ(seen.status.size, 1);
    std::filesystem::create_symlink(out + "Old.bas", out + "link.bas");
    seen = {};
    MapToHostPath(out + "link.bas", &seen);
    EXPECT_TRUE(seen.looked && seen.link && !seen.TellsStatus());
    seen = {};
    MapToHostPath(out + "OLD.BAS", &seen);
    EXPECT_FALSE(seen.looked) << "the name returned was not looked at as such";
    seen = {};
    EXPECT_EQ(MapToHostPath(out + "none.bas", &seen), out + "none.bas");
    EXPECT_TRUE(seen.TellsStatus() && !seen.Exists());
    EXPECT_EQ(seen.status.kind, host::FileKind::Missing);

    // The listing of out/ is held under one text; a file written through another is still found.
    ASSERT_TRUE(WriteFileAtomic(dir.Path() + "out/./Fresh.bas", "y"));
    EXPECT_EQ(MapToHostPath(out + "FRESH.BAS"), out + "Fresh.bas");
    ASSERT_TRUE(WriteFileAtomic(out + "Later.bas", "z"));
    EXPECT_EQ(MapToHostPath(out + "later.bas"), out + "Later.bas");
}

TEST(WinPath, ExactNameWinsOverOtherCases) {
    TempDir dir;
    dir.Write("a.bas", "1");
    dir.Write("A.BAS", "22");
    EXPECT_EQ(FileSizeOf(dir.Path() + "A.BAS"), 2);
    EXPECT_EQ(FileSizeOf(dir.Path() + "a.bas"), 1);
    EXPECT_EQ(MapToHostPath(dir.Path() + "A.bas"), dir.Path() + "A.BAS") << "first match in name order";
}

TEST(WinPath, DisplayPathIsTheHostPathWithDotsFoldedAndTheDirectorySeparatorKept) {
    TempDir dir;
    dir.Write("proj/STYLED/modGlobals.bas", "x");
    dir.Write("mak/SUB/Util.bas", "x");
    const std::string root = dir.Path();
    EXPECT_EQ(ResolvedDisplayPath(root + "proj/.\\STYLED\\"), root + "proj/STYLED/");
    EXPECT_EQ(ResolvedDisplayPath(root + "proj/.\\styled\\modGlobals.bas"),
              root + "proj/STYLED/modGlobals.bas");
    EXPECT_EQ(ResolvedDisplayPath(root + "mak/SUB\\UTIL.BAS"), root + "mak/SUB/Util.bas");
    EXPECT_EQ(ResolvedDisplayPath(root + "proj/..\\out\\"), root + "out/") << "a directory not made yet";
    EXPECT_EQ(ResolvedDisplayPath(root + "proj/./STYLED"), root + "proj/STYLED");
    EXPECT_EQ(ResolvedDisplayPath(""), "");
}

TEST(WinPath, DriveLettersAreTakenFromTheRoot) {
    EXPECT_EQ(MapToHostPath("C:\\"), "/");
    EXPECT_EQ(MapToHostPath("C:\\no-such-dir-kemptor\\X.FRM"), "/no-such-dir-kemptor/X.FRM");
}

TEST(WinPath, ForceDirectoriesListingCopyAndDelete) {
    TempDir dir;
    const std::string root = dir.Path();
    ASSERT_TRUE(ForceDirectories(root + "out\\deep\\er\\"));
    EXPECT_TRUE(DirectoryExists(root + "out/deep/er"));
    EXPECT_TRUE(ForceDirectories(root + "OUT\\deep")) << "an existing directory in another case counts";
    dir.Write("file", "x");
    EXPECT_FALSE(ForceDirectories(root + "file\\sub"));

    dir.Write("src/b.txt", "bb");
    dir.Write("src/a.txt", "a");
    dir.Write("src/inner/c.txt", "c");
    EXPECT_EQ(ListDirectoryFiles(root + "SRC\\"), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_TRUE(ListDirectoryFiles(root + "none").empty());

    const std::string from = root + "src/b.txt";
    ::chmod(from.c_str(), 0444);
    struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ::utimensat(AT_FDCWD, from.c_str(), old, 0);
    ASSERT_TRUE(CopyFileKeepStamp(from, root + "out\\stamped.txt"));
    ASSERT_TRUE(CopyFilePlain(from, root + "out\\plain.txt"));
    struct stat stamped, plain;
    ASSERT_EQ(::stat((root + "out/stamped.txt").c_str(), &stamped), 0);
    ASSERT_EQ(::stat((root + "out/plain.txt").c_str(), &plain), 0);
    EXPECT_EQ(stamped.st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(stamped.st_mode & 0777, 0644u) << "the copy stays writable by its owner";
    EXPECT_NE(plain.st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(dir.Read("out/plain.txt"), "bb");
    EXPECT_FALSE(CopyFilePlain(root + "missing", root + "out/x"));

    EXPECT_TRUE(DeleteFileAt(root + "OUT\\PLAIN.TXT"));
    EXPECT_FALSE(FileExists(root + "out/plain.txt"));
    EXPECT_FALSE(DeleteFileAt(root + "out/plain.txt"));
}

} // namespace
} // namespace kemptor

namespace kemptor {
namespace {

namespace fs = std::filesystem;

TEST(OutputPaths, UnmappableWindowsPaths) {
    for (const char* text : {"\\\\SERVER\\SHARE\\OUT\\", "//SERVER/SHARE", "\\/x", "D:OUT\\", "D:", "d:out",
                             "C:\\OUT\\", "D:/out", "C:\\", "c:/", "C:\\..\\..\\"})
        EXPECT_TRUE(IsUnmappableWindowsPath(text)) << text;
    for (const char* text : {".\\STYLED\\", "/tmp/out", "\\OUT\\", "OUT", "", "OUT:1"})
        EXPECT_FALSE(IsUnmappableWindowsPath(text)) << text;
}

TEST(OutputPaths, TheRootOfTheFileSystemIsTold) {
    EXPECT_TRUE(IsFileSystemRoot("/"));
    EXPECT_TRUE(IsFileSystemRoot(ResolveHostDirectory("/tmp/../../")));
    EXPECT_FALSE(IsFileSystemRoot("/tmp/"));
    EXPECT_FALSE(IsFileSystemRoot(ResolveHostDirectory("")));
}

TEST(OutputPaths, ResolveDotsLexicallyAfterTheExistingPartAndLinksWithin) {
    test::TempDir dir;
    const std::string root = fs::canonical(dir.Path()).string() + "/";
    fs::create_directories(root + "P/real");
    fs::create_directory_symlink(root + "P/real", root + "P/link");
    EXPECT_EQ(ResolveHostDirectory(root + "P\\.\\NEW\\..\\"), root + "P/");
    EXPECT_EQ(ResolveHostDirectory(root + "P\\NEW\\..\\OUT"), root + "P/OUT/");
    EXPECT_EQ(ResolveHostDirectory(root + "P/link/../x/"), root + "P/x/"); // ".." of a link's target
    EXPECT_EQ(ResolveHostDirectory(root + "p\\REAL\\"), root + "P/real/"); // case-insensitive match
    EXPECT_EQ(ResolveHostDirectory("\\\\S\\SHARE\\"), "");
    EXPECT_EQ(ResolveHostDirectory(""), fs::current_path().string() + "/");
    EXPECT_TRUE(DirectoryExists(""));
    EXPECT_TRUE(SameHostDirectory(root + "P/link/", root + "P/real"));
    EXPECT_TRUE(SameHostDirectory(root + "P/NEW/../", root + "P"));
    EXPECT_FALSE(SameHostDirectory(root + "P/NEW/", root + "P"));
}

TEST(OutputPaths, TwoNamesOfOneRunThatDifferInCaseStayTwoFiles) {
    test::TempDir dir;
    dir.Write("util.bas", "an earlier copy");
    TargetDirectory target(dir.Path());
    // An earlier copy under another case is the file to replace ...
    EXPECT_EQ(target.PathFor("UTIL.BAS"), dir.Path() + "util.bas");
    EXPECT_EQ(target.PathFor("UTIL.BAS"), dir.Path() + "util.bas");
    // ... but a name of this run is never taken over by another name of the same letters.
    EXPECT_EQ(target.PathFor("dup.bas"), dir.Path() + "dup.bas");
    ASSERT_TRUE(WriteFileAtomic(dir.Path() + "dup.bas", "lower"));
    EXPECT_EQ(target.PathFor("DUP.BAS"), dir.Path() + "DUP.BAS");
    // The lookup knows of the file written after its listing was read.
    EXPECT_EQ(MapToHostPath(dir.Path() + "Dup.Bas"), dir.Path() + "dup.bas");
}

} // namespace
} // namespace kemptor
