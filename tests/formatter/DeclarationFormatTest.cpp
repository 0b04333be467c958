#include "FormatTestSupport.h"

#include "formatter/RoutineHeading.h"

namespace kemptor::test {
namespace {

Settings Aligning() {
    Settings s = IndentOnly();
    s.AlignMultiDimAs = true;
    return s;
}

TEST(DimAlignment, AlignsTheAsOfADeclarationGroup) {
    VerifyFormat("Sub Main()\n"
                 "    Dim a        As Integer\n"
                 "    Dim lngTotal As Long ' As told\n"
                 "    Dim s        As String: s = \"x As y\"\n"
                 "    Static n\n"
                 "    x = 1\n"
                 "    Dim single1 As Long\n"
                 "    Static Sub Tick()\n"
                 "End Sub",
                 "Sub Main()\n"
                 "Dim a As Integer\n"
                 "Dim lngTotal As Long ' As told\n"
                 " Dim s As String: s = \"x As y\"\n"
                 "Static n\n"
                 "x = 1\n"
                 "Dim single1 As Long\n"
                 "Static Sub Tick()\n"
                 "End Sub",
                 Aligning());
    EXPECT_EQ(14, TVBSrcFormatter::DimAsColumn("  Dim lngTotal As Long"));
    EXPECT_EQ(1, TVBSrcFormatter::DimAsColumn("Static n"));
    EXPECT_EQ(0, TVBSrcFormatter::DimAsColumn("Global Const A As Long = 1"));
    EXPECT_EQ(0, TVBSrcFormatter::DimAsColumn("Private x As Long"));
}

TEST(DimAlignment, GroupQuantityAndTheEndOfTheFile) {
    Settings s = Aligning();
    s.AlignDimAsGroupQty = 3;
    const std::string two = "Dim a As Integer\nDim bb As Long\nx = 1";
    EXPECT_EQ(two, Format(two, s));
    s.AlignDimAsGroupQty = 2;
    EXPECT_EQ("Dim a  As Integer\nDim bb As Long\nx = 1", Format(two, s));
    EXPECT_EQ("Dim a As Integer\nDim bb As Long", Format("Dim a As Integer\nDim bb As Long", s));
    s.AlignMultiDimAs = false;
    EXPECT_EQ(two, Format(two, s));
}

TEST(DimAlignment, WidenedLinesHaveTheirCommentsPlacedAgain) {
    Settings s = Aligning();
    s.GrpInLineComments = 1;
    s.InLineCommentsFixedColumn = 20;
    VerifyFormat("Dim a             As Integer    'x\n"
                 "Dim bbbbbbbbbbbbb As Long    'y\n"
                 "x = 1",
                 "Dim a As Integer 'x\n"
                 "Dim bbbbbbbbbbbbb As Long 'y\n"
                 "x = 1",
                 s);
}

Settings ForNext(int mode) {
    Settings s = IndentOnly();
    s.GrpForNextProcessing = mode;
    return s;
}

TEST(ForNext, AddsTheLoopVariableToItsNext) {
    VerifyFormat("For i = 1 To 10\n"
                 "    For j=1 To 2\n"
                 "        For Each c In Items\n"
                 "        Next c    \n"
                 "    Next j    'inner\n"
                 "Next i    ",
                 "For i = 1 To 10\n"
                 "For j=1 To 2\n"
                 "For Each c In Items\n"
                 "Next c\n"
                 "next 'inner\n"
                 "Next",
                 ForNext(1));
}

TEST(ForNext, RemovesTheLoopVariableFromItsNext) {
    VerifyFormat("For i = 1 To 10\n"
                 "Next    ' done",
                 "For i = 1 To 10\n"
                 "Next i ' done",
                 ForNext(2));
}

TEST(ForNext, NextClosingSeveralLoopsKeepsItsVariables) {
    for (int mode : {1, 2})
        VerifyFormat("For i = 1 To 2\n"
                     "    For j = 1 To 2\n"
                     "Next j, i\n"
                     "For k = 1 To 2\n"
                     "Next k    ",
                     "For i = 1 To 2\n"
                     "For j = 1 To 2\n"
                     "Next j, i\n"
                     "For k = 1 To 2\n"
                     "Next" +
                         std::string(mode == 1 ? "" : " k"),
                     ForNext(1));
    VerifyFormat("For i = 1 To 2\n"
                 "    For j = 1 To 2\n"
                 "Next j, i\n"
                 "For k = 1 To 2\n"
                 "Next    ",
                 ForNext(2));
}

TEST(ForNext, LoopsOpenedAndClosedOnOneLineKeepTheStackRight) {
    Settings s = ForNext(1);
    s.CodeIndentPerform = false;
    VerifyFormat("For j = 1 To 2\n"
                 " For i = 1 To 3: x = i: Next\n"
                 " For k = 1 To 3: x = k\n"
                 " Next k    \n"
                 "Next j    ",
                 "For j = 1 To 2\n"
                 " For i = 1 To 3: x = i: Next\n"
                 " For k = 1 To 3: x = k\n"
                 " Next\n"
                 "Next",
                 s);
}

TEST(ForNext, EmptyStackLeavesTheNextAsItIs) {
    EXPECT_EQ("Next i", Format("Next i", ForNext(1)));
}

TEST(TypeMembers, MembersNamedByKeywordsAreDeclarations) {
    VerifyFormat("Private Type Rec\n"
                 "    Type                As Long\n"
                 "    Next      As Long\n"
                 "    loop as integer\n"
                 "    If(1 To 2) As Byte\n"
                 "End Type\n"
                 "Sub Main()\n"
                 "End Sub",
                 "Private Type Rec\n"
                 "Type                As Long\n"
                 "Next      As Long\n"
                 "loop as integer\n"
                 "If(1 To 2) As Byte\n"
                 "End Type\n"
                 "Sub Main()\n"
                 "End Sub",
                 ForNext(1));
    EXPECT_FALSE(TVBSrcFormatter::IsNextLine("Next      As Long"));
    EXPECT_FALSE(TVBSrcFormatter::IsForLine("For As Long"));
    EXPECT_EQ(TStatementClass::scOther, ClassifyLine("   Next As Long"));
    EXPECT_EQ(TStatementClass::scOther, ClassifyLine("Type   as Long"));
    EXPECT_EQ(TStatementClass::scNext, ClassifyLine("Next i"));
    EXPECT_EQ(TStatementClass::scType, ClassifyLine("Type Assets"));
}

// --- Header comments ---------------------------------------------------------------------------

Settings Headers() {
    Settings s = IndentOnly();
    s.SubLevelCommentsPerform = true;
    s.FunctionLevelCommentsPerform = true;
    s.UserName = "Ann";
    return s;
}

TEST(HeaderComments, InsertedAfterTheHeadingByDefault) {
    const std::string code = "Private Sub Load(ByVal n As Integer) ' loads\n"
                             "End Sub\n"
                             "Public Function Total(a As Long, Optional b = (1)) As Long\n"
                             "End Function";
    const std::string expected = "Private Sub Load(ByVal n As Integer) ' loads\n"
                                 "    ' Load(ByVal n As Integer) by Ann on 12/08/2026\n"
                                 "End Sub\n"
                                 "Public Function Total(a As Long, Optional b = (1)) As Long\n"
                                 "    ' Total -> As Long\n"
                                 "    '\n"
                                 "End Function";
    EXPECT_EQ(expected, FormatWithHeaders(code, Headers()));
    EXPECT_EQ(expected, FormatWithHeaders(expected, Headers())) << "a second header was inserted";
}

TEST(HeaderComments, InsertedBeforeTheHeadingOnce) {
    Settings s = Headers();
    s.SubLevelCommentsAfterProcedure = false;
    s.SubLevelCommentsBeforeProcedure = true;
    s.FunctionLevelCommentsPerform = false;
    const std::string expected = "x = 1\n"
                                 "' Run() by Ann on 12/08/2026\n"
                                 "Sub Run()\n"
                                 "End Sub";
    EXPECT_EQ(expected, FormatWithHeaders("x = 1\nSub Run()\nEnd Sub", s));
    // The guard compares with the template line before expansion: a plain template line is found.
    HeaderTemplates plain{{"' ---"}, {}};
    const std::string once = FormatWithHeaders("x = 1\nSub Run()\nEnd Sub", s, skModule, plain);
    EXPECT_EQ("x = 1\n' ---\nSub Run()\nEnd Sub", once);
    EXPECT_EQ(once, FormatWithHeaders(once, s, skModule, plain));
}

TEST(HeaderComments, BorderedHeadersAreNotInsertedAgain) {
    Settings s = Headers();
    s.FunctionLevelCommentsPerform = false;
    s.SingleLineCommentBlocks = true;
    s.SingleLineCommentGroupQty = 2;
    s.SingleLineCommentBlockCharacterTotal = 4;
    HeaderTemplates templ{{"' a", "' b"}, {}};
    std::string text = "Sub Run()\nEnd Sub";
    for (int run = 0; run < 3; ++run)
        text = FormatWithHeaders(text, s, skModule, templ);
    EXPECT_EQ("Sub Run()\n    '----\n    ' a\n    ' b\n    '----\nEnd Sub", text);
}

TEST(HeaderComments, FileKindsFollowThePlacementSettings) {
    Settings s = Headers();
    s.FunctionLevelCommentsPerform = false;
    const std::string code = "Sub Run()\nEnd Sub";
    auto hasHeader = [&](TSourceKind kind) { return FormatWithHeaders(code, s, kind) != code; };
    s.GrpSubLevelComments = 0; // forms only
    EXPECT_TRUE(hasHeader(skForm));
    EXPECT_FALSE(hasHeader(skModule));
    s.GrpSubLevelComments = 1; // modules only
    EXPECT_FALSE(hasHeader(skForm));
    EXPECT_TRUE(hasHeader(skModule));
    EXPECT_FALSE(hasHeader(skClass));
    s.GrpSubLevelComments = 2;
    EXPECT_TRUE(hasHeader(skClass));
    s.SubLevelCommentsPerform = false;
    EXPECT_FALSE(hasHeader(skModule));
    EXPECT_EQ(code, FormatWithHeaders(code, Headers(), skModule, {{}, {}}))
        << "an empty template inserts nothing";
}

TEST(HeaderComments, NeverBetweenTheLinesOfAContinuedHeading) {
    // The header follows the heading's last line and shows the parameters of all its lines.
    const std::string code = "Sub Run(a As Long, _\n        b As Long)\nEnd Sub";
    EXPECT_EQ("Sub Run(a As Long, _\n        b As Long)\n    ' Run(a As Long, b As Long) by Ann on "
              "12/08/2026\nEnd Sub",
              FormatWithHeaders(code, Headers()));
}

TEST(RoutineHeading, NamesParametersAndReturnTypes) {
    EXPECT_EQ("Load", SubName("  private sub Load(ByVal n As Integer) ' x"));
    EXPECT_EQ("Main", SubName("Sub Main ' no parentheses"));
    // Every heading form the engine recognises names its routine; a property by the property's name.
    EXPECT_EQ("Tick", SubName("Static Sub Tick()"));
    EXPECT_EQ("Init", SubName("Friend Sub Init()"));
    EXPECT_EQ("Tick", FunctionName("Private Static Function Tick(n As Long) As Long"));
    EXPECT_EQ("Value", FunctionName("Public Property Get Value() As Long"));
    EXPECT_EQ("Item", FunctionName("friend property let Item(ByVal i As Long, v As Variant)"));
    EXPECT_EQ("Unknown", FunctionName("Dim Property As Long"));
    EXPECT_EQ("Total", FunctionName("Public Function Total(n) As Long"));
    EXPECT_EQ("ByVal n As Integer", SubParams("Sub Load(ByVal n As Integer) ' (x)"));
    EXPECT_EQ("", SubParams("Sub Main()"));
    EXPECT_EQ("", SubParams("Sub Main"));
    EXPECT_EQ("a(), Optional s = \"(\"", FunctionParams("Function F(a(), Optional s = \"(\") As Long"));
    EXPECT_EQ("As Long", FunctionReturnType("Function F(x) As Long ' (y)"));
    EXPECT_EQ("", FunctionReturnType("Function F"));
}

} // namespace
} // namespace kemptor::test
