// The guard before writing: it lets through what the engine does under any settings and refuses a text
// whose code or comments the engine did not keep.
#include "FormatTestSupport.h"
#include "VbSourceGenerator.h"

#include "formatter/CodeTokenGuard.h"
#include "formatter/LineHelpers.h"
#include "platform/TextFile.h"

#include <filesystem>
#include <random>

namespace kemptor::test {
namespace {

std::optional<CodeMismatch> Compare(std::string_view original, std::string_view formatted,
                                    const Settings& settings = Settings()) {
    return CompareCodeTokens(SplitLines(original), SplitLines(formatted), settings);
}

void ExpectAccepted(std::string_view original, std::string_view formatted,
                    const Settings& settings = Settings()) {
    const auto mismatch = Compare(original, formatted, settings);
    EXPECT_FALSE(mismatch) << "refused at line " << mismatch->originalLine << "/" << mismatch->formattedLine
                           << ":\n"
                           << original << "\n---\n"
                           << formatted;
}

CodeMismatch ExpectRefused(std::string_view original, std::string_view formatted,
                           const Settings& settings = Settings()) {
    const auto mismatch = Compare(original, formatted, settings);
    EXPECT_TRUE(mismatch) << "accepted:\n" << original << "\n---\n" << formatted;
    return mismatch.value_or(CodeMismatch{});
}

TEST(CodeTokenGuard, AcceptsWhatTheSettingsAskFor) {
    // Layout: indentation, blank lines, tabs, blanks around comments, ":" as a line end, continuations.
    ExpectAccepted("Sub A()\nx = 1: y = 2\n\n\n\tz = x _\n  + y   ' sum\nEnd Sub",
                   "Sub A()\n    x = 1\n    y = 2\n    z = x + y                 'sum\nEnd Sub");
    // The If split, with and without Else, and a nested If whose Else stays with it.
    ExpectAccepted("If a = 1 Then b = 2: c = 3 Else d = 4 ' note",
                   "If a = 1 Then      ' note\nb = 2\nc = 3\nElse\nd = 4\nEnd If");
    ExpectAccepted("If a Then If b Then c = 1 Else c = 2",
                   "If a Then\n    If b Then\n        c = 1\n    Else\n        c = 2\n    End If\nEnd If");
    // Declarations one per line; with the variable split's correction, types travel to untyped names
    // but not to names with a type character.
    Settings correct;
    correct.MultiVarSplit = true;
    ExpectAccepted("Dim a, b As Integer, c", "Dim a As Integer \nDim b As Integer \nDim c", correct);
    ExpectAccepted("Dim f%, L$, e As Long", "Dim f%\nDim L$\nDim e As Long", correct);
    ExpectAccepted("Private Const A = 1, B = \"x, y\"", "Private Const A = 1\nPrivate Const B = \"x, y\"");
    // Next variables under the For/Next setting, "Next j, i" as two loops closed.
    Settings addNext;
    addNext.GrpForNextProcessing = 1;
    ExpectAccepted("For i = 1 To 2\nFor j = 1 To 2\nNext\nNext",
                   "For i = 1 To 2\nFor j = 1 To 2\nNext j\nNext i", addNext);
    ExpectAccepted("Next j, i", "Next j\nNext i");
    // An inserted Option Explicit, header comments and borders, a comment copied onto split pieces.
    ExpectAccepted(
        "Sub A() ' go\nEnd Sub",
        "Option Explicit     'Force all variables\n\n'!---\n'! A\n'!---\nSub A()     ' go\nEnd Sub");
    ExpectAccepted("a = 1: b = 2 ' set", "a = 1     ' set\nb = 2     ' set");
    // Comments the settings remove.
    Settings removeAll;
    removeAll.GrpSingleLineComments = 4;
    removeAll.GrpInLineComments = 3;
    ExpectAccepted("' whole\nx = 1 ' behind\nRem old", "x = 1", removeAll);
    Settings special;
    special.SpecialRemoveComments = true;
    ExpectAccepted("'! debug\nx = 1 '! trace\n' kept", "x = 1\n' kept", special);
    // Literals: colons, apostrophes and dates are not statement ends or comments.
    ExpectAccepted("t = #10:30:00 AM#: s = \"a:'b\"", "t = #10:30:00 AM#\ns = \"a:'b\"");
}

TEST(CodeTokenGuard, RefusesChangedCodeAndNamesTheFirstDifferingLine) {
    const CodeMismatch lost =
        ExpectRefused("Sub A()\nx = 1\ny = 2\nEnd Sub", "Sub A()\n    x = 1\n    y =\nEnd Sub");
    EXPECT_EQ(3u, lost.originalLine);
    EXPECT_EQ(3u, lost.formattedLine);
    EXPECT_FALSE(lost.comment);
    ExpectRefused("x = a - b", "x = b - a");
    ExpectRefused("s = \"Hello\"", "s = \"Hello \"");
    ExpectRefused("x = 1", "x = 1\ny = 2");
    ExpectRefused("x = 1\ny = 2", "x = 1");
    // A statement carried out of a single-line If, an Else given to the outer If, a lost End If.
    ExpectRefused("If a Then b = 1: c = 2", "If a Then b = 1\nc = 2");
    ExpectRefused("If a Then If b Then c = 1 Else c = 2", "If a Then\nIf b Then c = 1\nElse\nc = 2\nEnd If");
    ExpectRefused("If a Then b = 1", "If a Then\nb = 1");
    // A line number after Then is a jump; alone on a line it would be a label.
    ExpectRefused("If a Then 100", "If a Then\n100\nEnd If");
    // Code turned into a comment, a cut date literal, a continuation joined into a comment.
    ExpectRefused("x = 1 ' one", "' x = 1 ' one");
    ExpectRefused("t = #10:30:00 AM#", "t = #10\n30\n00 AM#");
    // Types: a type character given an As, a type added without the correcting setting.
    Settings correct;
    correct.MultiVarSplit = true;
    ExpectRefused("Dim f%, e As Long", "Dim f% As Long\nDim e As Long", correct);
    ExpectRefused("Dim a, b As Integer", "Dim a As Integer\nDim b As Integer");
    // "Next j, i" closes two loops; one Next closes one, even while Next variables may change.
    Settings addNext;
    addNext.GrpForNextProcessing = 1;
    ExpectRefused("Next j, i", "Next j", addNext);
    // Option Explicit: only one, only when missing, only before the first procedure.
    ExpectRefused("Option Explicit\nSub Quit()\nEnd\nEnd Sub",
                  "Option Explicit\nSub Quit()\nEnd\nOption Explicit\nEnd Sub");
    ExpectRefused("Sub Quit()\nEnd Sub", "Sub Quit()\nOption Explicit\nEnd Sub");
    // Continued statements whose lines are alike in both texts are passed over whole; a change in any
    // of their lines, or in the line after, is still seen.
    const std::string continued = "s = \"a\" & _\n    \"b\" & _\n    \"c\"\nt = 1 ' end _\n  more\nu = 2";
    ExpectAccepted(continued, "s = \"a\" & _\n        \"b\" & _\n  \"c\"\n    t = 1 ' end _\n  more\nu = 2");
    ExpectRefused(continued, "s = \"a\" & _\n    \"b\" + _\n    \"c\"\nt = 1 ' end _\n  more\nu = 2");
    ExpectRefused(continued, "s = \"a\" & _\n    \"b\" & _\n    \"d\"\nt = 1 ' end _\n  more\nu = 2");
    ExpectRefused(continued, "s = \"a\" & _\n    \"b\" & _\n    \"c\"\nt = 1 ' end _\n  more\nu = 3");
    EXPECT_TRUE(ExpectRefused(continued, "s = \"a\" & _\n    \"b\" & _\n    \"c\"\nt = 1 ' end _\n  less\nu = 2")
                    .comment);
    // Blank lines put in or taken out on either side hold nothing; what stands after them still counts.
    const std::string spaced = "a = 1\n\n \t\nb = 2\n' note\nc = 3";
    ExpectAccepted(spaced, "a = 1\nb = 2\n\n\n' note\n\nc = 3\n\n");
    const CodeMismatch after = ExpectRefused(spaced, "\na = 1\nb = 2\n\n' note\nc = 4");
    EXPECT_EQ(6u, after.originalLine);
    EXPECT_EQ(6u, after.formattedLine);
    EXPECT_TRUE(ExpectRefused(spaced, "a = 1\n\nb = 2\n\nc = 3").comment);
}

TEST(CodeTokenGuard, RefusesLostCommentsUnlessASettingRemovesThem) {
    const CodeMismatch lost = ExpectRefused("x = 1\n' first\ny = 2 ' second", "x = 1\n' first\ny = 2");
    EXPECT_TRUE(lost.comment);
    EXPECT_EQ(3u, lost.originalLine);
    ExpectRefused("' a comment that goes on _\n  onto this line\nx = 1", "' a comment that goes on _\nx = 1");
    ExpectRefused("x = 1 ' text", "x = 1 ' txet");
    // A comment is kept when its characters are, whatever its blanks; one character more or less
    // anywhere, or a blank that became a character, is a comment lost.
    ExpectAccepted("x = 1 '  spaced   out\t text ", "x = 1 'spaced out text");
    ExpectRefused("' comment text\nx = 1", "' comment tex\nx = 1");
    ExpectRefused("' comment tex\nx = 1", "' comment text\nx = 1");
    ExpectRefused("' comment text\nx = 1", "' comment_text\nx = 1");
    Settings inLineOnly;
    inLineOnly.GrpInLineComments = 3;
    ExpectRefused("' whole\nx = 1 ' behind", "x = 1", inLineOnly);
    Settings special;
    special.SpecialRemoveComments = true;
    ExpectRefused("' kept\nx = 1", "x = 1", special);
}

// Unindented legacy code whose neighbouring lines repeat what a faulty formatting lost or changed: the
// check names the original line that lost it, not a later one that looks the same, and the column
// where it first differs.
TEST(CodeTokenGuard, NamesTheOriginalLineThatLostItAmongLikeNeighbours) {
    // A statement lost from a split line, the same statement standing alone before and after.
    CodeMismatch lost = ExpectRefused("Sub Tick()\nBeep\nn = n + 1: Beep\nBeep\nn = 0\nEnd Sub",
                                      "Sub Tick()\n    Beep\n    n = n + 1\n    Beep\n    n = 0\nEnd Sub");
    EXPECT_FALSE(lost.comment);
    EXPECT_EQ(3u, lost.originalLine);
    EXPECT_EQ(3u, lost.formattedLine);
    EXPECT_EQ(12u, lost.column);
    // A line's code lost (its comment kept), the same statement on the next line; numbered lines.
    lost = ExpectRefused("10 x = x + 1: y = 0\nx = x + 1 ' again\nx = x + 1\nGoTo 10",
                         "10 x = x + 1\n   y = 0\n   ' again\n   x = x + 1\n   GoTo 10");
    EXPECT_EQ(2u, lost.originalLine);
    EXPECT_EQ(1u, lost.column);
    // The End If of a split single-line If lost, an End If right after it.
    lost = ExpectRefused("If a Then\nIf b Then c = 1\nEnd If\nEnd Sub",
                         "If a Then\n    If b Then\n        c = 1\n    End If\nEnd Sub");
    EXPECT_EQ(2u, lost.originalLine);
    EXPECT_EQ(3u, lost.formattedLine);
    // A changed token among identical lines: the line it is on, at the token.
    lost = ExpectRefused("x = 1\nx = 1\nx = 1: x = 1\nx = 1", "x = 1\nx = 1\nx = 1\nx = 2\nx = 1");
    EXPECT_EQ(3u, lost.originalLine);
    EXPECT_EQ(4u, lost.formattedLine);
    EXPECT_EQ(12u, lost.column);

    // An empty comment lost by a split, empty comments on the lines before and after.
    lost = ExpectRefused("Sub Flags()\nDim a As Boolean '\nDim b As Boolean, c As Boolean '\n"
                         "Dim d As Boolean '\nDim e As Boolean '\nEnd Sub",
                         "Sub Flags()\n    Dim a As Boolean '\n    Dim b As Boolean\n    Dim c As Boolean\n"
                         "    Dim d As Boolean '\n    Dim e As Boolean '\nEnd Sub");
    EXPECT_TRUE(lost.comment);
    EXPECT_EQ(3u, lost.originalLine);
    EXPECT_EQ(32u, lost.column);
    // A comment changed, the same comment before and after it.
    lost = ExpectRefused("' note\nx = 1 ' note\ny = 1 ' note\n' note",
                         "' note\nx = 1 ' nose\ny = 1 ' note\n' note");
    EXPECT_TRUE(lost.comment);
    EXPECT_EQ(2u, lost.originalLine);
    EXPECT_EQ(7u, lost.column);
    // A whole-line comment lost from a run of equal ones stays attributed to the first of the run
    // that the text no longer holds (any of them is that one).
    lost = ExpectRefused("x = 1\n'\n'\ny = 2 '", "x = 1\n'\ny = 2 '");
    EXPECT_TRUE(lost.comment);
    EXPECT_EQ(3u, lost.originalLine);
}

// Settings drawn at random from the options that change code or comments.
Settings RandomSettings(std::mt19937& rng) {
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    Settings s;
    s.IfThenSplit = pick(2);
    s.MultiStatementSplit = pick(2);
    s.MultiVarSplit = pick(2);
    s.CorrectAsProblem = pick(2);
    s.MultiConstSplit = pick(2);
    s.OptionExplicitInsert = pick(2);
    s.AlignMultiDimAs = pick(2);
    s.GrpForNextProcessing = pick(3);
    s.GrpSingleLineComments = pick(5);
    s.SingleLineCommentGroupQty = 1 + pick(5);
    s.GrpInLineComments = pick(4);
    s.InLineCommentsFixedColumn = pick(2) ? 8 : 40;
    s.GrpInLineCommentsFixedColUnavail = pick(4);
    s.SpecialRemoveComments = pick(2);
    s.GrpBlankLines = pick(3);
    s.SubLevelCommentsPerform = s.FunctionLevelCommentsPerform = pick(2);
    s.SubLevelCommentsBeforeProcedure = s.FunctionLevelCommentsBeforeProcedure = pick(2);
    s.SubLevelCommentsAfterProcedure = s.FunctionLevelCommentsAfterProcedure =
        !s.SubLevelCommentsBeforeProcedure;
    s.CodeIndentPerform = pick(8) != 0;
    return s;
}

void ExpectEngineOutputAccepted(const std::vector<std::string>& input, const Settings& settings,
                                TSourceKind kind, const std::string& what) {
    const TLineList output = FormatLines(input, settings, kind);
    const auto mismatch = CompareCodeTokens(input, output, settings);
    ASSERT_FALSE(mismatch) << what << ": refused at line " << mismatch->originalLine << " (formatted line "
                           << mismatch->formattedLine << ")\n"
                           << JoinLines(output.Texts());
}

// A procedure of lines that are easy to misread: statements and colons inside literals, comments and
// Rem, declarations and Next lists, single-line Ifs nested and continued, date literals, file numbers.
std::vector<std::string> AwkwardModule(std::mt19937& rng) {
    static const std::vector<std::string> kLines = {
        "Dim a, b As Integer, c",
        "Dim s As String, t ' two",
        "dim p,q as long",
        "Static n1, n2",
        "Const A1 = 1, B1 = \"x, y\" ' consts",
        "Global Const G1 = (1 + 2), H1 = 3",
        "Dim m(1, 2) As Integer, k",
        "Dim u, v As Long: w = 1",
        "If x Then y = 1 Else y = 2",
        "if a then b = \"Then Else\": c = 3 ' both",
        "If ThenValue Then ElseCount = 1",
        "If a Then If b Then c = 1 Else c = 2",
        "If a Then _",
        "x = 1: y = \"a:b\": z = 3 ' c",
        "Call Work(Mode:=1): n = 2",
        "Rem note: with, commas",
        "x = 2: Rem it's: here",
        "x = 1 ' this comment goes on _",
        "For i = 1 To 3",
        "For j=1 To 2: n = n + j: Next",
        "Next j, i",
        "Next",
        "Next i ' done",
        "For Each c In col",
        "' a whole-line comment",
        "'! special",
        "x = 1 '! special too",
        "",
        "Print #1, a; b: Close #1",
        "d = #1/31/1999#: e = 2",
        "rs!Name = \"x\": y& = &HFF&",
        "If a Then Exit Sub Else GoTo Fail",
        "Retry: x = x + 1",
        "MsgBox \"Done\": Exit Sub",
        "Select Case n: Case 1: x = 1: Case Else: x = 2: End Select",
        "With obj: .Value = 1: End With",
        "Next      As Long",
        "#If Win32 Then",
        "#Else",
        "#End If",
    };
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    std::vector<std::string> lines = {"Sub Awkward()"};
    for (std::size_t n = 10 + pick(30); n > 0; --n) {
        lines.push_back(std::string(pick(3) * 4, ' ') + kLines[pick(kLines.size())]);
        if (lines.back().ends_with("_"))
            lines.push_back("    b = 1");
    }
    lines.push_back("End Sub");
    return lines;
}

TEST(CodeTokenGuard, PassesTheEngineOnGeneratedModulesUnderManyOptionCombinations) {
    std::mt19937 rng(4711);
    for (unsigned sampleNo = 1; sampleNo <= 150 && !HasFailure(); ++sampleNo) {
        const Settings settings = RandomSettings(rng);
        ExpectEngineOutputAccepted(VbSourceGenerator(sampleNo).Module(), settings, skModule,
                                   "sampleNo " + std::to_string(sampleNo));
        ExpectEngineOutputAccepted(AwkwardModule(rng), settings, skModule,
                                   "awkward sampleNo " + std::to_string(sampleNo));
    }
}

TEST(CodeTokenGuard, PassesTheEngineOnTheSampleProjects) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(KEMPTOR_EXAMPLES)) {
        const std::string ext = UpperCase(entry.path().extension().string());
        if (entry.is_regular_file() && (ext == ".BAS" || ext == ".FRM" || ext == ".CLS" || ext == ".CTL"))
            files.push_back(entry.path());
    }
    ASSERT_FALSE(files.empty());
    std::mt19937 rng(1234);
    for (const auto& file : files) {
        const auto lines = ReadTextLines(file.string());
        ASSERT_TRUE(lines);
        const TSourceKind kind = UpperCase(file.extension().string()) == ".FRM" ? skForm : skModule;
        ExpectEngineOutputAccepted(*lines, Settings(), kind, file.filename().string() + " with the defaults");
        for (int round = 0; round < 12 && !HasFailure(); ++round)
            ExpectEngineOutputAccepted(*lines, RandomSettings(rng), kind,
                                       file.filename().string() + ", round " + std::to_string(round));
    }
}

} // namespace
} // namespace kemptor::test
