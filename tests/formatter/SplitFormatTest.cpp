#include "FormatTestSupport.h"

namespace kemptor::test {
namespace {

TEST(SplitFormat, SingleLineIfBecomesAnIndentedBlock) {
    VerifyFormat("Sub Main()\n"
                 "    If a = 1 Then \n"
                 "        b = 2\n"
                 "    End If\n"
                 "    If a Then \n"
                 "        b = 1 \n"
                 "    Else\n"
                 "        b = 2\n"
                 "    End If\n"
                 "End Sub",
                 "Sub Main()\n"
                 "If a = 1 Then b = 2\n"
                 "  if a then b = 1 else b = 2\n"
                 "End Sub",
                 Splitting());
}

TEST(SplitFormat, StatementsAndDeclarationListsGoOnePerLine) {
    VerifyFormat("Const A = 1\n"
                 "Const B = 2\n"
                 "Sub Main()\n"
                 "    Dim a As Integer \n"
                 "    Dim b As Integer \n"
                 "    x = 1\n"
                 "    y = \"a:b\"\n"
                 "End Sub",
                 "Const A = 1,B = 2\n"
                 "Sub Main()\n"
                 " Dim a,b As Integer\n"
                 " x = 1: y = \"a:b\"\n"
                 "End Sub",
                 Splitting());
}

// Unindented legacy code is split like any other; a label is never cut off its line, where alone it
// would be a call.
TEST(SplitFormat, StatementsInTheFirstColumnAreSplitButLabelsStayWhole) {
    VerifyFormat("Sub Main()\n"
                 "    x = 1\n"
                 "    y = 2\n"
                 "    For i = 1 To 3\n"
                 "        x = x + i\n"
                 "    Next\n"
                 "    Do\n"
                 "        n = n + 1\n"
                 "    Loop Until n > 3\n"
                 "Retry: x = 1: y = 2\n"
                 "    Retry: x = 1\n"
                 "End Sub",
                 "Sub Main()\n"
                 "x = 1: y = 2\n"
                 "For i = 1 To 3: x = x + i: Next\n"
                 "Do: n = n + 1\n"
                 "Loop Until n > 3\n"
                 "Retry: x = 1: y = 2\n"
                 "  Retry: x = 1\n"
                 "End Sub",
                 Splitting());
}

TEST(SplitFormat, SplitIfBodyIsSplitAgainInTheNextPass) {
    VerifyFormat("Sub Main()\n"
                 "    If a Then \n"
                 "        b = 1\n"
                 "        c = 2\n"
                 "    End If\n"
                 "End Sub",
                 "Sub Main()\n"
                 "    If a Then b = 1: c = 2\n"
                 "End Sub",
                 Splitting());
}

TEST(SplitFormat, SingleLineIfStaysWholeWhenOnlyStatementsAreSplit) {
    Settings s = IndentOnly();
    s.MultiStatementSplit = true;
    VerifyFormat("Sub Main()\n"
                 "    If a Then b = 1: c = 2\n"
                 "    d = 1\n"
                 "    e = 2\n"
                 "End Sub",
                 "Sub Main()\n"
                 " If a Then b = 1: c = 2\n"
                 " d = 1: e = 2\n"
                 "End Sub",
                 s);
}

TEST(SplitFormat, ContinuedLinesAndTheirContinuationsAreNeverCut) {
    VerifyFormat("Sub Main()\n"
                 "    If a Then _\n"
                 "        b = 1\n"
                 "    Dim p, _\n"
                 "        q\n"
                 "    x = Foo(1, _\n"
                 "        2): y = 3\n"
                 "End Sub",
                 Splitting());
}

TEST(SplitFormat, RemAndContinuedCommentsAreNotCode) {
    Settings s = Splitting();
    s.GrpForNextProcessing = 2;
    VerifyFormat("Sub Main()\n"
                 "    Rem counts: up, down\n"
                 "    x = 1 ' the next line is comment text _\n"
                 "If you split: this, Next time\n"
                 "    ' so is this one _\n"
                 "For i = 1 To 2: Next\n"
                 "    y = 2\n"
                 "End Sub",
                 s);
}

TEST(SplitFormat, OnlyOneSplitterCutsALine) {
    // Cutting the declaration list first would copy "x = 1" into two declarations.
    VerifyFormat("Sub Main()\n"
                 "    Dim a As Long \n"
                 "    Dim b As Long \n"
                 "    x = 1\n"
                 "End Sub",
                 "Sub Main()\n"
                 " Dim a, b As Long: x = 1\n"
                 "End Sub",
                 Splitting());
}

TEST(SplitFormat, CommentsTravelWithThePieces) {
    Settings s = Splitting();
    s.GrpInLineComments = 1;
    s.InLineCommentsFixedColumn = 20;
    VerifyFormat("Sub Main()\n"
                 "    a = 1           'set\n"
                 "    b = 2           'set\n"
                 "    Dim c           'vars\n"
                 "    Dim d           'vars\n"
                 "End Sub",
                 "Sub Main()\n"
                 " a = 1: b = 2 ' set\n"
                 "Dim c, d ' vars\n"
                 "End Sub",
                 s);
}

TEST(SplitFormat, BoundsListsAreIndentedLikeAnyLine) {
    VerifyFormat("Sub Main()\n"
                 "    Dim m(1, 2) As Integer\n"
                 "End Sub",
                 "Sub Main()\n"
                 "Dim m(1, 2) As Integer\n"
                 "End Sub",
                 Splitting());
}

} // namespace
} // namespace kemptor::test
