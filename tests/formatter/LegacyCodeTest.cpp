// Code as it was written in VB3 to VB6 projects: Static and Friend procedures, bare End statements, date
// literals, type characters, line labels, continued statements and headings, #If blocks, Enums.
#include "FormatTestSupport.h"

#include "commentor/HeaderTemplates.h"

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
    // A continued single-line If opens no block (a continued block If does, and its continuation
    // stands inside it); a name ending in "_" continues nothing.
    VerifyFormat("Sub Main()\n"
                 "    If a = 1 And _\n"
                 "        b = 2 Then c = 3\n"
                 "    If a = 1 And _\n"
                 "            b = 2 Then\n"
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
                                 "    ' Unknown (ByVal i As Long) As Variant\n"
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

} // namespace
} // namespace kemptor::test
