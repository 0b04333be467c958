#include "FormatTestSupport.h"
#include "support/ScriptedSpellChecker.h"

namespace kemptor::test {
namespace {

Settings Comments() {
    Settings s = IndentOnly();
    s.GrpInLineComments = 1;
    s.InLineCommentsFixedColumn = 16;
    return s;
}

TEST(CommentFormat, InLineCommentGoesToTheFixedColumnWithAtLeastOneBlank) {
    VerifyFormat("Sub Main()\n"
                 "    x = 1       'one\n"
                 "    Else2 = 3   'two\n"
                 "    If a Then\n"
                 "    Else        'three\n"
                 "    End If\n"
                 "End Sub",
                 "Sub Main()\n"
                 "x = 1 ' one\n"
                 "Else2 = 3'two\n"
                 "If a Then\n"
                 "Else                    ' three  \n"
                 "End If\n"
                 "End Sub",
                 Comments());
    // Code that reaches the column leaves it unavailable instead of gluing the comment to it.
    Settings s = Comments();
    s.InLineCommentsFixedColumn = 8;
    VerifyFormat("If a Then\n"
                 "Else    'x\n"
                 "End If",
                 "If a Then\n"
                 "Else 'x\n"
                 "End If",
                 s);
    VerifyFormat("If a Then\n"
                 "    b = 1    'x\n"
                 "End If",
                 "If a Then\n"
                 "b = 1 'x\n"
                 "End If",
                 s);
}

TEST(CommentFormat, UnavailableFixedColumnFallsBackAsChosen) {
    const std::string code = "Sub Main()\n"
                             "    x = 1\n"
                             "    nTotal = nTotal + 1 ' count\n"
                             "End Sub";
    Settings s = Comments();
    s.GrpInLineCommentsFixedColUnavail = 0;
    s.InLineCommentsUnavailColIndent = 2;
    EXPECT_EQ("Sub Main()\n    x = 1\n    nTotal = nTotal + 1  ' count\nEnd Sub", Format(code, s));
    s.GrpInLineCommentsFixedColUnavail = 1;
    VerifyFormat("Sub Main()\n    x = 1\n    ' count\n    nTotal = nTotal + 1\nEnd Sub", code, s);
    s.GrpInLineCommentsFixedColUnavail = 2;
    VerifyFormat("Sub Main()\n    x = 1\n    nTotal = nTotal + 1\n    ' count\nEnd Sub", code, s);
    s.GrpInLineCommentsFixedColUnavail = 3;
    VerifyFormat("Sub Main()\n    x = 1\n    nTotal = nTotal + 1\nEnd Sub", code, s);
}

TEST(CommentFormat, MovedCommentsNeverCutAStatementOrAContinuedComment) {
    Settings s = Comments();
    s.GrpInLineCommentsFixedColUnavail = 1; // place on the previous line
    s.InLineCommentsUnavailColIndent = 1;
    // The comment of a continuation line cannot go above it; it stays to the right.
    VerifyFormat("Sub Main()\n"
                 "    nTotal = 1 + _\n"
                 "        nCount + 2 'sum\n"
                 "    nTotal = nCount ' more _\n"
                 "  text of the comment\n"
                 "End Sub",
                 s);
    s.GrpInLineComments = 3; // remove
    VerifyFormat("Sub Main()\n"
                 "    x = 1\n"
                 "    y = 2 ' kept, it goes on _\n"
                 "  here\n"
                 "End Sub",
                 "Sub Main()\n"
                 "    x = 1 ' dropped\n"
                 "    y = 2 ' kept, it goes on _\n"
                 "  here\n"
                 "End Sub",
                 s);
}

TEST(CommentFormat, InLineCommentChoices) {
    const std::string code = "x = 1   '  note";
    Settings s = Comments();
    s.GrpInLineComments = 0;
    EXPECT_EQ(code, Format(code, s));
    s.GrpInLineComments = 2;
    s.InLineCommentsIndent = 3;
    EXPECT_EQ("x = 1   '  note", Format(code, s));
    EXPECT_EQ("x = 1   '  note", Format("x = 1'  note", s));
    s.GrpInLineComments = 3;
    EXPECT_EQ("x = 1", Format(code, s));
}

TEST(CommentFormat, WholeLineCommentChoices) {
    const std::string code = "Sub Main()\n"
                             "    If a Then\n"
                             "' note\n"
                             "        b = 1\n"
                             "    End If\n"
                             "End Sub";
    auto noteLine = [&](Settings s) { return SplitLines(Format(code, s))[2]; };
    Settings s = IndentOnly();
    s.GrpSingleLineComments = 0;
    EXPECT_EQ("        ' note", noteLine(s)) << "indentation alone treats it as a statement";
    s.CodeIndentPerform = false;
    EXPECT_EQ("' note", noteLine(s));
    s.CodeIndentPerform = true;
    s.GrpSingleLineComments = 1;
    s.SingleLineCommentColumn = 4;
    EXPECT_EQ("    ' note", noteLine(s));
    s.GrpSingleLineComments = 2;
    EXPECT_EQ("    ' note", noteLine(s));
    s.GrpSingleLineComments = 3;
    EXPECT_EQ("        ' note", noteLine(s));
    s.GrpSingleLineComments = 4;
    EXPECT_EQ("", noteLine(s));
}

TEST(CommentFormat, RemCommentsArePlacedLikeComments) {
    Settings s = IndentOnly();
    s.GrpSingleLineComments = 1;
    s.SingleLineCommentColumn = 2;
    s.MultiStatementSplit = true;
    VerifyFormat("Sub Main()\n"
                 "  Rem a: b, c\n"
                 "    x = 1\n"
                 "End Sub",
                 "Sub Main()\n"
                 "        Rem a: b, c\n"
                 "x = 1\n"
                 "End Sub",
                 s);
}

TEST(CommentFormat, GroupsOfCommentsGetBordersOnce) {
    Settings s = IndentOnly();
    s.SingleLineCommentBlocks = true;
    s.SingleLineCommentGroupQty = 3;
    s.SingleLineCommentBlockCharacters = "-=";
    s.SingleLineCommentBlockCharacterTotal = 7;
    s.GrpSingleLineComments = 2;
    VerifyFormat("Sub Main()\n"
                 "    x = 1\n"
                 "    '-=-=-=-\n"
                 "    ' one\n"
                 "    ' two\n"
                 "    ' three\n"
                 "    '-=-=-=-\n"
                 "    y = 2\n"
                 "    ' short\n"
                 "    ' group\n"
                 "    z = 3\n"
                 "End Sub",
                 "Sub Main()\n"
                 "    x = 1\n"
                 "' one\n"
                 "' two\n"
                 "' three\n"
                 "    y = 2\n"
                 "    ' short\n"
                 "    ' group\n"
                 "    z = 3\n"
                 "End Sub",
                 s);
}

TEST(CommentFormat, BordersStayNextToTheirGroupWhenBlankLinesAreAdded) {
    Settings s = IndentOnly();
    s.SingleLineCommentBlocks = true;
    s.SingleLineCommentGroupQty = 2;
    s.SingleLineCommentBlockCharacterTotal = 3;
    s.GrpSingleLineComments = 2;
    s.GrpBlankLines = 1;
    VerifyFormat("Sub Main()\n"
                 "'---\n"
                 "' one\n"
                 "' two\n"
                 "'---\n"
                 "\n"
                 "    If a Then\n"
                 "        b = 1\n"
                 "    End If\n"
                 "\n"
                 "End Sub",
                 "Sub Main()\n"
                 "' one\n"
                 "' two\n"
                 "If a Then\n"
                 "b = 1\n"
                 "End If\n"
                 "End Sub",
                 s);
}

TEST(CommentFormat, RemovedGroupsGetNoBorders) {
    // Removed comment lines are dropped by the blank-line filter, and their borders with them.
    Settings s = IndentOnly();
    s.SingleLineCommentBlocks = true;
    s.SingleLineCommentGroupQty = 2;
    s.SingleLineCommentBlockCharacterTotal = 3;
    s.GrpSingleLineComments = 4;
    s.GrpBlankLines = 2;
    EXPECT_EQ("x = 1\ny = 2", Format("' a\n' b\nx = 1\n' a\n' b\n' c\ny = 2", s));
}

TEST(CommentFormat, SpecialCommentsAreRemoved) {
    Settings s = IndentOnly();
    s.SpecialRemoveComments = true;
    VerifyFormat("Sub Main()\n"
                 "    x = 1\n"
                 "    y = 2 ' keep\n"
                 "    '!continued _\n"
                 "text\n"
                 "End Sub",
                 "Sub Main()\n"
                 "    '! debug\n"
                 "    x = 1 '! debug\n"
                 "    y = 2 ' keep\n"
                 "    '!continued _\n"
                 "text\n"
                 "End Sub",
                 s);
    s.SpecialRemoveCommentCharacters = "";
    EXPECT_EQ("x = 1", Format("' any\nx = 1 ' comment", s));
}

TEST(BlankLines, RulesAddLinesAroundBlocksAndDropTheSourceOnes) {
    Settings s = IndentOnly();
    s.GrpBlankLines = 1;
    VerifyFormat("Sub Main()\n"
                 "    x = 1\n"
                 "\n"
                 "    For i = 1 To 3\n"
                 "\n"
                 "        If i = 2 Then y = i\n"
                 "    Next\n"
                 "\n"
                 "    z = 1\n"
                 "End Sub",
                 "Sub Main()\n"
                 "    x = 1\n"
                 "\n"
                 "\n"
                 "    For i = 1 To 3\n"
                 "        If i = 2 Then y = i\n"
                 "    Next\n"
                 "    z = 1\n"
                 "End Sub",
                 s);
    s.BlankLinesForBefore = 0;
    s.BlankLinesNextAfter = 2;
    s.BlankLinesIfThenBefore = 0;
    EXPECT_EQ("For i = 1 To 3\nNext\n\n\nz = 1", Format("For i = 1 To 3\n\nNext\nz = 1", s));
}

TEST(BlankLines, NoBlankLineCutsAContinuedStatement) {
    Settings s = IndentOnly();
    s.GrpBlankLines = 1;
    s.BlankLinesIfThenAfter = 1;
    // The blank line after the If goes after its last line.
    VerifyFormat("x = a + _\n"
                 "    If1\n"
                 "\n"
                 "If a Then _\n"
                 "    b = 1\n",
                 "x = a + _\n"
                 "    If1\n"
                 "\n"
                 "If a Then _\n"
                 "    b = 1",
                 s);
}

TEST(BlankLines, RemoveAllAndNoChange) {
    Settings s = IndentOnly();
    s.GrpBlankLines = 2;
    EXPECT_EQ("x = 1\nIf a Then\nEnd If", Format("x = 1\n\n  \nIf a Then\n\nEnd If\n", s));
    s.GrpBlankLines = 0;
    EXPECT_EQ("x = 1\n\nIf a Then", Format("x = 1\n\nIf a Then", s));
}

// Formats with a spell checker behind the engine.
std::string FormatSpelled(std::string_view code, const Settings& s, ScriptedSpellChecker& speller) {
    ScriptedPrompter prompter;
    ProgressObserver progress;
    TVBSrcFormatter engine(s, prompter);
    engine.SetSpellChecker(&speller);
    engine.FormatFile(SplitLines(code), "Test.bas", skModule, progress);
    return JoinLines(engine.TakeOutput().Texts());
}

Settings Spelling() {
    Settings s = IndentOnly();
    s.SpellingPerform = true;
    s.SpellingLiterals = true;
    s.SpellingComments = true;
    return s;
}

TEST(SpellCheck, OffersEachLiteralAndCommentOnceInTheFirstPassOnly) {
    ScriptedSpellChecker speller;
    speller.Replace("teh", "the");
    Settings s = Spelling();
    s.IfThenSplit = true; // forces further passes
    const std::string out = FormatSpelled("If a Then MsgBox \"teh end\", \"ok\" ' teh note\n"
                                          "x = \"\" & \"open \"\" quote\"",
                                          s, speller);
    EXPECT_EQ((std::vector<std::string>{"teh end", "ok", " teh note", "open ", " quote"}), speller.Texts());
    EXPECT_EQ("If a Then      ' the note\n"
              "    MsgBox \"the end\", \"ok\"\n"
              "End If\n"
              "x = \"\" & \"open \"\" quote\"",
              out);
    EXPECT_EQ("If a Then MsgBox \"teh end\", \"ok\" ' teh note", speller.Calls()[0].context);
}

TEST(SpellCheck, LiteralOpenAtTheLineEndIsCopiedBackUnchecked) {
    ScriptedSpellChecker speller;
    speller.Replace("teh", "the");
    Settings s = Spelling();
    s.SpellingComments = false;
    EXPECT_EQ("x = 1 ' a \"teh quote", FormatSpelled("x = 1 ' a \"teh quote", s, speller));
    EXPECT_TRUE(speller.Calls().empty());
}

// A cancel in the last check of a line ends spell checking; a cancel in a literal skips the line's
// other literals but still offers its comment, whose own outcome then counts.
TEST(SpellCheck, CancelEndsCheckingForTheRestOfTheRun) {
    ScriptedSpellChecker speller;
    speller.CancelOn("stop");
    speller.CancelOn("same");
    Settings s = Spelling();
    FormatSpelled("x = \"stop\" & \"more\" ' same line\n"
                  "y = \"later\" ' later",
                  s, speller);
    EXPECT_EQ((std::vector<std::string>{"stop", " same line"}), speller.Texts());
}

TEST(SpellCheck, CancelInALiteralStillOffersTheCommentOfTheLine) {
    ScriptedSpellChecker speller;
    speller.CancelOn("stop");
    Settings s = Spelling();
    FormatSpelled("x = \"stop\" & \"more\" ' same line\n"
                  "y = \"later\" ' later",
                  s, speller);
    EXPECT_EQ((std::vector<std::string>{"stop", " same line", "later", " later"}), speller.Texts());
}

TEST(SpellCheck, TellsTheCheckerTheSourceLineAndColumnOfEachText) {
    ScriptedSpellChecker speller;
    FormatSpelled("x = 1\ny = \"ab\" ' cd", Spelling(), speller);
    ASSERT_EQ(speller.Calls().size(), 2u);
    EXPECT_EQ(speller.Calls()[0].place.line, 2);
    EXPECT_EQ(speller.Calls()[0].place.column, 6); // the literal's first character
    EXPECT_EQ(speller.Calls()[1].place.line, 2);
    EXPECT_EQ(speller.Calls()[1].place.column, 11); // the first character after the apostrophe
}

TEST(SpellCheck, NothingIsCheckedUnlessSpellingIsPerformed) {
    ScriptedSpellChecker speller;
    Settings s = Spelling();
    s.SpellingPerform = false;
    FormatSpelled("x = \"word\" ' word", s, speller);
    EXPECT_TRUE(speller.Calls().empty());
    s.SpellingPerform = true;
    s.SpellingLiterals = false;
    FormatSpelled("x = \"word\" ' note", s, speller);
    EXPECT_EQ((std::vector<std::string>{" note"}), speller.Texts());
}

} // namespace
} // namespace kemptor::test

namespace kemptor::test {
namespace {

// A control character at the end of an in-line comment (a NUL, as some editors leave) is comment text.
TEST(CommentFormat, ControlCharactersEndingAnInLineCommentStay) {
    using namespace std::string_literals;
    VerifyFormat("Sub Main()\n    x = 1       'note\0\nEnd Sub"s, "Sub Main()\nx = 1 ' note\0  \nEnd Sub"s,
                 Comments());
}

} // namespace
} // namespace kemptor::test
