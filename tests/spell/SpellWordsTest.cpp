// Word splitting: prose words are found at their offsets; code, data and format tokens are not.
#include "spell/SpellWords.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kemptor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> Words(std::string_view text, SpellWordRules rules = {}) {
    std::vector<std::string> words;
    for (const TextWord& w : SpellWords(text, rules))
        words.emplace_back(text.substr(w.offset, w.length));
    return words;
}

TEST(SpellWords, FindsProseWordsWithoutTheirPunctuation) {
    EXPECT_THAT(Words(" Read the file (see notes), then \"close\" it."),
                ElementsAre("Read", "the", "file", "see", "notes", "then", "close", "it"));
    EXPECT_THAT(
        Words("don't stop; the user's well-known and/or 'quoted' text"),
        ElementsAre("don't", "stop", "the", "user's", "well", "known", "and", "or", "quoted", "text"));
    const std::string text = "  one two";
    const auto words = SpellWords(text, {});
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[1].offset, 6u);
    EXPECT_EQ(words[1].length, 3u);
}

TEST(SpellWords, LeavesOutIdentifiersNumbersFormatsEscapesAndPaths) {
    EXPECT_THAT(Words("m_Count vbCrLf MsgBox iLoop rs.Fields Form1.Show x=1 a+b Foo(x)"), IsEmpty());
    EXPECT_THAT(Words("%s %d %1 {0} #,##0.00 0.00% yyyy-mm-dd hh:nn:ss 1,234.50 42"), IsEmpty());
    EXPECT_THAT(Words("\\n \\t C:\\Temp\\file.txt /usr/lib www.example.com a@b.org &Open E&xit"), IsEmpty());
    EXPECT_THAT(Words("Not found: %s in C:\\data"), ElementsAre("Not", "found", "in"));
}

TEST(SpellWords, CapitalsAndDigitsFollowTheRules) {
    EXPECT_THAT(Words("HWND TODO I A Win32 x64 2nd"), ElementsAre("I", "A"));
    EXPECT_THAT(Words("HWND TODO Win32 2nd", {false, false}), ElementsAre("HWND", "TODO", "Win32", "2nd"));
    EXPECT_THAT(Words("1999 3.14", {false, false}), IsEmpty()); // numbers are never words
}

TEST(SpellWords, EightBitLettersBelongToWordsAndSurviveTheUtf8RoundTrip) {
    const std::string cafe = "caf\xE9 na\xEFve";
    EXPECT_THAT(Words(cafe), ElementsAre("caf\xE9", "na\xEFve"));
    EXPECT_EQ(Latin1ToUtf8("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(Utf8ToLatin1("caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8("it\x92s \x8A")), "it\x92s \x8A");
    EXPECT_EQ(Utf8ToLatin1("\xE4\xB8\xAD"), "?"); // not in the 8-bit set
}

} // namespace
} // namespace kemptor
