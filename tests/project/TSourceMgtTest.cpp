#include "project/TSourceMgt.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"

namespace kemptor {
namespace {

using test::TempDir;

// Fills the blank entry in hand and appends the next, as the reader does.
TSourceEntry* AddFile(TSourceMgt& m, const std::string& fullPath) {
    TSourceEntry* e = m.Current;
    e->FullPath = fullPath;
    e->FileName = e->DisplayName = fullPath.substr(fullPath.find_last_of('/') + 1);
    m.AppendBlankEntry();
    return e;
}

TEST(TSourceMgt, WalksVisitEveryFileOnceAndNeverTheTerminator) {
    TSourceMgt m;
    EXPECT_EQ(m.FileCount(), 0);
    EXPECT_EQ(m.Files().begin(), m.Files().end());
    ASSERT_NE(m.First, nullptr);
    EXPECT_EQ(m.First->Next, nullptr) << "a new model holds only its terminator";

    auto* a = AddFile(m, "/p/a.frm");
    auto* b = AddFile(m, "/p/b.bas");
    auto* c = AddFile(m, "/p/c.cls");
    std::string names;
    for (const auto& e : m.Files())
        names += e.FileName + " ";
    EXPECT_EQ(names, "a.frm b.bas c.cls ");
    EXPECT_EQ(m.FileCount(), 3);
    EXPECT_EQ(m.First, a);
    EXPECT_EQ(a->Prev, nullptr);
    EXPECT_EQ(b->Prev, a);
    EXPECT_EQ(c->Next, m.Current);
    EXPECT_EQ(m.Current->Prev, c);
    EXPECT_EQ(m.Current->Next, nullptr);
    EXPECT_TRUE(m.Current->FileName.empty());
}

TEST(TSourceMgt, KindComesFromTheExtensionWithLaterTestsWinning) {
    EXPECT_EQ(SourceKindOf(".FRM"), skForm);
    EXPECT_EQ(SourceKindOf(".BAS"), skModule);
    EXPECT_EQ(SourceKindOf(".TXT"), skModule);
    EXPECT_EQ(SourceKindOf(""), skModule);
    EXPECT_EQ(SourceKindOf(".VBX"), skCustomControl);
    EXPECT_EQ(SourceKindOf(".CLS"), skClass);
    EXPECT_EQ(SourceKindOf(".CTL"), skUserControl);
    EXPECT_EQ(SourceKindOf(".frm"), skModule) << "the extension is upper-cased by the reader";
    EXPECT_STREQ(SourceKindName(skUserControl), "usercontrol");
}

TEST(TSourceMgt, LinesAreLoadedOnDemandAndReleased) {
    TempDir dir;
    TSourceMgt m;
    auto* e = AddFile(m, dir.Write("a.bas", "Option Explicit\r\nDim A\r\n"));
    m.ReleaseLines(e); // not loaded: nothing happens
    EXPECT_FALSE(e->Loaded);
    m.ReleaseLines(nullptr);

    m.Current = e;
    EXPECT_TRUE(m.LoadCurrentLines());
    EXPECT_TRUE(e->Loaded);
    EXPECT_EQ(e->Lines, (TextLines{"Option Explicit", "Dim A"}));
    EXPECT_EQ(e->LineCount, 2);

    dir.Write("a.bas", "changed\r\n");
    m.LoadLines(e);
    EXPECT_EQ(e->Lines.size(), 2u) << "a loaded entry is not read again";
    m.ReleaseCurrentLines();
    EXPECT_FALSE(e->Loaded);
    EXPECT_TRUE(e->Lines.empty());
    EXPECT_EQ(e->LineCount, 2) << "the count stays valid while the lines are released";
}

TEST(TSourceMgt, AnUnreadableFileLoadsAsNotAvailableAndSaysSo) {
    TempDir dir;
    TSourceMgt m;
    const std::string path = dir.Write("gone.frm", "x\r\ny\r\nz\r\n");
    auto* e = AddFile(m, path);
    e->LineCount = 3;
    std::filesystem::remove(path);

    EXPECT_FALSE(m.LoadLines(e));
    EXPECT_TRUE(e->Loaded);
    EXPECT_TRUE(e->LoadFailed) << "a run must be able to tell this text from the file's";
    EXPECT_EQ(e->Lines, (TextLines{"NOT AVAILABLE"}));
    EXPECT_EQ(e->LineCount, 1);

    m.ReleaseLines(e);
    dir.Write("gone.frm", "back\r\n");
    EXPECT_TRUE(m.LoadLines(e));
    EXPECT_FALSE(e->LoadFailed);
    EXPECT_EQ(e->Lines, (TextLines{"back"}));
}

TEST(TSourceMgt, ReleaseAllLinesReachesTheTerminatorToo) {
    TempDir dir;
    TSourceMgt m;
    auto* a = AddFile(m, dir.Write("a.bas", "1\r\n"));
    auto* b = AddFile(m, dir.Write("b.bas", "2\r\n"));
    m.LoadLines(a);
    m.LoadLines(b);
    m.Current->FullPath = a->FullPath;
    m.LoadLines(m.Current);
    m.ReleaseAllLines();
    EXPECT_FALSE(a->Loaded);
    EXPECT_FALSE(b->Loaded);
    EXPECT_FALSE(m.Current->Loaded);
}

} // namespace
} // namespace kemptor
