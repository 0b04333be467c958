// The buffer model: lines and their ends, protocol positions in UTF-16 code units, the 8-bit text the
// engine reads, file URIs, and the line changes between a buffer and its formatted text.
#include "lsp/LanguageServer.h"
#include "lsp/LineEdits.h"
#include "lsp/TextDocument.h"
#include "lsp/TextEncoding.h"

#include <gtest/gtest.h>

namespace kemptor::lsp {
namespace {

TEST(TextDocument, CutsLinesAsTheEngineDoesAndKeepsEachLineEnd) {
    const TextDocument doc("a\r\nb\nc\rd");
    ASSERT_EQ(doc.LineCount(), 4u);
    EXPECT_EQ(doc.Line(1), "b");
    EXPECT_EQ(doc.Line(3), "d");
    EXPECT_EQ(doc.LineEnd(), "\r\n");
    EXPECT_FALSE(doc.EndsWithLineEnd());
    EXPECT_EQ(TextDocument("x\ny\r\n").LineEnd(), "\n");
    EXPECT_TRUE(TextDocument("x\ny\r\n").EndsWithLineEnd());
    EXPECT_EQ(TextDocument("x\ny\r\n").LineCount(), 2u);
    EXPECT_EQ(TextDocument("").LineCount(), 0u);
    EXPECT_EQ(TextDocument("one line").LineEnd(), "\r\n"); // none in the text: a Visual Basic file's
}

TEST(TextDocument, PositionsCountUtf16CodeUnits) {
    // "é" is one unit in two bytes, the emoji two units in four bytes.
    const TextDocument doc("x = \"\xC3\xA9\xF0\x9F\x98\x80z\"\r\nnext\r\n");
    EXPECT_EQ(doc.OffsetOf({0, 5}), 5u);
    EXPECT_EQ(doc.OffsetOf({0, 6}), 7u);
    EXPECT_EQ(doc.OffsetOf({0, 8}), 11u);
    EXPECT_EQ(doc.OffsetOf({0, 7}), 7u); // inside the pair: the character's start
    EXPECT_EQ(doc.OffsetOf({0, 99}), 13u);
    EXPECT_EQ(doc.OffsetOf({1, 2}), 17u);
    EXPECT_EQ(doc.OffsetOf({9, 0}), doc.Text().size());
    EXPECT_EQ(doc.PositionOf(11), (Position{0, 8}));
    EXPECT_EQ(doc.PositionOf(15), (Position{1, 0}));
    EXPECT_EQ(doc.PositionOf(doc.Text().size()), (Position{2, 0})); // after the final line end
}

TEST(TextDocument, IncrementalChangesReplaceTheirRange) {
    TextDocument doc("Sub A()\nx = 1\nEnd Sub\n");
    doc.Replace({1, 4}, {1, 5}, "22");
    EXPECT_EQ(doc.Text(), "Sub A()\nx = 22\nEnd Sub\n");
    doc.Replace({0, 7}, {2, 0}, "\n");
    EXPECT_EQ(doc.Text(), "Sub A()\nEnd Sub\n");
    EXPECT_EQ(doc.LineCount(), 2u);
}

TEST(TextEncoding, TheEngineReadsWindows1252WhereTheTextAllowsIt) {
    EXPECT_EQ(Utf8ToWindows1252("caf\xC3\xA9 \xE2\x82\xAC"), std::string("caf\xE9 \x80"));
    EXPECT_EQ(Windows1252ToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_FALSE(Utf8ToWindows1252("\xE4\xB8\xAD").has_value()); // a CJK character
    EXPECT_FALSE(Utf8ToWindows1252("\xC3").has_value());         // not UTF-8
    EXPECT_EQ(Utf16Length("a\xC3\xA9\xF0\x9F\x98\x80"), 4u);
}

TEST(FileUri, GivesTheHostPathOfFileUrisOnly) {
    EXPECT_EQ(PathOfUri("file:///home/ann/My%20Project/Main.bas"), "/home/ann/My Project/Main.bas");
    EXPECT_EQ(PathOfUri("file:///c%3A/src/Main.bas"), "c:/src/Main.bas");
    EXPECT_EQ(PathOfUri("file://server/share/A.bas"), "//server/share/A.bas");
    EXPECT_EQ(PathOfUri("FILE://localhost/tmp/A.bas"), "/tmp/A.bas");
    EXPECT_EQ(PathOfUri("untitled:Untitled-1"), "");
}

std::vector<std::string> Lines(std::initializer_list<const char*> lines) {
    return std::vector<std::string>(lines.begin(), lines.end());
}

TEST(LineChanges, LinesThatOnlyMoveAreEditsOfTheirOwnAndRestructuredOnesABlock) {
    const TextDocument doc("Sub A()\nx = 1\nIf x Then y = 2\nz = 3\nEnd Sub\n");
    const auto formatted = Lines({"Sub A()", "    x = 1", "    If x Then", "        y = 2", "    End If",
                                  "    z = 3", "End Sub"});
    const auto changes = FindLineChanges(doc, formatted);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].oldStart, 1u);
    EXPECT_EQ(changes[0].oldCount, 1u);
    EXPECT_EQ(changes[1].oldStart, 2u); // the split If: one line becomes three
    EXPECT_EQ(changes[1].oldCount, 1u);
    EXPECT_EQ(changes[1].newCount, 3u);
    EXPECT_EQ(changes[2].oldStart, 3u);
    // Only the If's change touches line 2; its lines take the buffer's LF line ends.
    const auto touching = ChangesTouching(changes, 2, 2);
    ASSERT_EQ(touching.size(), 1u);
    const auto edits = EditsOf(doc, formatted, touching);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].text, "    If x Then\n        y = 2\n    End If\n");
    // Lines changed in place are edited without their line ends.
    const auto all = EditsOf(doc, formatted, changes);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(doc.Text().substr(all[0].start, all[0].end - all[0].start), "x = 1");
    EXPECT_EQ(all[0].text, "    x = 1");
}

TEST(LineChanges, TheLastLineKeepsHavingNoLineEnd) {
    const TextDocument doc("Sub A()\r\nx = 1\r\nEnd Sub");
    const auto formatted = Lines({"Sub A()", "    x = 1", "End Sub", "", "' added"});
    const auto edits = EditsOf(doc, formatted, FindLineChanges(doc, formatted));
    std::string text = doc.Text();
    for (auto e = edits.rbegin(); e != edits.rend(); ++e)
        text.replace(e->start, e->end - e->start, e->text);
    EXPECT_EQ(text, "Sub A()\r\n    x = 1\r\nEnd Sub\r\n\r\n' added");
}

TEST(LineChanges, ARangeWidensToTheWholeStatement) {
    const TextDocument doc("a = 1\nx = f(1, _\n  2, _\n  3)\nb = 2\n");
    std::size_t first = 2, last = 2;
    WidenToStatements(doc, first, last);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(last, 3u);
}

} // namespace
} // namespace kemptor::lsp
