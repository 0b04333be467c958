#include "formatter/StatementCuts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kemptor::cuts {
namespace {

std::vector<std::string> Strings(const std::vector<std::string_view>& views) {
    return {views.begin(), views.end()};
}

using Texts = std::vector<std::string>;

TEST(StatementCuts, FindsKeywordsAsWholeWordsOutsideLiteralsInAnyCase) {
    EXPECT_EQ(FindWord("If x then y = 1", "Then"), 5u);
    EXPECT_EQ(FindWord("If ThenValue = 1 Then y", "Then"), 17u);
    EXPECT_EQ(FindWord("If s = \" Then \" THEN y", "Then"), 16u);
    EXPECT_EQ(FindWord("Iffy = ThenCount + 1", "If"), npos);
    EXPECT_EQ(FindWord("Iffy = ThenCount + 1", "Then"), npos);
    EXPECT_EQ(FindWord("x = obj.Then + rs!Else", "Then"), npos);
    EXPECT_EQ(FindWord("x = obj.Then + rs!Else", "Else"), npos);
    EXPECT_EQ(FindWord("a Else b Else c", "Else", 3), 9u);
    EXPECT_TRUE(StartsWithWord("   if(x) Then", "If"));
    EXPECT_FALSE(StartsWithWord("Iffy = 1", "If"));
}

TEST(StatementCuts, CutsCommaListsOutsideLiteralsAndParentheses) {
    EXPECT_EQ(Strings(CommaItems("a,b")), (Texts{"a", "b"}));
    EXPECT_EQ(Strings(CommaItems(" A = 1,B = 2 ")), (Texts{"A = 1", "B = 2"}));
    EXPECT_EQ(Strings(CommaItems("S = \"x, y\", T = 1")), (Texts{"S = \"x, y\"", "T = 1"}));
    EXPECT_EQ(Strings(CommaItems("m(1, 2) As Integer, n")), (Texts{"m(1, 2) As Integer", "n"}));
    EXPECT_EQ(Strings(CommaItems("A = (1 + (2, 3)), B")), (Texts{"A = (1 + (2, 3))", "B"}));
    EXPECT_EQ(Strings(CommaItems("x")), (Texts{"x"}));
    // A doubled quote inside a literal keeps it open.
    EXPECT_EQ(Strings(CommaItems("S = \"a \"\",\"\" b\", T")), (Texts{"S = \"a \"\",\"\" b\"", "T"}));
}

TEST(StatementCuts, CutsStatementsAtRealColonsOnly) {
    EXPECT_EQ(Strings(Statements("a = 1: b = 2")), (Texts{"a = 1", "b = 2"}));
    EXPECT_EQ(Strings(Statements("x = \"a:b\": y = 1")), (Texts{"x = \"a:b\"", "y = 1"}));
    EXPECT_EQ(Strings(Statements("Foo a:=1, b:=2")), (Texts{"Foo a:=1, b:=2"}));
    EXPECT_EQ(Strings(Statements("a = 1::b = 2:")), (Texts{"a = 1", "b = 2"}));
    EXPECT_EQ(Strings(Statements("Case 1: x = 2")), (Texts{"Case 1", "x = 2"}));
}

TEST(StatementCuts, LeavesRemCommentsAndSingleLineIfsWhole) {
    EXPECT_EQ(Strings(Statements("Rem note: more")), (Texts{"Rem note: more"}));
    EXPECT_EQ(Strings(Statements("x = 1: Rem note: more")), (Texts{"x = 1", "Rem note: more"}));
    EXPECT_EQ(Strings(Statements("x = 1: REM")), (Texts{"x = 1", "REM"}));
    EXPECT_EQ(Strings(Statements("Remove: x = 1")), (Texts{"Remove", "x = 1"}));
    EXPECT_EQ(Strings(Statements("If a Then b = 1: c = 2")), (Texts{"If a Then b = 1: c = 2"}));
    EXPECT_EQ(Strings(Statements("x = 0: If a Then b = 1: c = 2")),
              (Texts{"x = 0", "If a Then b = 1: c = 2"}));
    EXPECT_EQ(Strings(Statements("Iffy = 1: c = 2")), (Texts{"Iffy = 1", "c = 2"}));
}

TEST(StatementCuts, TakesApartSingleLineIfs) {
    auto plain = CutSingleLineIf("If a = 1 Then b = 2");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->head, "If a = 1 Then");
    EXPECT_EQ(plain->thenPart, "b = 2");
    EXPECT_FALSE(plain->hasElse);

    auto lower = CutSingleLineIf("if x then y = \"Then Else\" else y = 2");
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->head, "If x Then");
    EXPECT_EQ(lower->thenPart, "y = \"Then Else\"");
    EXPECT_TRUE(lower->hasElse);
    EXPECT_EQ(lower->elsePart, "y = 2");

    auto names = CutSingleLineIf("If ThenValue Then ElseCount = 1 Else ElseCount = 2");
    ASSERT_TRUE(names);
    EXPECT_EQ(names->head, "If ThenValue Then");
    EXPECT_EQ(names->thenPart, "ElseCount = 1");
    EXPECT_EQ(names->elsePart, "ElseCount = 2");

    auto elseIf = CutSingleLineIf("If a Then b Else If c Then d Else e");
    ASSERT_TRUE(elseIf);
    EXPECT_EQ(elseIf->thenPart, "b");
    EXPECT_EQ(elseIf->elsePart, "If c Then d Else e");

    auto emptyThen = CutSingleLineIf("If a Then Else b = 1");
    ASSERT_TRUE(emptyThen);
    EXPECT_EQ(emptyThen->thenPart, "");
    EXPECT_EQ(emptyThen->elsePart, "b = 1");
}

TEST(StatementCuts, RefusesIfsItCannotCutSafely) {
    EXPECT_FALSE(CutSingleLineIf("If a Then"));
    EXPECT_FALSE(CutSingleLineIf("If a Then _"));
    EXPECT_FALSE(CutSingleLineIf("Iffy = ThenCount + 1"));
    EXPECT_FALSE(CutSingleLineIf("If a = \"Then x\""));
    EXPECT_FALSE(CutSingleLineIf("If a Then If b Then c Else d"));
    EXPECT_FALSE(CutSingleLineIf("If a Then b Else"));
    EXPECT_FALSE(CutSingleLineIf("x = 1"));
}

TEST(StatementCuts, RecognisesDeclarationsWhoseNameIsAKeyword) {
    EXPECT_TRUE(IsWordAsDeclaration("Type As Integer"));
    EXPECT_TRUE(IsWordAsDeclaration("    Type                As Long"));
    EXPECT_TRUE(IsWordAsDeclaration("Next      As Long"));
    EXPECT_TRUE(IsWordAsDeclaration("next as long"));
    EXPECT_TRUE(IsWordAsDeclaration("Loop(1 To 3) As Integer"));
    EXPECT_TRUE(IsWordAsDeclaration("Name As String * 20"));
    EXPECT_FALSE(IsWordAsDeclaration("Next i"));
    EXPECT_FALSE(IsWordAsDeclaration("Next"));
    EXPECT_FALSE(IsWordAsDeclaration("Type Point"));
    EXPECT_FALSE(IsWordAsDeclaration("Dim a As Long"));
    EXPECT_FALSE(IsWordAsDeclaration("Name a As b"));
    EXPECT_FALSE(IsWordAsDeclaration("Assert x"));
    EXPECT_FALSE(IsWordAsDeclaration("Loop(1 As"));
}

} // namespace
} // namespace kemptor::cuts
