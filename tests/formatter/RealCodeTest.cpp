// Forms of real Visual Basic 3 to 6 and VBA code that the engine once refused or formatted wrongly:
// each case formats to its expected text in one run, and the code check lets the result through.
#include "FormatTestSupport.h"

#include "formatter/CodeTokenGuard.h"

namespace kemptor::test {
namespace {

// Formats `code`, expects `expected`, a result the code check accepts and a second run that changes
// nothing.
void VerifyKept(std::string_view expected, std::string_view code, const Settings& settings,
                TSourceKind kind = skModule) {
    const std::vector<std::string> input = SplitLines(code);
    const std::vector<std::string> output = FormatLines(input, settings, kind).Texts();
    EXPECT_EQ(std::string(expected), JoinLines(output));
    const auto mismatch = CompareCodeTokens(input, output, settings);
    EXPECT_FALSE(mismatch) << "refused at line " << mismatch->originalLine;
    EXPECT_EQ(output, FormatLines(output, settings, kind).Texts()) << "not stable";
}

TEST(ThenColon, TheEmptyStatementAfterThenOrElseIsDroppedBySplitting) {
    VerifyKept("Sub A()\n"
               "    If x Then \n"
               "        y = 1\n"
               "    End If\n"
               "    If n = 8 Then \n"
               "        a(i) = b\n"
               "        n = 0\n"
               "        i = i + 1\n"
               "    End If\n"
               "    If a Then \n"
               "        b = 1 \n"
               "    Else\n"
               "        c = 2\n"
               "    End If\n"
               "End Sub",
               "Sub A()\n"
               "If x Then: y = 1\n"
               "If n = 8 Then: a(i) = b: n = 0: i = i + 1\n"
               "If a Then b = 1 Else: c = 2\n"
               "End Sub",
               Splitting());
}

TEST(ThenColon, WithoutTheIfSplitTheLineStaysAndTheCheckReadsItAsASingleLineIf) {
    Settings s = IndentOnly();
    s.MultiStatementSplit = true;
    VerifyKept("Sub A()\n"
               "    If x Then: y = 1: z = 2\n"
               "    w = 3\n"
               "End Sub",
               "Sub A()\n"
               "If x Then: y = 1: z = 2\n"
               "w = 3\n"
               "End Sub",
               s);
    // Moving a statement out of the If is a change of the code.
    EXPECT_TRUE(CompareCodeTokens(SplitLines("If x Then: y = 1: z = 2"),
                                  SplitLines("If x Then\ny = 1\nEnd If\nz = 2"), s));
}

TEST(EmptyComment, AnApostropheAloneSurvivesEverySplitAndNextRewrite) {
    Settings s = Splitting();
    VerifyKept("Sub A()\n"
               "    x = 1     '\n"
               "    y = 2     '\n"
               "    Dim a As Boolean     '\n"
               "    Dim b As Boolean     '\n"
               "    If a Then      '\n"
               "        b = 1\n"
               "    End If\n"
               "    Const K = 1     '\n"
               "    Const L = 2     '\n"
               "End Sub",
               "Sub A()\n"
               "x = 1: y = 2 '\n"
               "Dim a As Boolean, b As Boolean  '\n"
               "If a Then b = 1 '\n"
               "Const K = 1, L = 2 '\n"
               "End Sub",
               s);
    for (const int mode : {1, 2}) {
        Settings next = IndentOnly();
        next.GrpForNextProcessing = mode;
        VerifyKept(mode == 1 ? "For c = 1 To 2\nNext c    '" : "For c = 1 To 2\nNext    '",
                   "For c = 1 To 2\nNext c '", next);
    }
}

constexpr std::string_view kInserted = "Option Explicit     'Force all variables to be declared before their use";

TEST(OptionExplicit, FoundInAnyIndentationAndLetterCaseAndPutInColumnOne) {
    Settings s = IndentOnly();
    s.OptionExplicitInsert = true;
    VerifyKept("Option Explicit\nDim a", "   Option Explicit\nDim a", s);
    VerifyKept("option explicit ' all\nDim a", "\toption explicit ' all\nDim a", s);
}

TEST(OptionExplicit, GoesAfterTheLastHeaderLineAndTheCheckRefusesItElsewhere) {
    Settings s = IndentOnly();
    s.OptionExplicitInsert = true;
    const std::string inserted(kInserted);
    VerifyKept("\nAttribute VB_Name = \"M\"\n" + inserted + "\n\nSub A()\nEnd Sub",
               "\nAttribute VB_Name = \"M\"\nSub A()\nEnd Sub", s);
    VerifyKept("VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\n\nAttribute VB_Name = \"C\"\n"
               "Attribute VB_Exposed = False\n" +
                   inserted + "\n\nPrivate m As Long",
               "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1  'True\nEND\n\nAttribute VB_Name = \"C\"\n"
               "Attribute VB_Exposed = False\nPrivate m As Long",
               s, skClass);
    VerifyKept("VERSION 5.00\nBegin {C62A69F0-16DC-11CE-9E98-00AA00656041} UserForm1\n   Caption = \"U\"\nEnd\n"
               "Attribute VB_Name = \"UserForm1\"\n" +
                   inserted + "\n\nPrivate Sub UserForm_Click()\nEnd Sub",
               "VERSION 5.00\nBegin {C62A69F0-16DC-11CE-9E98-00AA00656041} UserForm1\n   Caption = \"U\"\nEnd\n"
               "Attribute VB_Name = \"UserForm1\"\nPrivate Sub UserForm_Click()\nEnd Sub",
               s, skForm);
    // Above the Attribute lines, or above the designer part, the editor no longer reads the header.
    const auto above = CompareCodeTokens(SplitLines("\nAttribute VB_Name = \"M\"\nSub A()\nEnd Sub"),
                                         SplitLines(inserted + "\n\nAttribute VB_Name = \"M\"\nSub A()\nEnd Sub"), s);
    ASSERT_TRUE(above);
    EXPECT_EQ(3u, above->originalLine);
    EXPECT_TRUE(CompareCodeTokens(SplitLines("VERSION 1.0 CLASS\nBEGIN\nEND\nDim a"),
                                  SplitLines(inserted + "\nVERSION 1.0 CLASS\nBEGIN\nEND\nDim a"), s));
}

TEST(OptionExplicit, OneAnywhereInTheFileIsFoundAndStaysWhereItStands) {
    // A stray Option Explicit below a procedure is the user's: none goes in besides it, it does not
    // move, and the code check lets the file through.
    Settings s = IndentOnly();
    s.OptionExplicitInsert = true;
    VerifyKept("Attribute VB_Name = \"M\"\nSub A()\nEnd Sub\nOption Explicit\nSub B()\nEnd Sub",
               "Attribute VB_Name = \"M\"\nSub A()\nEnd Sub\nOption Explicit\nSub B()\nEnd Sub", s);
    VerifyKept("Sub A()\n    x = 1\n    option explicit\nEnd Sub", "Sub A()\nx = 1\n  option explicit\nEnd Sub", s);
}

TEST(ByteOrderMark, StaysAtByteZeroAndIsNoTextOfTheFirstLine) {
    Settings s = IndentOnly();
    s.OptionExplicitInsert = true;
    const std::string mark = "\xEF\xBB\xBF";
    VerifyKept(mark + std::string(kInserted) + "\n\nSub A()\n    x = 1\nEnd Sub", mark + "Sub A()\nx = 1\nEnd Sub",
               s);
    VerifyKept(mark + "Attribute VB_Name = \"M\"\n" + std::string(kInserted) + "\n\nDim a",
               mark + "Attribute VB_Name = \"M\"\nDim a", s);
    // The mark moved off byte 0 is refused.
    EXPECT_TRUE(CompareCodeTokens(SplitLines(mark + "Sub A()\nEnd Sub"),
                                  SplitLines(std::string(kInserted) + "\n" + mark + "Sub A()\nEnd Sub"), s));
}

TEST(Headers, NamePropertyFriendAndStaticProcedures) {
    Settings s = IndentOnly();
    s.SubLevelCommentsPerform = s.FunctionLevelCommentsPerform = true;
    const std::string out = FormatWithHeaders("Public Property Get Item(ByVal i As Long) As Variant\nEnd Property\n"
                                              "Friend Sub Init()\nEnd Sub\n"
                                              "Private Static Function Tick(n As Long) As Long\nEnd Function",
                                              s);
    EXPECT_NE(std::string::npos, out.find("' Item -> As Variant")) << out;
    EXPECT_NE(std::string::npos, out.find("' Init() by")) << out;
    EXPECT_NE(std::string::npos, out.find("' Tick -> As Long")) << out;
    EXPECT_EQ(std::string::npos, out.find("' Unknown")) << out;
}

TEST(LineNumbers, ALeadingNumberIsALabelAndTheStatementAfterItIsIndented) {
    VerifyKept("Sub A()\n"
               "100 If a Then\n"
               "110     b = 1\n"
               "115     For i = 1 To 2\n"
               "116         If i Then c = 1: d = 2\n"
               "117     Next i\n"
               "120 End If\n"
               "130 End Sub",
               "Sub A()\n"
               "100 If a Then\n"
               "110 b = 1\n"
               "115 For i = 1 To 2\n"
               "116 If i Then c = 1: d = 2\n"
               "117 Next i\n"
               "120 End If\n"
               "130 End Sub",
               Splitting());
}

TEST(LineNumbers, NumberedForLinesOpenLoopsThatTheNextLinesName) {
    // A loop opened after a line number is the loop that the next Next closes: it names that loop's
    // variable, not the one of the loop around it. A numbered Next is rewritten as any other, its
    // number kept in its column; the code check reads the number as the line's label.
    Settings s = IndentOnly();
    s.GrpForNextProcessing = 1;
    VerifyKept("Sub A()\n"
               "100 For i = 1 To 10\n"
               "110     For j = 1 To 2\n"
               "        Next j    \n"
               "125     For k = 1 To 2: Next k\n"
               "    Next i    ' done\n"
               "200 For n = 1 To 2\n"
               "210 Next n    \n"
               "End Sub",
               "Sub A()\n"
               "100 For i = 1 To 10\n"
               "110 For j = 1 To 2\n"
               "Next\n"
               "125 For k = 1 To 2: Next k\n"
               "Next ' done\n"
               "200 For n = 1 To 2\n"
               "210 Next\n"
               "End Sub",
               s);
    s.GrpForNextProcessing = 2;
    VerifyKept("Sub A()\n"
               "100 For i = 1 To 10\n"
               "110     x = i\n"
               "120 Next    ' i\n"
               "End Sub",
               "Sub A()\n"
               "100 For i = 1 To 10\n"
               "110 x = i\n"
               "120 Next i ' i\n"
               "End Sub",
               s);
}

TEST(Continuation, AContinuedBlockStatementGoesOnFromItsHeadingsIndentation) {
    // The continuation line belongs to the heading, not to the block the heading opens.
    VerifyKept("Sub A()\n"
               "    If a = 1 And _\n"
               "        b = 2 Then\n"
               "        For i = 1 To _\n"
               "            10\n"
               "            c = 3\n"
               "        Next\n"
               "    ElseIf a = 2 Or _\n"
               "        b = 3 Then\n"
               "        Select Case _\n"
               "            n\n"
               "            Case 1, _\n"
               "                2\n"
               "                c = 4\n"
               "        End Select\n"
               "    End If\n"
               "100 Do While a And _\n"
               "        b\n"
               "    Loop\n"
               "End Sub",
               "Sub A()\n"
               "If a = 1 And _\n"
               "b = 2 Then\n"
               "For i = 1 To _\n"
               "10\n"
               "c = 3\n"
               "Next\n"
               "ElseIf a = 2 Or _\n"
               "b = 3 Then\n"
               "Select Case _\n"
               "n\n"
               "Case 1, _\n"
               "2\n"
               "c = 4\n"
               "End Select\n"
               "End If\n"
               "100 Do While a And _\n"
               "b\n"
               "Loop\n"
               "End Sub",
               IndentOnly());
}

TEST(LetterCase, KeywordsInAnyCaseOpenAndCloseBlocksAndKeepTheirCase) {
    VerifyKept("SUB A()\n"
               "    if x then\n"
               "        select case n\n"
               "            case 1\n"
               "                do while y\n"
               "                    y = y - 1\n"
               "                loop\n"
               "        end select\n"
               "    END IF\n"
               "End sub\n"
               "private function F() as long\n"
               "    with Me\n"
               "    end with\n"
               "end function",
               "SUB A()\n"
               "if x then\n"
               "select case n\n"
               "case 1\n"
               "do while y\n"
               "y = y - 1\n"
               "loop\n"
               "end select\n"
               "END IF\n"
               "End sub\n"
               "private function F() as long\n"
               "with Me\n"
               "end with\n"
               "end function",
               IndentOnly());
}

TEST(BlankLines, AContinuedBlockStatementGetsItsBlankLineAfterItsLastLine) {
    Settings s = IndentOnly();
    s.GrpBlankLines = 1;
    s.BlankLinesLoopAfter = 1;
    s.BlankLinesIfThenAfter = 1;
    VerifyKept("Sub A()\n"
               "\n"
               "    Do\n"
               "    Loop Until a = 1 Or _\n"
               "        b = 2\n"
               "\n"
               "\n"
               "    If a = 1 And _\n"
               "        b = 2 Then\n"
               "\n"
               "        c = 3\n"
               "    End If\n"
               "\n"
               "End Sub",
               "Sub A()\n"
               "Do\n"
               "Loop Until a = 1 Or _\n"
               "b = 2\n"
               "If a = 1 And _\n"
               "b = 2 Then\n"
               "c = 3\n"
               "End If\n"
               "End Sub",
               s);
}

TEST(TrailingBlanks, RemovedFromEveryLineWhenAskedForAndKeptByDefault) {
    Settings s = Splitting();
    s.GrpForNextProcessing = 1;
    const std::string code = "Sub A()\nIf x Then y = 1\nFor i = 1 To 2\nNext\nEnd Sub  ";
    EXPECT_EQ("Sub A()\n    If x Then \n        y = 1\n    End If\n    For i = 1 To 2\n    Next i    \nEnd Sub  ",
              Format(code, s));
    s.TrimTrailingBlanks = true;
    VerifyKept("Sub A()\n    If x Then\n        y = 1\n    End If\n    For i = 1 To 2\n    Next i\nEnd Sub", code, s);
}

} // namespace
} // namespace kemptor::test
