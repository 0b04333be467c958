#include "formatter/LineHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace kemptor {
namespace {

using namespace std::string_literals;

TEST(LineHelpers, PositionsAndCountsStayInBounds) {
    EXPECT_EQ(3, LeadingSpaces("   "));
    EXPECT_EQ(0, LeadingSpaces("\tx")); // blanks only
    EXPECT_EQ("abc", LeftStr("abc", 9));
    EXPECT_EQ("", RightStr("abc", -1));
    EXPECT_EQ(4, PosFrom(3, "a:b:c", ":"));
    EXPECT_EQ(0, PosFrom(6, "a:b:c", ":"));
    EXPECT_EQ(0, PosFrom(1, "abc", ""));
}

TEST(LineHelpers, RepeatPatternCutsToLengthAndLimitsIt) {
    EXPECT_EQ("-=-=-", RepeatPattern("-=", 5));
    EXPECT_EQ(1000u, RepeatPattern("*", 5000).size());
    EXPECT_EQ("", RepeatPattern("", 10));
    EXPECT_EQ("", RepeatPattern("-", 0));
}

TEST(LineHelpers, ExpandTabsReplacesTabsOutsideLiteralsOnly) {
    EXPECT_EQ("    x", ExpandTabs("\tx", 4));
    EXPECT_EQ("        x", ExpandTabs("\t\tx", 4));
    EXPECT_EQ("a  b", ExpandTabs("a\tb", 2)); // no tab stops
    EXPECT_EQ("    s = \"a\tb\"", ExpandTabs("\ts = \"a\tb\"", 4));
    // After the comment's apostrophe quotes no longer open literals.
    EXPECT_EQ("x = 1 ' say \"  \"", ExpandTabs("x = 1 ' say \"\t\"", 2));
    EXPECT_EQ("x", ExpandTabs("\tx", 0));
}

TEST(LineHelpers, TrimRemovesControlCharactersButNotHighBytes) {
    EXPECT_EQ("x", Trim(" \t\r\0x\n "s));
    EXPECT_EQ("\xE9t\xE9", Trim("  \xE9t\xE9  "));
    EXPECT_EQ("x  ", TrimLeft("  x  "));
    EXPECT_EQ("  x", TrimRight("  x \r"));
    EXPECT_EQ("DIM \xE9", UpperCase("Dim \xE9"));
}

TEST(LineHelpers, CommentScannerSkipsApostrophesInLiterals) {
    const std::string line = "s = \"it's\" ' note";
    EXPECT_EQ(12, CommentPos(line));
    EXPECT_EQ(" note", CommentText(line));
    EXPECT_EQ("s = \"it's\"", StripComment(line));
    EXPECT_EQ("x = 1", StripComment("x = 1"));
    EXPECT_EQ("", CommentText("x = 1"));
    EXPECT_EQ(0, CommentPos("s = \"a \"\"quoted\"\" 'word\""));
    EXPECT_EQ("s = ", RemoveLiterals("s = \"abc\""));
    EXPECT_EQ("X =", UpperCodeText("  x = \"abc\" ' c  "));
    EXPECT_EQ(8, PosOutsideQuotes("a = \",\", b", ','));
    EXPECT_TRUE(InsideLiteralAt(6, "a = \"x:y\""));
    EXPECT_FALSE(InsideLiteralAt(3, "a = \"x:y\""));
    EXPECT_FALSE(InsideLiteralAt(0, "a"));
    EXPECT_FALSE(InsideLiteralAt(2, "a"));
}

TEST(LineHelpers, LineTestsFollowVisualBasicStoredForm) {
    EXPECT_TRUE(HasLiteral("x = \"a\""));
    EXPECT_FALSE(HasLiteral("x = 1 ' \"quoted\""));
    EXPECT_TRUE(IsContinuedLine("x = a & _"));
    EXPECT_TRUE(IsContinuedLine("x = a & _   ' more"));
    EXPECT_FALSE(IsContinuedLine("x = \"_\""));
    EXPECT_FALSE(IsContinuedLine("x = 1 ' _"));
}

TEST(LineHelpers, LabelLinesEndInAColonOrStartInColumnOne) {
    EXPECT_TRUE(IsLabelLine("Lbl1:"));
    EXPECT_TRUE(IsLabelLine("ErrHandler:   ' handler"));
    EXPECT_TRUE(IsLabelLine("Retry: x = 1"));
    EXPECT_FALSE(IsLabelLine("x = 1: y = 2"));
    EXPECT_FALSE(IsLabelLine(" x = 1: y = 2"));
    EXPECT_FALSE(IsLabelLine("x = \"a:b\""));
    EXPECT_FALSE(IsLabelLine(""));
    EXPECT_TRUE(HasStatementSeparator(" x = 1: y = 2"));
    EXPECT_TRUE(HasStatementSeparator("x = 1: y = 2"));
    EXPECT_FALSE(HasStatementSeparator("Retry: x = 1"));
    EXPECT_FALSE(HasStatementSeparator("    Call F(a:=1)"));
    EXPECT_FALSE(HasStatementSeparator("    s = \"a:b\""));
}

// Only a label before the first colon makes a label line; statements joined by ":" in the first
// column are statements, and a colon inside a literal, a comment or ":=" joins nothing.
TEST(LineHelpers, ALabelLineStartsWithALabelWord) {
    for (const char* label :
         {"Retry:", "Retry: x = 1", "Retry : x = 1", "ErrHandler: Resume Next", "10: x = 1", "Refresh: x = 1",
          "Retry: For i = 1 To 3", "    ErrHandler:", "\xE9t\xE9: x = 1", "Retry: s = \"a:b\" ' c: d"})
        EXPECT_TRUE(IsLabelLine(label)) << label;
    for (const char* statement :
         {"Do: n = n + 1", "do: n = n + 1", "Else: x = 1", "Loop: x = 1", "Next: x = 1", "End If: y = 2",
          "Do:", "Else:", "For i = 1 To 3: x = x + i: Next", "With obj: .A = 1: End With",
          "Select Case k: Case 1: y = 1", "Call F(a:=1)", "s = \"a:b\"", "x = 1 ' note: here",
          "    Retry: x = 1", "x$: y = 1", "_x: y = 1", "If a Then b = 1: c = 2", "Rem a: b"})
        EXPECT_FALSE(IsLabelLine(statement)) << statement;
    EXPECT_TRUE(IsLabelWord(" 1234 "));
    EXPECT_TRUE(IsLabelWord("Stopped"));
    EXPECT_FALSE(IsLabelWord("STOP"));
    EXPECT_FALSE(IsLabelWord(""));
    EXPECT_FALSE(IsLabelWord("x = 1"));
    // An indented "Retry: x = 1" is no label line, but it starts with a label: it is never cut.
    EXPECT_TRUE(StartsWithLabel("    Retry: x = 1"));
    EXPECT_FALSE(StartsWithLabel("    Do: x = 1"));
}

TEST(LineHelpers, SingleLineIfNeedsAStatementAfterAWholeWordThen) {
    EXPECT_TRUE(IsSingleLineIf("If x Then y = 1"));
    EXPECT_TRUE(IsSingleLineIf("  If a = 1 Then b = 2 Else b = 3 ' c"));
    EXPECT_FALSE(IsSingleLineIf("If x Then"));
    EXPECT_FALSE(IsSingleLineIf("If x Then   ' block form"));
    EXPECT_FALSE(IsSingleLineIf("If s = \"Then go\" Then"));
    // "Then" inside a name is not the keyword; such a line opens a block.
    EXPECT_FALSE(IsSingleLineIf("If Authenticated Then"));
    EXPECT_FALSE(IsSingleLineIf("If IsThenable(x) Then"));
    EXPECT_FALSE(IsSingleLineIf("IfThenCount = 2"));
    EXPECT_TRUE(IsSingleLineIf("If(x) Then y = 1"));
}

TEST(LineHelpers, DeclarationListTests) {
    EXPECT_TRUE(IsMultiConstDecl("Const A = 1, B = 2"));
    EXPECT_TRUE(IsMultiConstDecl("Global Const A = 1, B = 2"));
    EXPECT_FALSE(IsMultiConstDecl("Private Const A = 1, B = 2"));
    EXPECT_FALSE(IsMultiConstDecl("Const S = \"a,b\""));
    EXPECT_TRUE(IsMultiVarDecl("Dim a, b"));
    EXPECT_TRUE(IsMultiVarDecl("  dim a, b as string"));
    EXPECT_FALSE(IsMultiVarDecl("Global Const A = 1, B = 2"));
    EXPECT_FALSE(IsMultiVarDecl("Static Sub Tick(a, b)"));
    EXPECT_FALSE(IsMultiVarDecl("Public x, y"));
    EXPECT_FALSE(IsMultiVarDecl("Dim a ' x, y"));
    EXPECT_TRUE(HasBoundsList("Dim m(1, 2) As Integer"));
    EXPECT_FALSE(HasBoundsList("Dim a, b"));
}

TEST(LineHelpers, RawBytesNeverBreakTheScanners) {
    const std::string raw = "x = \"\xFF\xE9\0\r\" ' \x80\x81"s;
    EXPECT_EQ(12, CommentPos(raw));
    EXPECT_EQ(" \x80\x81", CommentText(raw));
    EXPECT_FALSE(IsLabelLine(raw));
    EXPECT_FALSE(IsSingleLineIf(raw));
    EXPECT_EQ(raw, ExpandTabs(raw, 4));
    const std::string nulOnly(5, '\0');
    EXPECT_EQ("", Trim(nulOnly));
    EXPECT_FALSE(IsContinuedLine(nulOnly));
}

} // namespace
} // namespace kemptor
