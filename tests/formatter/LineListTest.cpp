#include "formatter/TLineList.h"

#include <gtest/gtest.h>

#include <memory>

#include <string>
#include <vector>

namespace kemptor {
namespace {

// A line of a recognisable text: its number and a tail whose length varies with it.
std::string NumberedLine(std::size_t n) {
    return "line " + std::to_string(n) + std::string(n % 97, 'x');
}

// Enough lines to fill several text blocks.
constexpr std::size_t kManyLines = 60000;

TEST(LineList, TextsAndMarkersSurviveAppendInsertAndReplaceAcrossBlocks) {
    TLineList list;
    std::vector<std::string> expected;
    for (std::size_t n = 0; n < kManyLines; ++n) {
        list.Append(NumberedLine(n), n % 3 == 0);
        expected.push_back(NumberedLine(n));
    }
    // Texts taken from the list itself, while new blocks are being opened.
    for (std::size_t n = 0; n < 2000; ++n) {
        list.Append(list[n * 7], false);
        expected.push_back(expected[n * 7]);
    }
    const std::size_t noEdit = list.FirstEditedLine();
    list.Insert(5, list[kManyLines - 1], true);
    expected.insert(expected.begin() + 5, expected[kManyLines - 1]);
    EXPECT_EQ(5U, list.FirstEditedLine());
    list.Replace(0, "replaced");
    expected[0] = "replaced";
    EXPECT_EQ(0U, list.FirstEditedLine()) << "the lowest line edited";
    list.ForgetEdits();
    list.Append("", true);
    expected.emplace_back();
    EXPECT_EQ(noEdit, list.FirstEditedLine()) << "a line appended is no edit";

    ASSERT_EQ(list.size(), expected.size());
    EXPECT_EQ(list.Texts(), expected);
    EXPECT_TRUE(list.Changed(0)) << "Replace keeps the marker";
    EXPECT_TRUE(list.Changed(5));
    EXPECT_FALSE(list.Changed(8)) << "line 7 of the input, unmarked";
    EXPECT_TRUE(list.Changed(list.size() - 1));
    list.SetChanged(0, false);
    EXPECT_FALSE(list.Changed(0));
    EXPECT_EQ(list[0], "replaced");
}

TEST(LineList, LinesLongerThanABlockOrTheLengthFieldKeepEveryByte) {
    std::string huge(9u << 20, 'a'); // beyond the lengths an entry holds by itself
    huge[0] = '\0';
    huge.back() = '\r';
    const std::string big(3u << 20, 'b');
    TLineList list;
    list.Append("before", false);
    list.Append(huge, true);
    list.Append(big, false);
    list.Append("after", false);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], "before");
    EXPECT_EQ(list[1].size(), huge.size());
    EXPECT_TRUE(list[1] == huge);
    EXPECT_TRUE(list.Changed(1));
    EXPECT_TRUE(list[2] == big);
    EXPECT_EQ(list[3], "after");
    EXPECT_TRUE(TLineList(list) == list);
}

TEST(LineList, ReleasedLinesGiveBackTheirMemoryAndLeaveTheOthersIntact) {
    TLineList list;
    for (std::size_t n = 0; n < kManyLines; ++n)
        list.Append(NumberedLine(n), false);
    // Later texts for early lines: their new texts lie in the last block.
    list.Replace(1, "moved to the end");
    list.Insert(2, "inserted", true);
    const std::size_t full = list.AllocatedBytes();

    // Read once from start to end, as a pass does, releasing each line behind it.
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        const std::size_t n = i < 2 ? i : i - 1;
        if (i == 1)
            ASSERT_EQ(list[i], "moved to the end");
        else if (i == 2)
            ASSERT_EQ(list[i], "inserted");
        else
            ASSERT_EQ(list[i], NumberedLine(n)) << i;
        list.Release(i);
        EXPECT_TRUE(list[i].empty());
    }
    EXPECT_LT(list.AllocatedBytes(), full / 2) << "the blocks of the released lines are freed";
    EXPECT_EQ(list[list.size() - 1], NumberedLine(kManyLines - 1));

    // Releasing twice does nothing more; the list still takes new lines.
    list.Release(0);
    list.Append("new", false);
    EXPECT_EQ(list[list.size() - 1], "new");
    EXPECT_EQ(list[list.size() - 2], NumberedLine(kManyLines - 1));
}

TEST(LineList, ResetKeepsTheMemoryForTheNextLines) {
    TLineList list;
    for (std::size_t n = 0; n < kManyLines; ++n)
        list.Append(NumberedLine(n), false);
    const std::size_t held = list.AllocatedBytes();
    list.Reset();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.AllocatedBytes(), held);
    // Other texts into the kept blocks, one of them longer than a block.
    const std::string big(2u << 20, 'b');
    for (std::size_t n = 0; n < kManyLines; ++n)
        list.Append(n == 100 ? big : NumberedLine(n + 1), n % 2 == 1);
    for (std::size_t n = 0; n < kManyLines; ++n)
        ASSERT_TRUE(list[n] == (n == 100 ? big : NumberedLine(n + 1))) << n;
    EXPECT_TRUE(list.Changed(1));
    EXPECT_FALSE(list.Changed(2));
    EXPECT_LE(list.AllocatedBytes(), held + big.size() + (1u << 20));

    TLineList moved = std::move(list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.AllocatedBytes(), 0u);
    list.Append("again", false);
    EXPECT_EQ(list[0], "again");
    EXPECT_EQ(moved.size(), kManyLines);
}

TEST(LineList, CopiesAndTextSplitting) {
    TLineList list = TLineList::FromText("a\r\nb\n\rc\r\rd\n");
    EXPECT_EQ(list.Texts(), (std::vector<std::string>{"a", "b", "", "c", "", "d"}));

    list.Replace(0, "A");
    list.SetChanged(3, true);
    TLineList copy(list);
    EXPECT_TRUE(copy == list);
    copy.SetChanged(0, !list.Changed(0));
    EXPECT_FALSE(copy == list) << "equal lists carry the same markers";
    EXPECT_TRUE(copy.SameTexts(list)) << "the texts alone are the same";
    copy.Replace(3, "changed");
    EXPECT_FALSE(copy.SameTexts(list));
    EXPECT_EQ(list[3], "c") << "the copy holds its own texts";
    list = copy;
    EXPECT_EQ(list[3], "changed");
    EXPECT_TRUE(list.Changed(3));
}

TEST(LineList, TextReadInPlaceSplitsLikeACopyAndTakesEditsBesideIt) {
    // Line ends of every kind, a lone CR before an LF far away, lines across the megabyte boundaries of
    // the in-place blocks, and a text without a final line end.
    std::string text = "a\r\nb\n\rc\r\rd\n";
    for (int i = 0; text.size() < 3 * 1024 * 1024; ++i)
        text += std::string(static_cast<std::size_t>(i % 700), 'x') + (i % 3 == 0   ? "\r"
                                                                       : i % 3 == 1 ? "\n"
                                                                                    : "\r\n");
    text += "last";
    auto keeper = std::make_shared<std::string>(text);
    TLineList inPlace = TLineList::InPlace(*keeper, keeper);
    const TLineList copied = TLineList::FromText(text);
    ASSERT_EQ(inPlace.size(), copied.size());
    EXPECT_TRUE(inPlace == copied);
    EXPECT_EQ(inPlace[inPlace.size() - 1], "last");
    EXPECT_EQ(inPlace.AllocatedBytes(), inPlace.LineCapacity() * sizeof(std::uint64_t)) << "no text copied";

    // The list owns what it needs: the caller's handle may go, and edits are stored beside the text.
    keeper.reset();
    inPlace.Replace(1, "B");
    inPlace.Append("more", true);
    EXPECT_EQ(inPlace[0], "a");
    EXPECT_EQ(inPlace[1], "B");
    EXPECT_EQ(inPlace[3], "c");
    EXPECT_EQ(inPlace[inPlace.size() - 1], "more");
    TLineList moved = std::move(inPlace);
    EXPECT_EQ(moved[3], "c");
    EXPECT_EQ(TLineList::InPlace("", nullptr).size(), 0u);
}

TEST(LineList, SharedLinesReferToTheBytesReadInPlaceAndKeepThemAlive) {
    std::string text;
    for (int i = 0; text.size() < 3 * 1024 * 1024; ++i)
        text += NumberedLine(static_cast<std::size_t>(i)) + "\r\n";
    auto keeper = std::make_shared<std::string>(text);
    TLineList source = TLineList::InPlace(*keeper, keeper);
    keeper.reset();

    // Every other line shared, the others changed and stored; then a second list shares from the
    // first, as the next pass does, while the first is released line by line.
    TLineList pass1;
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (i % 2 == 0)
            pass1.AppendShared(source, i, false);
        else
            pass1.Append("changed " + std::to_string(i), true);
    }
    EXPECT_LT(pass1.BufferBytes(), text.size());
    EXPECT_LT(pass1.AllocatedBytes(), pass1.LineCapacity() * sizeof(std::uint64_t) + text.size() / 2);
    const TLineList expected = pass1; // a copy of every text
    source.Clear();
    TLineList pass2;
    for (std::size_t i = 0; i < pass1.size(); ++i) {
        pass2.AppendShared(pass1, i, pass1.Changed(i));
        pass1.Release(i);
    }
    pass1.Clear();
    ASSERT_TRUE(pass2 == expected);
    EXPECT_EQ(pass2[0], NumberedLine(0));
    EXPECT_EQ(pass2[1], "changed 1");

    // A list keeps the memory of one text read in place: lines of another are copied.
    auto other = std::make_shared<std::string>("x\ny\n");
    const TLineList second = TLineList::InPlace(*other, other);
    pass2.AppendShared(second, 1, true);
    other.reset();
    EXPECT_EQ(pass2[pass2.size() - 1], "y");
    EXPECT_TRUE(pass2.Changed(pass2.size() - 1));

    // Reset lets the shared memory go and the list fills its own blocks again.
    pass2.Reset();
    pass2.Append("fresh", false);
    EXPECT_EQ(pass2[0], "fresh");
}

TEST(LineList, RecurringTextsAreStoredOnceAndOutliveTheLinesTheyCameFrom) {
    // Header-like lines: a few texts over and over, among lines of their own, plus borders put in.
    const std::vector<std::string> recurring = {"    '! ------------------", "    '!  Author :  Unknown",
                                                "    '!", "    '! DATE      WHO"};
    TLineList list;
    std::vector<std::string> expected;
    for (std::size_t n = 0; n < kManyLines / 4; ++n) {
        const std::string& text = recurring[n % recurring.size()];
        list.AppendRecurring(text, n % 2 == 0);
        list.Append(NumberedLine(n), false);
        expected.push_back(text);
        expected.push_back(NumberedLine(n));
    }
    list.InsertRecurring(1, recurring[0], true);
    expected.insert(expected.begin() + 1, recurring[0]);
    list.AppendRecurring("", true); // no bytes to share
    expected.emplace_back();
    ASSERT_EQ(expected, list.Texts());
    EXPECT_TRUE(list.Changed(0));
    EXPECT_FALSE(list.Changed(2 * 2 - 1)) << "a shared text keeps its own marker";
    TLineList copied;
    for (std::size_t n = 0; n < kManyLines / 4; ++n)
        copied.Append(NumberedLine(n), false);
    const auto textBytes = [](const TLineList& l) {
        return l.AllocatedBytes() - l.LineCapacity() * sizeof(std::uint64_t);
    };
    EXPECT_LE(textBytes(list), textBytes(copied) + 4096) << "the recurring texts take no room";

    // Read once and released line by line, as a pass reads its input: the shared bytes stay until
    // the last line that uses them goes, and a text appended after its first copies went is stored anew.
    for (std::size_t i = 0; i + 8 < list.size(); ++i) {
        ASSERT_EQ(expected[i], list[i]) << i;
        list.Release(i);
    }
    for (std::size_t i = list.size() - 8; i < list.size(); ++i)
        EXPECT_EQ(expected[i], list[i]) << i;
    list.AppendRecurring(recurring[1], true);
    list.AppendRecurring(recurring[1], true);
    EXPECT_EQ(recurring[1], list[list.size() - 1]);

    // After a reset the list keeps no text of before for sharing.
    list.Reset();
    for (int n = 0; n < 3; ++n)
        list.AppendRecurring(recurring[2], false);
    list.InsertRecurring(0, recurring[3], false);
    EXPECT_EQ((std::vector<std::string>{recurring[3], recurring[2], recurring[2], recurring[2]}), list.Texts());

    // Verifying, a recurring text is one more line to compare.
    TLineList reference;
    reference.Append(recurring[0], false);
    reference.Append(recurring[0], false);
    TLineList out;
    out.VerifyAgainst(reference);
    out.AppendRecurring(recurring[0], true);
    out.AppendRecurring(recurring[0], true);
    EXPECT_TRUE(out.Verifying());
    out.AppendRecurring(recurring[0], true);
    EXPECT_FALSE(out.Verifying());
    EXPECT_EQ((std::vector<std::string>{recurring[0], recurring[0], recurring[0]}), out.Texts());
}

TEST(LineList, ALaterPassTakesOverTheBlocksOfItsInputAndCopiesNothing) {
    // The first pass's output: lines read in place, lines it stored (one put in before the lines it
    // stored earlier, as a border is) and a line too long to address in place.
    auto keeper = std::make_shared<std::string>("a\nb\nc\n");
    const TLineList file = TLineList::InPlace(*keeper, keeper);
    TLineList pass1;
    pass1.AppendShared(file, 0, false);
    for (int i = 0; i < 3000; ++i)
        pass1.Append("stored " + std::to_string(i), true);
    pass1.Insert(1, "inserted", true);
    pass1.AppendShared(file, 2, false);
    const TLineList expected = pass1;
    const std::size_t ownBytes = pass1.AllocatedBytes();

    TLineList pass2;
    for (std::size_t i = 0; i < pass1.size(); ++i) {
        pass2.AppendTakingOver(pass1, i, pass1.Changed(i));
        pass1.Release(i);
    }
    // Every block of the input's own is the output's now, and no other was needed.
    EXPECT_EQ(pass2.AllocatedBytes() - pass2.LineCapacity() * sizeof(std::uint64_t),
              ownBytes - pass1.LineCapacity() * sizeof(std::uint64_t));
    pass1.Reset(); // the input given back for the next output: the blocks it gave away are gone from it
    EXPECT_EQ(0u, pass1.AllocatedBytes() - pass1.LineCapacity() * sizeof(std::uint64_t));
    pass1.Append("next output", false);
    ASSERT_TRUE(pass2 == expected);
    EXPECT_EQ("inserted", pass2[1]);
    EXPECT_EQ("c", pass2[pass2.size() - 1]);

    // A list whose line is shared by a later one after the takeover copies it.
    TLineList pass3;
    pass3.AppendTakingOver(pass2, 2, true);
    TLineList other;
    other.AppendShared(pass2, 3, false);
    pass2.Clear();
    EXPECT_EQ("stored 0", pass3[0]);
    EXPECT_EQ("stored 1", other[0]);
}

TEST(LineList, AVerifyingListStoresNothingWhileItRepeatsItsReference) {
    const auto reference = [] {
        TLineList list;
        for (std::size_t n = 0; n < kManyLines; ++n)
            list.Append(NumberedLine(n), n % 2 == 0);
        return list;
    };
    // Repeated whole: nothing stored, the lines read from the reference, markers passed on to it.
    TLineList input = reference();
    TLineList out;
    out.VerifyAgainst(input);
    for (std::size_t n = 0; n < kManyLines; ++n) {
        if (n % 3 == 0)
            out.AppendTakingOver(input, n, true);
        else
            out.Append(NumberedLine(n), n % 2 == 0);
        ASSERT_TRUE(out.Verifying()) << n;
    }
    out.Replace(7, NumberedLine(7)); // the same text: no change
    EXPECT_TRUE(out.Verifying());
    EXPECT_EQ(kManyLines, out.size());
    EXPECT_LE(out.AllocatedBytes(), 4096U) << "a verifying list stores nothing";
    EXPECT_EQ(NumberedLine(12345), out[12345]);
    EXPECT_TRUE(input.Changed(3)) << "the marker appended goes to the reference";

    // A line that differs: the list takes over the lines repeated so far and goes on as its own.
    for (const int divergence : {0, 1, 2}) {
        TLineList in2 = reference();
        TLineList own;
        own.VerifyAgainst(in2);
        for (std::size_t n = 0; n < 100; ++n)
            own.Append(NumberedLine(n), n % 2 == 0);
        if (divergence == 0)
            own.Append("different", true);
        else if (divergence == 1)
            own.Insert(50, "inserted", true);
        else
            own.Replace(99, "replaced");
        EXPECT_FALSE(own.Verifying()) << divergence;
        in2.Clear(); // the list no longer needs its reference
        ASSERT_EQ(divergence == 2 ? 100U : 101U, own.size()) << divergence;
        EXPECT_EQ(NumberedLine(0), own[0]);
        EXPECT_EQ(divergence == 1 ? NumberedLine(49) : NumberedLine(98), own[divergence == 1 ? 49 : 98]);
        EXPECT_EQ(divergence == 0 ? "different" : divergence == 1 ? "inserted" : "replaced",
                  own[divergence == 0 ? 100 : divergence == 1 ? 50 : 99]);
        EXPECT_TRUE(own.Changed(10));
        EXPECT_FALSE(own.Changed(11));
    }
}

} // namespace
} // namespace kemptor
