#include "view/TBigTextStore.h"

#include <gtest/gtest.h>

using namespace kemptor;

TEST(TBigTextStore, CutsLinesAtNulAndAfter255Characters) {
    TBigTextStore store;
    store.AddLine(std::string(300, 'x'), clBlack, clWhite);
    store.AddLine(std::string("ab\0cd", 5), clBlack, clWhite);
    store.AddLine("", clBlue, clYellow);
    ASSERT_EQ(store.Count(), 3);
    EXPECT_EQ(store.Line(0), std::string(255, 'x'));
    EXPECT_EQ(store.Line(1), "ab");
    EXPECT_EQ(store.Line(2), "");
    EXPECT_EQ(store.Line(3), "") << "index equal to the count";
    EXPECT_EQ(store.Line(-1), "");
    EXPECT_TRUE(store.Attributes(2).FontColor == clBlue);
    EXPECT_TRUE(store.Attributes(2).BackColor == clYellow);
    EXPECT_EQ(store.Attributes(2).Alignment, 0);
    EXPECT_EQ(store.Attributes(2).FontStyle, 0);
    store.SetLineColors(1, clYellow, clNavy);
    EXPECT_TRUE(store.Attributes(1).BackColor == clNavy);
    store.Clear();
    EXPECT_EQ(store.Count(), 0);
}

TEST(TBigTextStore, LineLimitPurgesFromTheTopOrRefuses) {
    TBigTextStore store;
    store.MaxLines = 10;
    store.PurgeLines = 4;
    for (int k = 0; k < 12; ++k)
        ASSERT_TRUE(store.AddLine("line " + std::to_string(k), clBlack, clWhite));
    // At 10 lines the first 4 went; lines 10 and 11 followed.
    ASSERT_EQ(store.Count(), 8);
    EXPECT_EQ(store.Line(0), "line 4");
    EXPECT_EQ(store.Line(7), "line 11");

    store.PurgeLines = 0;
    store.AddLine("a", clBlack, clWhite);
    store.AddLine("b", clBlack, clWhite);
    std::string error;
    EXPECT_FALSE(store.AddLine("c", clBlack, clWhite, &error));
    EXPECT_EQ(error, "Maximum line count at line 10");
    EXPECT_EQ(store.Count(), 10);

    // Purging more lines than there are empties the store.
    TBigTextStore small;
    small.MaxLines = 3;
    small.PurgeLines = 200;
    for (int k = 0; k < 4; ++k)
        small.AddLine(std::to_string(k), clBlack, clWhite);
    EXPECT_EQ(small.Count(), 1);
    EXPECT_EQ(small.Line(0), "3");
}

TEST(TBigTextStore, WithoutMaxLinesThereIsNoLimit) {
    TBigTextStore store;
    for (int k = 0; k < 40000; ++k)
        store.AddLine("x", clBlack, clWhite);
    EXPECT_EQ(store.Count(), 40000);
    // A limit above 32000 lets at most 32001 lines stand.
    TBigTextStore capped;
    capped.MaxLines = 60000;
    capped.PurgeLines = 1000;
    for (int k = 0; k < 33000; ++k)
        capped.AddLine(std::to_string(k), clBlack, clWhite);
    EXPECT_LE(capped.Count(), 32001);
    EXPECT_EQ(capped.Line(capped.Count() - 1), "32999");
}

TEST(TBigTextStore, PurgedTextBlocksAreReleased) {
    TBigTextStore store;
    store.MaxLines = 2000;
    store.PurgeLines = 1000;
    const std::string line(200, 'q');
    for (int k = 0; k < 100000; ++k)
        store.AddLine(line, clBlack, clWhite);
    EXPECT_LT(store.MemoryBytes(), 2000u * 200u * 3u);
}

TEST(TBigTextStore, FindsTextBelowOrAboveTheTopLine) {
    TBigTextStore store;
    for (const char* line : {"Dim total", "x = 1", "TOTAL = x", "total = 2"})
        store.AddLine(line, clBlack, clWhite);
    EXPECT_EQ(store.FindLine("total", 0, true, false), 2) << "the top line itself is not searched";
    EXPECT_EQ(store.FindLine("total", 0, true, true), 3);
    EXPECT_EQ(store.FindLine("total", 3, false, true), 0);
    EXPECT_EQ(store.FindLine("Dim", 0, false, false), -1) << "upwards from line 0 finds nothing";
    EXPECT_EQ(store.FindLine("", 0, true, false), -1);
    EXPECT_EQ(store.FindLine("total", 3, true, false), -1);
    EXPECT_EQ(TBigTextStore::LineMatches("abc\xe4X", "\xc4x", false), 0) << "only a to z fold";
    EXPECT_EQ(TBigTextStore::LineMatches("abcdef", "CD", false), 3);
}

TEST(TBigTextStore, TabsBringTheNextCharacterToAMultipleOfEight) {
    EXPECT_EQ(TBigTextStore::ExpandTabsToEights("\tx"), "       x");
    EXPECT_EQ(TBigTextStore::ExpandTabsToEights("1234567\tx"), "1234567x") << "a tab in position 8 goes";
    EXPECT_EQ(TBigTextStore::ExpandTabsToEights("ab\tc\t"), "ab     c       ");
    EXPECT_EQ(TBigTextStore::ExpandTabsToEights("no tabs"), "no tabs");
}

TEST(TBigList, ReportsOutOfBoundsIndexes) {
    TBigList<int> list;
    EXPECT_EQ(list.Add(5), 0);
    EXPECT_EQ(list.Add(6), 1);
    EXPECT_EQ(list.Get(1), 6);
    EXPECT_THROW(list.Get(2), std::out_of_range);
    EXPECT_THROW(list.Get(-1), std::out_of_range);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Get(0), 6);
    list.Pack();
    EXPECT_EQ(list.ChunkCount(), 1);
    EXPECT_GE(list.Capacity(), 1u);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}
