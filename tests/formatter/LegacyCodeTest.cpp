// Code as it was written in VB3 to VB6 projects: Static and Friend procedures, bare End statements, date
// literals, type characters, line labels, continued statements and headings, #If blocks, Enums.
#include "FormatTestSupport.h"

#include "formatter/HeaderTemplates.h"

namespace kemptor::test {
namespace {

TEST(LegacyCode, StaticAndFriendProceduresAreHeadingsAndABareEndIsAStatement) {
    // With the default settings: no second Option Explicit after the End statement, bodies indented.
    VerifyFormat("Option Explicit\n"
                 "Private Static Sub Quit()\n"
                 "    End\n"
                 "End Sub\n"
                 "Friend Function Count() As Long\n"
                 "    Count = 1\n"
                 "End Function\n"
                 "Public Static Property Get Total() As Long\n"
                 "    Total = 2\n"
                 "End Property",
                 "Option Explicit\n"
                 "Private Static Sub Quit()\n"
                 "End\n"
                 "End Sub\n"
                 "Friend Function Count() As Long\n"
                 "Count = 1\n"
                 "End Function\n"
                 "Public Static Property Get Total() As Long\n"
                 "Total = 2\n"
                 "End Property",
                 Settings());
    // A module without Option Explicit gets it at the top, not after the End statement.
    Settings s = IndentOnly();
    s.OptionExplicitInsert = true;
    EXPECT_EQ("Option Explicit     'Force all variables to be declared before their use\n"
              "\n"
              "Sub Quit()\n"
              "    End\n"
              "End Sub",
              Format("Sub Quit()\nEnd\nEnd Sub", s));
}

TEST(LegacyCode, OnlyTheEndClosingTheDesignerBlockEndsTheDesignerPart) {
    // A VB3 form: its designer part (nested control blocks, a property block) passes through, the
    // code after it is formatted, and an End statement in the code is code.
    const std::string designer = "VERSION 2.00\n"
                                 "Begin Form frmAbout\n"
                                 "   Caption         =   \"About\"\n"
                                 "   Begin CommandButton cmdOK\n"
                                 "      Caption         =   \"OK\"\n"
                                 "   End\n"
                                 "   BeginProperty Font\n"
                                 "      Name            =   \"MS Sans Serif\"\n"
                                 "   EndProperty\n"
                                 "End\n";
    VerifyFormat(designer + "Sub cmdOK_Click()\n"
                            "    End\n"
                            "End Sub",
                 designer + "Sub cmdOK_Click()\n"
                            "End\n"
                            "End Sub",
                 IndentOnly(), skForm);
}

TEST(LegacyCode, StaticPropertyIsNoDeclarationToAlign) {
    Settings s = IndentOnly();
    s.AlignMultiDimAs = true;
    VerifyFormat("Dim nCount As Long\n"
                 "Dim s      As String\n"
                 "Static Property Get Count() As Long\n"
                 "    Count = nCount\n"
                 "End Property",
                 "Dim nCount As Long\n"
                 "Dim s As String\n"
                 "Static Property Get Count() As Long\n"
                 "Count = nCount\n"
                 "End Property",
                 s);
}

TEST(LegacyCode, DateLiteralsAreNeverCut) {
    VerifyFormat("Sub Main()\n"
                 "    t = #10:30:00 AM#\n"
                 "    Const T0 = #8:00:00 AM#\n"
                 "    Const T1 = #5:00:00 PM#\n"
                 "    If d = #1/2/1999# Then \n"
                 "        x = 1\n"
                 "    End If\n"
                 "    Print #1, x\n"
                 "    y = 1\n"
                 "    x# = 1\n"
                 "    y# = #January 1, 2000#\n"
                 "End Sub",
                 "Sub Main()\n"
                 "t = #10:30:00 AM#\n"
                 "Const T0 = #8:00:00 AM#, T1 = #5:00:00 PM#\n"
                 "If d = #1/2/1999# Then x = 1\n"
                 "Print #1, x: y = 1\n"
                 "x# = 1: y# = #January 1, 2000#\n"
                 "End Sub",
                 Splitting());
}

TEST(LegacyCode, VariablesWithTypeCharactersTakeNoAsClause) {
    VerifyFormat("Sub Main()\n"
                 "    Dim f%\n"
                 "    Dim L$\n"
                 "    Dim e As Long \n"
                 "    Dim c As New Collection \n"
                 "    Dim n As String * 12 \n"
                 "    Dim v As String * 12 \n"
                 "End Sub",
                 "Sub Main()\n"
                 "Dim f%, L$, e As Long\n"
                 "Dim c As New Collection, n, v As String * 12\n"
                 "End Sub",
                 Splitting());
}

TEST(LegacyCode, OnlyALabelWordBeforeTheColonMakesALabelLine) {
    // Statements in the first column are indented and split; labels and line numbers stay.
    VerifyFormat("Sub Main()\n"
                 "    MsgBox \"Done\"\n"
                 "    Exit Sub\n"
                 "    Kill \"a.tmp\"\n"
                 "    y = 1\n"
                 "    Print \"Hello\"\n"
                 "    x = 1\n"
                 "    Select Case k\n"
                 "        Case \"a\"\n"
                 "            t = \"A\"\n"
                 "    End Select\n"
                 "ErrHandler: Resume Next\n"
                 "100: x = 2\n"
                 "End Sub",
                 "Sub Main()\n"
                 "MsgBox \"Done\": Exit Sub\n"
                 "Kill \"a.tmp\": y = 1\n"
                 "Print \"Hello\": x = 1\n"
                 "Select Case k\n"
                 "Case \"a\": t = \"A\"\n"
                 "End Select\n"
                 "ErrHandler: Resume Next\n"
                 "100: x = 2\n"
                 "End Sub",
                 Splitting());
    EXPECT_EQ("Sub Main()\n    MsgBox \"Done\": Exit Sub\nEnd Sub",
              Format("Sub Main()\nMsgBox \"Done\": Exit Sub\nEnd Sub", IndentOnly()));
}

TEST(LegacyCode, ContinuedStatementsAreClassifiedWhole) {
    // A continued single-line If opens no block (a continued block If does, and its continuation goes
    // on from the If's column); a name ending in "_" continues nothing.
    VerifyFormat("Sub Main()\n"
                 "    If a = 1 And _\n"
                 "        b = 2 Then c = 3\n"
                 "    If a = 1 And _\n"
                 "        b = 2 Then\n"
                 "        c = 4\n"
                 "    End If\n"
                 "    y = x_\n"
                 "    z = 1\n"
                 "End Sub",
                 "Sub Main()\n"
                 "If a = 1 And _\n"
                 "b = 2 Then c = 3\n"
                 "If a = 1 And _\n"
                 "b = 2 Then\n"
                 "c = 4\n"
                 "End If\n"
                 "y = x_\n"
                 "z = 1\n"
                 "End Sub",
                 IndentOnly());
}

TEST(LegacyCode, HeadersFollowContinuedHeadingsAndTheirAttributeLines) {
    Settings s = IndentOnly();
    s.FunctionLevelCommentsPerform = true;
    const HeaderTemplates templates{{"' %N"}, {"' %N (%P) %R"}};
    const std::string expected = "Public Property Get Item(ByVal i As Long) As Variant\n"
                                 "Attribute Item.VB_UserMemId = 0\n"
                                 "    ' Item (ByVal i As Long) As Variant\n"
                                 "    Item = i\n"
                                 "End Property\n"
                                 "Public Function Foo(ByVal a As Long, _\n"
                                 "        ByVal b As Long) As Long\n"
                                 "    ' Foo (ByVal a As Long, ByVal b As Long) As Long\n"
                                 "    Foo = a + b\n"
                                 "End Function";
    const std::string code = "Public Property Get Item(ByVal i As Long) As Variant\n"
                             "Attribute Item.VB_UserMemId = 0\n"
                             "Item = i\n"
                             "End Property\n"
                             "Public Function Foo(ByVal a As Long, _\n"
                             "ByVal b As Long) As Long\n"
                             "Foo = a + b\n"
                             "End Function";
    EXPECT_EQ(expected, FormatWithHeaders(code, s, skModule, templates));
    EXPECT_EQ(expected, FormatWithHeaders(expected, s, skModule, templates));
}

TEST(LegacyCode, RemovedHeaderLeavesNoBorders) {
    // The default template's lines start with "'!", the default special-comment characters.
    Settings s;
    s.OptionExplicitInsert = false;
    s.SubLevelCommentsPerform = true;
    s.SpecialRemoveComments = true;
    s.SingleLineCommentGroupQty = 2;
    const std::string code = "Sub Main()\n    x = 1\nEnd Sub";
    EXPECT_EQ(code, FormatWithHeaders(code, s, skModule, DefaultHeaderTemplates()));
}

TEST(LegacyCode, WholeLineCommentAfterABlankLineTakesTheIndentOfTheLineBeforeTheBlank) {
    Settings s = IndentOnly();
    s.GrpSingleLineComments = 2;
    VerifyFormat("Sub Fill()\n"
                 "    x = 1\n"
                 "\n"
                 "    ' Fill the list\n"
                 "    List1.AddItem x\n"
                 "End Sub",
                 "Sub Fill()\n"
                 "x = 1\n"
                 "\n"
                 "' Fill the list\n"
                 "List1.AddItem x\n"
                 "End Sub",
                 s);
}

TEST(LegacyCode, ConditionalBranchesStartWhereTheirIfStarted) {
    // Two headings of one procedure, one per branch: the body after #End If is the procedure's.
    VerifyFormat("#If Win32 Then\n"
                 "    Private Sub Foo(ByVal h As Long)\n"
                 "#Else\n"
                 "    Private Sub Foo(ByVal h As Integer)\n"
                 "#End If\n"
                 "    x = h\n"
                 "End Sub\n"
                 "Sub Main()\n"
                 "    #If DEBUG_ON Then\n"
                 "        If a Then\n"
                 "    #Else\n"
                 "        If b Then\n"
                 "    #End If\n"
                 "        y = 1\n"
                 "    End If\n"
                 "End Sub\n"
                 "#If Win16 Then\n"
                 "    Sub Old()\n"
                 "        z = 1\n"
                 "    End Sub\n"
                 "#End If\n"
                 "Dim q As Long",
                 "#If Win32 Then\n"
                 "Private Sub Foo(ByVal h As Long)\n"
                 "#Else\n"
                 "Private Sub Foo(ByVal h As Integer)\n"
                 "#End If\n"
                 "x = h\n"
                 "End Sub\n"
                 "Sub Main()\n"
                 "#If DEBUG_ON Then\n"
                 "If a Then\n"
                 "#Else\n"
                 "If b Then\n"
                 "#End If\n"
                 "y = 1\n"
                 "End If\n"
                 "End Sub\n"
                 "#If Win16 Then\n"
                 "Sub Old()\n"
                 "z = 1\n"
                 "End Sub\n"
                 "#End If\n"
                 "Dim q As Long",
                 IndentOnly());
}

TEST(LegacyCode, EnumMembersAreIndentedLikeTypeMembers) {
    VerifyFormat("Public Enum Colour\n"
                 "    Red = 1\n"
                 "    Green\n"
                 "End Enum\n"
                 "Enum Size\n"
                 "    Small\n"
                 "End Enum",
                 "Public Enum Colour\n"
                 "Red = 1\n"
                 "        Green\n"
                 "End Enum\n"
                 "Enum Size\n"
                 "Small\n"
                 "End Enum",
                 IndentOnly());
}

TEST(LegacyCode, NestedSingleLineIfsAreSplitAndIndentedInOneRun) {
    VerifyFormat("Sub Main()\n"
                 "    If a Then \n"
                 "        If b Then \n"
                 "            If c Then \n"
                 "                x = 1\n"
                 "            End If\n"
                 "        End If\n"
                 "    End If\n"
                 "End Sub",
                 "Sub Main()\n"
                 "If a Then If b Then If c Then x = 1\n"
                 "End Sub",
                 Splitting());
}

TEST(LegacyCode, EveryOptionGivesItsResultInTheFirstPass) {
    // The pieces of a split declaration are aligned with their group, comments that no longer fit
    // once a line is indented or aligned go above it at its level, and the blank line before a split
    // If comes after its moved comment: all in the first pass, which the second only confirms.
    Settings s = EveryOption();
    s.SubLevelCommentsPerform = s.FunctionLevelCommentsPerform = false;
    s.OptionExplicitInsert = false;
    const std::string expected = "Function CountLines(ByVal FileName As String) As Long\n"
                                 "    'the line read\n"
                                 "    Dim f             As Integer\n"
                                 "    'the line read\n"
                                 "    Dim sLine         As String\n"
                                 "    Dim nVeryLongName As Long\n"
                                 "\n"
                                 "    Do While Not EOF(f)\n"
                                 "        Line Input #f, sLine\n"
                                 "        'a remark\n"
                                 "\n"
                                 "        If Left$(sLine, 1) = REMARK_CHAR Then\n"
                                 "            GoTo NextLine\n"
                                 "        End If\n"
                                 "\n"
                                 "        n% = n% + 1\n"
                                 "NextLine:\n"
                                 "    Loop\n"
                                 "\n"
                                 "End Function";
    int passes = 0;
    EXPECT_EQ(expected,
              FormatCountingPasses("Function CountLines(ByVal FileName As String) As Long\n"
                                   "    Dim f As Integer, sLine As String ' the line read\n"
                                   "    Dim nVeryLongName As Long\n"
                                   "    Do While Not EOF(f)\n"
                                   "        Line Input #f, sLine\n"
                                   "        If Left$(sLine, 1) = REMARK_CHAR Then GoTo NextLine  'a remark\n"
                                   "        n% = n% + 1\n"
                                   "NextLine:\n"
                                   "    Loop\n"
                                   "End Function",
                                   s, passes));
    EXPECT_EQ(2, passes);
    EXPECT_EQ(expected, FormatCountingPasses(expected, s, passes));
    EXPECT_EQ(1, passes);
}

TEST(LegacyCode, LegacyModulesSettleInTheFirstPassUnderManyCombinations) {
    const std::string module =
        "Attribute VB_Name = \"modLegacy\"\n"
        "DefInt A-Z\n"
        "' module of old code\n"
        "' second line of the header\n"
        "Global Const APP_NAME$ = \"Ledger\", APP_VER% = 3   ' name and version of the program\n"
        "Const T0 = #8:00:00 AM#, T1 = #5:00:00 PM#  ' opening hours\n"
        "Dim f%, L$, e As Long, sName As String * 20 ' mixed declarations with a long note\n"
        "Dim n As Integer\n"
        "Dim nVeryLongVariableName As Long ' no room once the group is aligned\n"
        "Dim q As Long 'short\n"
        "'! special comment\n"
        "Dim r As Long\n"
        "#If Win32 Then\n"
        "Private Declare Function GetTickCount& Lib \"kernel32\" ()\n"
        "#Else\n"
        "Private Declare Function GetTickCount& Lib \"User\" ()\n"
        "#End If\n"
        "\n"
        "Private Static Sub Tick(ByVal h As Long) ' a static sub with a note that goes long\n"
        "Dim c%, d&: c = 1: d = 2\n"
        "10 If c = 1 Then GoTo 20 Else d = 3 ' line number\n"
        "20: c = c + 1: If c > 5 Then Exit Sub ' label and exit\n"
        "For i% = 1 To 10 ' count up\n"
        "For j% = 1 To 2: k% = k% + j%: Next j%\n"
        "If i% Mod 2 = 0 Then Debug.Print i%; Else Debug.Print -i%\n"
        "Next i% ' done counting\n"
        "Retry: On Error GoTo Fail\n"
        "x$ = Left$(L$, 3) & Mid$(L$, 4, 2): y# = #1/2/1999#\n"
        "Fail:\n"
        "Resume Next\n"
        "End Sub\n"
        "\n"
        "Friend Function Compute&(ByVal a&, _\n"
        "    ByVal b&) ' continued heading with a comment\n"
        "    Dim s$, t$ ' two strings\n"
        "    Compute& = a& + _\n"
        "        b&\n"
        "    Select Case a&\n"
        "    Case 1: Compute& = 1 ' one\n"
        "    Case Else\n"
        "    Compute& = 0\n"
        "    End Select\n"
        "    While a& > 0: a& = a& - 1: Wend\n"
        "    Do While b& > 0\n"
        "    b& = b& - 1 ' down\n"
        "    Loop\n"
        "End Function\n"
        "Public Property Get Value() As Long\n"
        "Attribute Value.VB_UserMemId = 0\n"
        "    Value = 1 ' the value\n"
        "End Property\n"
        "Sub Main()\n"
        "    If a Then If b Then c = 1 Else c = 2 ' nested ifs\n"
        "    With obj: .x = 1: .y = 2: End With ' with block\n"
        "    Open \"a.txt\" For Input As #1: Line Input #1, s$: Close #1 ' file\n"
        "    Dim m1 As Long, m2 As String, m3 ' three\n"
        "    ' a comment between statements\n"
        "    m2 = \"it's \"\"quoted\"\" : here\" ' tricky literal\n"
        "End Sub";
    std::vector<std::pair<std::string, Settings>> variants;
    auto add = [&](std::string name, auto change) {
        Settings s = EveryOption();
        change(s);
        variants.emplace_back(std::move(name), s);
    };
    add("every option", [](Settings&) {});
    add("comments below", [](Settings& s) { s.GrpInLineCommentsFixedColUnavail = 2; });
    add("comments removed when long", [](Settings& s) { s.GrpInLineCommentsFixedColUnavail = 3; });
    add("narrow column", [](Settings& s) { s.InLineCommentsFixedColumn = 12; });
    add("narrow column, comments below", [](Settings& s) {
        s.InLineCommentsFixedColumn = 12;
        s.GrpInLineCommentsFixedColUnavail = 2;
    });
    add("headers before", [](Settings& s) {
        s.SubLevelCommentsBeforeProcedure = s.FunctionLevelCommentsBeforeProcedure = true;
        s.SubLevelCommentsAfterProcedure = s.FunctionLevelCommentsAfterProcedure = false;
    });
    for (int item = 0; item <= 4; ++item)
        add("whole-line comments " + std::to_string(item),
            [item](Settings& s) { s.GrpSingleLineComments = item; });
    add("groups of one", [](Settings& s) { s.SingleLineCommentGroupQty = 1; });
    add("removals", [](Settings& s) {
        s.GrpBlankLines = 2;
        s.SpecialRemoveComments = true;
        s.GrpForNextProcessing = 2;
        s.GrpInLineComments = 3;
    });
    add("blank lines kept, no indentation", [](Settings& s) {
        s.GrpBlankLines = 0;
        s.CodeIndentPerform = false;
        s.CorrectAsProblem = false;
    });
    add("defaults", [](Settings& s) { s = Settings(); });
    for (const auto& [name, s] : variants) {
        int passes = 0;
        const std::string once = FormatCountingPasses(module, s, passes);
        EXPECT_EQ(2, passes) << name << ": the first pass did not give the result";
        EXPECT_EQ(once, FormatCountingPasses(once, s, passes)) << name;
        EXPECT_EQ(1, passes) << name;
    }
}

} // namespace
} // namespace kemptor::test
