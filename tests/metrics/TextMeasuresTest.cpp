// The four per-file text measures: which lines are headings and globals, and the two rounded ratios.
#include <gtest/gtest.h>

#include "metrics/TextMeasures.h"

namespace kemptor {
namespace {

TEST(CountRoutines, CountsSubAndFunctionHeadingsWhateverTheirModifiersAndCase) {
    const TextLines lines{
        "Public Sub Load()",
        "Private Function Total(a As Long) As Long",
        "Public Static Sub Tick()",
        "Private Static Function Next1() As Integer",
        "Friend Sub Attach(ByVal o As Object)",
        "Friend Function Owner() As Object",
        "SUB MAIN()",
        "    static   sub\tIndented ()",
        "Sub Plain ' comment after the heading",
    };
    EXPECT_EQ(CountRoutines(lines), 9);
}

TEST(CountRoutines, DeclaresEndsLiteralsAndCommentsAreNoHeadings) {
    for (const char* line : {
             "Public Declare Sub Sleep Lib \"kernel32\" (ByVal ms As Long)",
             "Declare Function GetTickCount Lib \"kernel32\" () As Long",
             "End Sub",
             "Exit Function",
             "msg = \"Sub Main()\"",
             "' Sub Old()",
             "Rem Function Gone()",
             "Subtotal = 3",
             "Public Property Get Name() As String",
             "Static Counter As Integer",
             "Public Sub",
         })
        EXPECT_FALSE(IsRoutineHeading(line)) << line;
    EXPECT_EQ(CountRoutines({"Public Sub A()", "End Sub", "Private Function B()", "End Function"}), 2);
}

TEST(CountGlobals, CountsNamesNotCommasInsideBoundsOrLiterals) {
    EXPECT_EQ(GlobalNamesOf("Global a As Integer, b(1, 2) As Long"), 2);
    EXPECT_EQ(GlobalNamesOf("Global Const TITLE = \"Stock, Count\""), 1);
    EXPECT_EQ(GlobalNamesOf("Global Const A = 1, B = 2 ' x, y, z"), 2);
    EXPECT_EQ(GlobalNamesOf("global gName As String"), 1);
    // Statements joined by colons: each Global counts; the colon of a literal joins nothing.
    EXPECT_EQ(GlobalNamesOf("Global a As Integer: Global b, c As Long"), 3);
    EXPECT_EQ(GlobalNamesOf("Global Const SEP = \":\": x = 1"), 1);
    EXPECT_EQ(GlobalNamesOf("  GLOBAL\tgTab"), 1);
    EXPECT_EQ(GlobalNamesOf("Public gPublic As Integer"), 0);
    EXPECT_EQ(GlobalNamesOf("Globals = 3"), 0);
    EXPECT_EQ(GlobalNamesOf("' Global a, b"), 0);
    EXPECT_EQ(CountGlobals({"Global a, b(1, 2)", "Global c", "Dim d, e"}), 3);
}

TEST(TextRatios, CountCommentAndBlankLinesPerCodeLine) {
    // 10 code lines (3 with a trailing comment), 2 whole-line comments, 5 blank lines.
    TextLines lines;
    for (int i = 0; i < 7; ++i)
        lines.push_back("x = " + std::to_string(i));
    for (int i = 0; i < 3; ++i)
        lines.push_back("y = \"it's\" ' note " + std::to_string(i));
    lines.insert(lines.end(), {"' whole line", "   ' indented whole line", "", "   ", "\t", "", ""});
    EXPECT_EQ(CommentPercent(lines), 50);
    EXPECT_EQ(WhitespacePercent(lines), 50);
}

TEST(TextRatios, RoundHalvesToEvenAndTakeNoCodeAsOneLine) {
    TextLines eight(8, "a = 1");
    TextLines oneComment = eight;
    oneComment.push_back("' c");
    EXPECT_EQ(CommentPercent(oneComment), 12); // 12.5
    TextLines threeBlank = eight;
    threeBlank.insert(threeBlank.end(), {"", "", ""});
    EXPECT_EQ(WhitespacePercent(threeBlank), 38); // 37.5
    EXPECT_EQ(RoundedPercent(1, 3), 33);
    EXPECT_EQ(RoundedPercent(2, 3), 67);

    const TextLines commentsOnly{"' one", "' two", "", "' three"};
    EXPECT_EQ(CommentPercent(commentsOnly), 300);
    EXPECT_EQ(WhitespacePercent(commentsOnly), 100); // one blank line over no code, taken as one
    EXPECT_EQ(CommentPercent({}), 0);
}

} // namespace
} // namespace kemptor
