#include "FormatTestSupport.h"

#include "formatter/LineHelpers.h"

namespace kemptor::test {
namespace {

TEST(Indentation, FollowsTheBlockTableWithDefaultWidths) {
    VerifyFormat("Sub Main()\n"
                 "    If a Then\n"
                 "        x = 1\n"
                 "    Else\n"
                 "        x = 2\n"
                 "    End If\n"
                 "    Select Case n\n"
                 "        Case 1\n"
                 "            y = 1\n"
                 "        Case Else\n"
                 "            y = 2\n"
                 "    End Select\n"
                 "    z = a + _\n"
                 "        b\n"
                 "End Sub",
                 "Sub Main()\n"
                 "If a Then\n"
                 "x = 1\n"
                 "  Else\n"
                 "      x = 2\n"
                 "End If\n"
                 "Select Case n\n"
                 "Case 1\n"
                 "y = 1\n"
                 "Case Else\n"
                 "y = 2\n"
                 "End Select\n"
                 "z = a + _\n"
                 "b\n"
                 "        End Sub",
                 IndentOnly());
}

TEST(Indentation, EveryLoopAndBlockKindUsesItsOwnWidth) {
    Settings s = IndentOnly();
    s.DefaultLineIndent = 2;
    s.DoLoopIndent = 1;
    s.WhileWendIndent = 3;
    s.ForNextIndent = 5;
    s.TypeEndIndent = 6;
    s.WithEndIndent = 7;
    s.IfThenElseIndent = 2;
    VerifyFormat("Private Type Pt\n"
                 "      X As Long\n"
                 "End Type\n"
                 "Function F() As Long\n"
                 "  Do While a\n"
                 "   While b\n"
                 "      For i = 1 To 2\n"
                 "           With Me\n"
                 "                  .x = i\n"
                 "           End With\n"
                 "      Next i\n"
                 "   Wend\n"
                 "  Loop\n"
                 "  #If Win32 Then\n"
                 "    y = 1\n"
                 "  #ElseIf Win16 Then\n"
                 "    y = 2\n"
                 "  #End If\n"
                 "End Function",
                 s);
}

TEST(Indentation, UnevenSelectAndCaseWidths) {
    Settings s = IndentOnly();
    s.SelectCaseIndent = 2;
    s.CaseCodeIndent = 3;
    VerifyFormat("Sub S()\n"
                 "    Select Case n\n"
                 "      Case 1\n"
                 "         a = 1\n"
                 "      Case Else\n"
                 "         a = 2\n"
                 "    End Select\n"
                 "End Sub",
                 "Sub S()\nSelect Case n\nCase 1\na = 1\nCase Else\na = 2\nEnd Select\nEnd Sub", s);
}

// A heading is written at the level it finds; its body and what follows its end do not depend on it.
TEST(Indentation, ABodySitsAtTheBaseIndentWhateverCameBefore) {
    Settings s = IndentOnly();
    s.DefaultLineIndent = 3;
    VerifyFormat("Sub A()\n"
                 "   If x Then\n"
                 "       y = 1\n"
                 "       Sub B()\n"
                 "   z = 1\n"
                 "End Sub\n"
                 "Dim m As Long",
                 "Sub A()\nIf x Then\ny = 1\nSub B()\nz = 1\nEnd Sub\n  Dim m As Long", s);
}

TEST(Indentation, SingleLineIfDoesNotOpenABlockAndIsTrimmed) {
    VerifyFormat("Sub S()\n"
                 "    If x Then y = 1\n"
                 "    z = 2\n"
                 "End Sub",
                 "Sub S()\n      If x Then y = 1   \nz = 2\nEnd Sub", IndentOnly());
}

TEST(Indentation, ContinuationIndentOnlyForPlainStatements) {
    VerifyFormat("Sub S()\n"
                 "    If a And _\n"
                 "        b Then\n"
                 "        c = 1 + _\n"
                 "            2\n"
                 "    End If\n"
                 "End Sub",
                 "Sub S()\nIf a And _\nb Then\nc = 1 + _\n2\nEnd If\nEnd Sub", IndentOnly());
    // A continuation line that starts with a keyword is indented by its class alone.
    VerifyFormat("Sub S()\n"
                 "    If a Then\n"
                 "        x = F(a, _\n"
                 "    End If\n"
                 "End Sub",
                 "Sub S()\nIf a Then\nx = F(a, _\n  End If\nEnd Sub", IndentOnly());
}

TEST(Indentation, LabelsKeepTheirPosition) {
    VerifyFormat("Sub S()\n"
                 "    On Error GoTo ErrHandler\n"
                 "    x = 1\n"
                 "  Retry:\n"
                 "    x = 1: y = 2\n"
                 "    Exit Sub\n"
                 "ErrHandler:\n"
                 "    Resume Next\n"
                 "End Sub",
                 "Sub S()\nOn Error GoTo ErrHandler\nx = 1\n  Retry:\nx = 1: y = 2\nExit Sub\nErrHandler:\n"
                 "Resume Next\nEnd Sub",
                 IndentOnly());
}

// Blocks opened and closed by statements joined with ":" balance, whether the line starts in the first
// column (unindented legacy code) or is indented: the line after End Sub and the next procedure are
// where they belong. What follows the Then of a single-line If never moves the level.
TEST(Indentation, StatementsJoinedByAColonKeepTheLevelBalanced) {
    const char* const expected = "Sub A()\n"
                                 "    If a Then\n"
                                 "        Do: n = n + 1\n"
                                 "        Loop Until n > 3\n"
                                 "        x = 1: y = 2\n"
                                 "        For i = 1 To 3: x = x + i: Next\n"
                                 "        For i = 1 To 3: x = x + i\n"
                                 "            y = i\n"
                                 "        Next\n"
                                 "        For i = 1 To 2: For j = 1 To 2\n"
                                 "                x = i\n"
                                 "        Next j, i: Print a, b\n"
                                 "        With obj: .A = 1: End With\n"
                                 "        Select Case k: Case 1: y = 1\n"
                                 "            Case 2: y = 2\n"
                                 "        End Select\n"
                                 "        While a: a = a - 1: Wend\n"
                                 "        If b Then\n"
                                 "            y = 0\n"
                                 "        Else: x = 1\n"
                                 "        End If: y = 2\n"
                                 "        If a Then b = 1: c = 2\n"
                                 "        If a Then For i = 1 To 2: x = 1\n"
                                 "        s = \"a:b\": t = \"Do:\"\n"
                                 "        x = 1 ' note: For i = 1 To 3\n"
                                 "        Call F(a:=1)\n"
                                 "    End If\n"
                                 "    w = 3\n"
                                 "End Sub\n"
                                 "Sub B()\n"
                                 "    w = 4\n"
                                 "End Sub";
    std::string legacy;
    for (const std::string& line : SplitLines(expected))
        legacy += std::string(TrimLeft(line)) + "\n";
    VerifyFormat(expected, legacy, IndentOnly());
}

// A label line keeps its position, and a block that the statement after its label opens is closed by
// its partner. An indented label followed by a statement is indented as that statement.
TEST(Indentation, ABlockAfterALabelIsClosedByItsPartner) {
    VerifyFormat("Sub A()\n"
                 "Retry: For i = 1 To 3\n"
                 "        x = i\n"
                 "    Next\n"
                 "    L1: Do\n"
                 "        x = 1\n"
                 "    Loop\n"
                 "L2:\n"
                 "    w = 3\n"
                 "End Sub",
                 "Sub A()\n"
                 "Retry: For i = 1 To 3\n"
                 "x = i\n"
                 "Next\n"
                 "  L1: Do\n"
                 "x = 1\n"
                 "Loop\n"
                 "L2:\n"
                 "w = 3\n"
                 "End Sub",
                 IndentOnly());
}

TEST(Indentation, BlankLinesStayEmpty) {
    VerifyFormat("Sub S()\n    If a Then\n\n        b = 1\n\n    End If\nEnd Sub",
                 "Sub S()\nIf a Then\n        \nb = 1\n\nEnd If\nEnd Sub", IndentOnly());
}

TEST(Indentation, SurplusEndIfWritesNoBlanksUntilTheNextProcedure) {
    VerifyFormat("Sub S()\n"
                 "    a = 1\n"
                 "End If\n"
                 "End If\n"
                 "b = 1\n"
                 "Else\n"
                 "End Sub\n"
                 "Sub T()\n"
                 "    c = 1\n"
                 "End Sub",
                 "Sub S()\na = 1\nEnd If\n    End If\n  b = 1\nElse\nEnd Sub\nSub T()\nc = 1\nEnd Sub",
                 IndentOnly());
}

TEST(Indentation, OffLeavesEveryLineAlone) {
    Settings s = IndentOnly();
    s.CodeIndentPerform = false;
    VerifyFormat("Sub S()\nIf a Then\n      b = 1\n  End If\n   \nEnd Sub", s);
}

TEST(Indentation, AttributeLinesInsideProceduresStayInColumnOne) {
    VerifyFormat("Public Property Get Code() As String\n"
                 "Attribute Code.VB_UserMemId = 0\n"
                 "    Code = mCode\n"
                 "End Property",
                 IndentOnly());
}

TEST(Indentation, TabsAreExpandedBeforeIndentingButNotInsideLiterals) {
    Settings s = IndentOnly();
    s.TabWidth = 2;
    VerifyFormat("Sub S()\n    If a Then\n        s = \"a\tb\"  ' x  y\n    End If\nEnd Sub",
                 "Sub S()\n\tIf a Then\n\t\ts = \"a\tb\"\t' x\ty\n\tEnd If\nEnd Sub", s);
}

} // namespace
} // namespace kemptor::test
