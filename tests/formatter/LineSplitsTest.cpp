#include "formatter/LineSplits.h"

#include <gtest/gtest.h>

namespace kemptor {
namespace {

TEST(SplitIfThen, MakesABlockOfAPlainSingleLineIf) {
    EXPECT_EQ(SplitIfThenPieces("If a = 1 Then b = 2"),
              (TextLines{"  If a = 1 Then ", "  b = 2", "  End If"}));
    EXPECT_EQ(SplitIfThenPieces("    If a Then b = 1: c = 2 ' both"),
              (TextLines{"  If a Then      ' both", "  b = 1: c = 2", "  End If"}));
}

TEST(SplitIfThen, MakesABlockWithElse) {
    EXPECT_EQ(SplitIfThenPieces("If a Then b = 1 Else b = 2 ' note"),
              (TextLines{"If a Then      ' note", "b = 1 ", "Else", "b = 2", "End If"}));
    EXPECT_EQ(SplitIfThenPieces("If a Then Else b = 2"),
              (TextLines{"If a Then ", "Else", "b = 2", "End If"}));
}

TEST(SplitIfThen, CutsAtRealKeywordsInAnyCase) {
    EXPECT_EQ(SplitIfThenPieces("if x then y = 1"), (TextLines{"  If x Then ", "  y = 1", "  End If"}));
    EXPECT_EQ(SplitIfThenPieces("If ThenValue > 0 Then s = \" Else \" ELSE s = \"Then\""),
              (TextLines{"If ThenValue > 0 Then ", "s = \" Else \" ", "Else", "s = \"Then\"", "End If"}));
    EXPECT_EQ(SplitIfThenPieces("If a Then x = ElseValue"),
              (TextLines{"  If a Then ", "  x = ElseValue", "  End If"}));
}

TEST(SplitIfThen, LeavesLinesItCannotCutSafely) {
    EXPECT_FALSE(SplitIfThenPieces("Iffy = ThenCount + 1"));
    EXPECT_FALSE(SplitIfThenPieces("If a Then"));
    EXPECT_FALSE(SplitIfThenPieces("If a Then _"));
    EXPECT_FALSE(SplitIfThenPieces("If a Then b = 1 ' and _"));
    EXPECT_FALSE(SplitIfThenPieces("If a Then If b Then c = 1 Else c = 2"));
}

TEST(SplitStatements, PutsEachStatementOnItsOwnLineWithTheComment) {
    EXPECT_EQ(SplitStatementPieces(" a = 1: b = 2 ' set"), (TextLines{"a = 1     ' set", "b = 2     ' set"}));
    EXPECT_EQ(SplitStatementPieces(" x = \"a:b\": y = 1"), (TextLines{"x = \"a:b\"", "y = 1"}));
    EXPECT_EQ(SplitStatementPieces(" a=1:b=2"), (TextLines{"a=1", "b=2"}));
}

TEST(SplitStatements, LeavesLabelsNamedArgumentsIfsRemAndContinuations) {
    EXPECT_FALSE(SplitStatementPieces("Lbl: x = 1"));
    EXPECT_FALSE(SplitStatementPieces(" Call Foo(a:=1, b:=2)"));
    EXPECT_EQ(SplitStatementPieces(" Call Foo(a:=1): x = 2"), (TextLines{"Call Foo(a:=1)", "x = 2"}));
    EXPECT_FALSE(SplitStatementPieces(" If a Then b = 1: c = 2"));
    EXPECT_FALSE(SplitStatementPieces(" Rem a: b"));
    EXPECT_FALSE(SplitStatementPieces(" a = 1: b = _"));
    EXPECT_FALSE(SplitStatementPieces(" a = 1: b = 2 ' continued _"));
    EXPECT_FALSE(SplitStatementPieces(" a = 1:"));
    EXPECT_EQ(SplitStatementPieces(" x = 1: Rem a: b"), (TextLines{"x = 1", "Rem a: b"}));
}

TEST(SplitMultiVar, SplitsWithoutCorrectingTypes) {
    EXPECT_EQ(SplitMultiVarPieces("Dim a, b, c", false), (TextLines{"Dim a", "Dim b", "Dim c"}));
    EXPECT_EQ(SplitMultiVarPieces("Dim a,b", false), (TextLines{"Dim a", "Dim b"}));
    EXPECT_EQ(SplitMultiVarPieces("  static x As Long ,y ' n", false),
              (TextLines{"Static x As Long    ' n", "Static y    ' n"}));
    EXPECT_EQ(SplitMultiVarPieces("Global s As String * 5, t", false),
              (TextLines{"Global s As String * 5", "Global t"}));
}

TEST(SplitMultiVar, GivesEachVariableTheTypeWrittenAfterIt) {
    EXPECT_EQ(SplitMultiVarPieces("Dim a, b As Integer, c As Long", true),
              (TextLines{"Dim a As Integer ", "Dim b As Integer ", "Dim c As Long "}));
    EXPECT_EQ(SplitMultiVarPieces("dim a, b as string", true),
              (TextLines{"Dim a As string ", "Dim b As string "}));
    EXPECT_EQ(SplitMultiVarPieces("Dim a, b, c", true), (TextLines{"Dim a", "Dim b", "Dim c"}));
    EXPECT_EQ(SplitMultiVarPieces("Dim a As Long,b", true), (TextLines{"Dim a As Long ", "Dim b"}));
    EXPECT_EQ(SplitMultiVarPieces("Dim a, b As ' odd", true),
              (TextLines{"Dim a As Variant     ' odd", "Dim b As Variant     ' odd"}));
    EXPECT_EQ(SplitMultiVarPieces("Dim Asx, b As Col", true),
              (TextLines{"Dim Asx As Col ", "Dim b As Col "}));
}

TEST(SplitMultiVar, LeavesBoundsAndBrokenListsAlone) {
    EXPECT_FALSE(SplitMultiVarPieces("Dim m(1, 2) As Integer", true));
    EXPECT_FALSE(SplitMultiVarPieces("Dim a,", false));
    EXPECT_FALSE(SplitMultiVarPieces("Dim a, _", false));
    EXPECT_FALSE(SplitMultiVarPieces("Public x, y", false));
    EXPECT_FALSE(SplitMultiVarPieces("Static Sub Tick(a, b)", false));
}

TEST(SplitMultiConst, SplitsAtRealCommas) {
    EXPECT_EQ(SplitMultiConstPieces("Global Const A = 1, B = 2"),
              (TextLines{"Global Const A = 1", "Global Const B = 2"}));
    EXPECT_EQ(SplitMultiConstPieces("Const A = 1,B = 2"), (TextLines{"Const A = 1", "Const B = 2"}));
    EXPECT_EQ(SplitMultiConstPieces("const S = \"x, y\", T = 1 ' two"),
              (TextLines{"Const S = \"x, y\"     ' two", "Const T = 1     ' two"}));
    EXPECT_FALSE(SplitMultiConstPieces("Private Const A = 1, B = 2"));
    EXPECT_FALSE(SplitMultiConstPieces("Const S = \"x, y\""));
}

TEST(SplitMultiVar, VariantFunctionsWorkOnTheRemainingList) {
    std::string rest = " a, b As Integer, c As Long";
    EXPECT_EQ(FirstVarName(rest), "a");
    EXPECT_EQ(FirstVarType(rest), " As Integer ");
    DropFirstVar(rest);
    EXPECT_EQ(rest, " b As Integer, c As Long");
    DropFirstVar(rest);
    DropFirstVar(rest);
    EXPECT_EQ(rest, "");
    EXPECT_EQ(FirstVarType(" x"), "");
}

} // namespace
} // namespace kemptor
