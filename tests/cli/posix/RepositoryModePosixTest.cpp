// Repository mode where POSIX file names and tools matter: a real git work tree with ignored files,
// names that are not UTF-8 or hold line breaks or backslashes, and diffs applied by git and patch.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/CliRunner.h"
#include "support/TempDir.h"

namespace kemptor::test {
namespace {

constexpr const char* kMessy = "Option Explicit\r\nSub Main()\r\nx = 1\r\nEnd Sub\r\n";
constexpr const char* kTidy = "Option Explicit\r\nSub Main()\r\n    x = 1\r\nEnd Sub\r\n";

int Shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

bool HaveGit() {
    return Shell("git --version >/dev/null 2>&1") == 0;
}

TEST(RepositoryModePosix, InAScratchGitRepositoryCheckAndFormatSkipWhatGitIgnores) {
    if (!HaveGit())
        GTEST_SKIP() << "git is not installed";
    TempDir dir;
    const std::string root = dir.Path() + "repo/";
    dir.Write("repo/.gitignore", "build/\n");
    dir.Write("repo/lib/.gitignore", "Scratch*.bas\n");
    dir.Write("repo/kemptor.ini", "[Files]\nExclude=third party/\n");
    dir.Write("repo/lib/kemptor.ini", "[Files]\nExclude=Gen*.cls\n"); // nested: governs lib/ only
    dir.Write("repo/build/Out.bas", kMessy);
    dir.Write("repo/lib/Scratch1.bas", kMessy);
    dir.Write("repo/lib/GenA.cls", kMessy);
    dir.Write("repo/GenB.cls", kMessy);
    dir.Write("repo/third party/T.bas", kMessy);
    dir.Write("repo/lib/\xc3\x84nderung Liste.bas", kMessy);
    ASSERT_EQ(0, Shell("cd '" + root + "' && git init -q"));
    CliResult r = RunCliIn(dir, root, "check .");
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("GenB.cls: 1 line would change\nlib/\xc3\x84nderung Liste.bas: 1 line would change\n"
              "2 of 2 files would change\n",
              r.out);
    r = RunCliIn(dir, root, "format -i .");
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(kTidy, dir.Read("repo/lib/\xc3\x84nderung Liste.bas"));
    for (const char* untouched : {"build/Out.bas", "lib/Scratch1.bas", "lib/GenA.cls", "third party/T.bas"})
        EXPECT_EQ(kMessy, dir.Read(std::string("repo/") + untouched)) << untouched;
    EXPECT_EQ(0, RunCliIn(dir, root, "check .").status);
    // From a subfolder, as a pre-commit hook may run it.
    EXPECT_EQ(0, RunCliIn(dir, root + "lib", "check .").status);
}

TEST(RepositoryModePosix, AWorkTreeWithoutGitOnThePathIsWalkedWithAWarning) {
    TempDir dir;
    dir.Write("repo/.git/HEAD", "ref: refs/heads/main\n");
    dir.Write("repo/A.bas", kMessy);
    dir.Write("repo/.git/B.bas", kMessy);
    const CliResult r = RunCliIn(dir, dir.Path() + "repo", "check .", "timeout 60 env PATH=/nonexistent");
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ("A.bas: 1 line would change\n1 of 1 files would change\n", r.out);
    EXPECT_NE(std::string::npos, r.err.find("git cannot list")) << r.err;
}

TEST(RepositoryModePosix, NamesThatAreNotUtf8OrHoldLineBreaksCannotBreakTheReports) {
    TempDir dir;
    dir.Write("t/caf\xe9.bas", kMessy);
    dir.Write("t/two\nlines.bas", kMessy);
    dir.Write("t/a\\b.bas", kMessy); // a backslash is part of the name on Linux
    const std::string root = dir.Path() + "t/";
    CliResult r = RunCliIn(dir, root, "check --format json .");
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("{\"file\": \"a\\\\b.bas\", \"status\"")) << r.out;
    EXPECT_NE(std::string::npos,
              r.out.find("{\"file\": \"caf\\\\xe9.bas\", \"fileHex\": \"636166e92e626173\""))
        << r.out;
    EXPECT_NE(std::string::npos, r.out.find("{\"file\": \"two\\nlines.bas\"")) << r.out;
    r = RunCliIn(dir, root, "check .");
    EXPECT_EQ("a\\\\b.bas: 1 line would change\ncaf\\xe9.bas: 1 line would change\n"
              "two\\nlines.bas: 1 line would change\n3 of 3 files would change\n",
              r.out);
    r = RunCliIn(dir, root, "check --format github .");
    EXPECT_NE(std::string::npos, r.out.find("::warning file=two%0Alines.bas,")) << r.out;

    // A name with a backslash given on the command line is read as it is, not as a Windows path.
    dir.Write("t/a/b.bas", kTidy);
    r = RunCliIn(dir, root, "check 'a\\b.bas'");
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ(0, RunCliIn(dir, root, "format -i 'a\\b.bas'").status);
    EXPECT_EQ(kTidy, dir.Read("t/a\\b.bas"));
}

TEST(RepositoryModePosix, GitApplyAndPatchAcceptTheDiffOfACrLfFile) {
    if (!HaveGit())
        GTEST_SKIP() << "git is not installed";
    TempDir dir;
    const std::string root = dir.Path() + "t/";
    dir.Write("t/src/Messy.bas", kMessy);
    dir.Write("t/Last.bas", "Option Explicit\r\nSub Main()\r\nx = 1\r\nEnd Sub");
    const std::string patch = dir.Path() + "changes.diff";
    const CliResult r = RunCliIn(dir, root, "check --diff .", "", kNoInput, patch);
    EXPECT_EQ(1, r.status) << r.err;
    EXPECT_EQ(0, Shell("cd '" + root + "' && git apply -p0 --check '" + patch + "'"));
    EXPECT_EQ(0, Shell("cd '" + root + "' && patch -s -p0 --dry-run < '" + patch + "' >/dev/null"));
    ASSERT_EQ(0, Shell("cd '" + root + "' && git apply -p0 '" + patch + "'"));
    EXPECT_EQ(kTidy, dir.Read("t/src/Messy.bas"));
    EXPECT_EQ(kTidy, dir.Read("t/Last.bas"));
    EXPECT_EQ(0, RunCliIn(dir, root, "check .").status);
}

} // namespace
} // namespace kemptor::test
