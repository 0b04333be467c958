// The sources below a directory: the Exclude= glob patterns, git's ignore rules through git itself,
// and the plain walk of a tree that is no git work tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Host.h"
#include "project/ExcludePatterns.h"
#include "project/SourceTree.h"
#include "support/TempDir.h"

namespace kemptor::test {
namespace {

TEST(GlobMatch, StarsQuestionMarksAndSetsWithinAndAcrossFolders) {
    EXPECT_TRUE(GlobMatch("*.bas", "Main.BAS"));                // letter case ignored
    EXPECT_FALSE(GlobMatch("*.bas", "src/Main.bas"));           // "*" stays within one name
    EXPECT_TRUE(GlobMatch("src/**/*.bas", "src/a/b/Main.bas")); // "**" crosses folders
    EXPECT_TRUE(GlobMatch("src/**/*.bas", "src/Main.bas"));     // "**/" may stand for no folder
    EXPECT_TRUE(GlobMatch("**", "a/b/c"));
    EXPECT_TRUE(GlobMatch("Form?.frm", "Form1.frm"));
    EXPECT_FALSE(GlobMatch("Form?.frm", "Form12.frm"));
    EXPECT_TRUE(GlobMatch("[a-c]*.cls", "Basket.cls"));
    EXPECT_FALSE(GlobMatch("[!a-c]*.cls", "Basket.cls"));
    EXPECT_TRUE(GlobMatch("a[b", "a[b")); // an unclosed set is a plain character
    EXPECT_TRUE(GlobMatch("Old Code/*", "old code/Form 1.frm"));
}

TEST(ExcludePatterns, NamesMatchAtAnyDepthPathsFromTheSettingsFolderAndFoldersExcludeTheirContents) {
    const ExcludePatterns patterns({"*.Designer.bas; vendor", "src/legacy/", "./gen/*.cls", "\\tools\\*"});
    EXPECT_TRUE(patterns.Excludes("a/b/Main.designer.bas"));
    EXPECT_TRUE(patterns.Excludes("vendor/x.bas"));
    EXPECT_TRUE(patterns.Excludes("deep/vendor/y/x.bas"));
    EXPECT_TRUE(patterns.Excludes("src/legacy/a/b.bas"));
    EXPECT_FALSE(patterns.Excludes("legacy/b.bas")); // anchored at the settings folder
    EXPECT_FALSE(patterns.Excludes("src/legacy"));   // a trailing "/" matches folders only
    EXPECT_TRUE(patterns.Excludes("gen/C.cls"));
    EXPECT_FALSE(patterns.Excludes("gen/sub/C.cls"));
    EXPECT_TRUE(patterns.Excludes("tools/T.bas")); // "\" written for "/"
    EXPECT_FALSE(patterns.Excludes("src/Main.bas"));
    EXPECT_TRUE(ExcludePatterns({" ; ", ""}).Empty());
}

TEST(SourceTree, SourceNamesAnyLetterCase) {
    for (const char* name : {"a.bas", "B.CLS", "c.Frm", "d.ctl"})
        EXPECT_TRUE(IsVbSourceName(name)) << name;
    for (const char* name : {"p.vbp", "a.bas.txt", "frm", "x.frx", "dir.bas/x"})
        EXPECT_FALSE(IsVbSourceName(name)) << name;
}

std::vector<std::string> Relative(const SourceTreeListing& listing, const std::string& root) {
    std::vector<std::string> names;
    for (const std::string& file : listing.files)
        names.push_back(file.substr(root.size()));
    return names;
}

std::string Slashed(std::string path) {
    for (char& c : path)
        if (c == host::kSeparator)
            c = '/';
    return path;
}

// The settings file a folder's files are governed by: the nearest kemptor.ini upward from it.
SettingsFileFinder NearestIni(const std::string& top) {
    return [top](const std::string& dir) -> std::optional<std::string> {
        for (std::string d = dir;; d = d.substr(0, d.find_last_of("/\\"))) {
            if (host::StatusOf(d + "/kemptor.ini").kind == host::FileKind::Regular)
                return d + "/kemptor.ini";
            if (d.size() <= top.size())
                return std::nullopt;
        }
    };
}

TEST(SourceTree, WithoutGitEveryFolderButDotGitIsWalkedInByteOrderAndExcludesNest) {
    TempDir dir;
    const std::string root = dir.Path() + "tree";
    dir.Write("tree/b.bas", "");
    dir.Write("tree/A.CLS", "");
    dir.Write("tree/notes.txt", "");
    dir.Write("tree/.git/hooks/x.bas", ""); // not a work tree git can list, but never a source
    dir.Write("tree/Old Code/Form 1.frm", "");
    dir.Write("tree/sub/kemptor.ini", "[Files]\nExclude=gen\nExclude=*.ctl\n");
    dir.Write("tree/sub/gen/G.bas", "");
    dir.Write("tree/sub/U.ctl", "");
    dir.Write("tree/sub/keep.bas", "");
    dir.Write("tree/U.ctl", ""); // the nested patterns govern only the folder below them
    const SourceTreeListing listing = ListSourceTree(root, NearestIni(root));
    EXPECT_FALSE(listing.fromGit);
    std::vector<std::string> names;
    for (const std::string& n : Relative(listing, root))
        names.push_back(Slashed(n));
    EXPECT_EQ(
        (std::vector<std::string>{"/A.CLS", "/Old Code/Form 1.frm", "/U.ctl", "/b.bas", "/sub/keep.bas"}),
        names);
}

bool GitRuns() {
    const auto run = host::RunProgram({"git", "--version"}, "");
    return run && run->exitCode == 0;
}

void Git(const std::string& dir, const std::vector<std::string>& args) {
    std::vector<std::string> command = {"git", "-c", "user.name=T", "-c", "user.email=t@example.invalid"};
    command.insert(command.end(), args.begin(), args.end());
    const auto run = host::RunProgram(command, dir);
    ASSERT_TRUE(run && run->exitCode == 0) << args.front();
}

TEST(SourceTree, InAGitWorkTreeGitDecidesWhatIsIgnoredAndTrackedFilesStay) {
    if (!GitRuns())
        GTEST_SKIP() << "git is not installed";
    TempDir dir;
    const std::string root = dir.Path() + "repo";
    dir.Write("repo/.gitignore", "build/\n*.tmp.bas\n!keep.tmp.bas\n");
    dir.Write("repo/src/.gitignore", "Generated*.cls\n");
    dir.Write("repo/build/Out.bas", "");
    dir.Write("repo/src/x.tmp.bas", "");
    dir.Write("repo/src/keep.tmp.bas", "");
    dir.Write("repo/src/Generated1.cls", "");
    dir.Write("repo/src/Main.bas", "");
    dir.Write("repo/src/\xc3\x9c"
              "bersicht Form.frm",
              ""); // non-ASCII letters and a blank
    dir.Write("repo/Forced.tmp.bas", "");
    Git(root, {"init", "-q"});
    Git(root, {"add", "-f", "Forced.tmp.bas"}); // tracked although ignored: git lists it
    const SourceTreeListing listing = ListSourceTree(root, {});
    EXPECT_TRUE(listing.fromGit);
    std::vector<std::string> names;
    for (const std::string& n : Relative(listing, root))
        names.push_back(Slashed(n));
    EXPECT_EQ((std::vector<std::string>{"/Forced.tmp.bas", "/src/Main.bas", "/src/keep.tmp.bas",
                                        "/src/\xc3\x9c"
                                        "bersicht Form.frm"}),
              names);

    // A subfolder lists only what lies below it; a deleted tracked file is not listed.
    Git(root, {"add", "src/Main.bas"});
    std::filesystem::remove(host::FsPath(root + "/src/Main.bas"));
    const SourceTreeListing sub = ListSourceTree(root + "/src", {});
    std::vector<std::string> subNames;
    for (const std::string& n : Relative(sub, root + "/src"))
        subNames.push_back(Slashed(n));
    EXPECT_EQ((std::vector<std::string>{"/keep.tmp.bas", "/\xc3\x9c"
                                                         "bersicht Form.frm"}),
              subNames);
}

} // namespace
} // namespace kemptor::test
