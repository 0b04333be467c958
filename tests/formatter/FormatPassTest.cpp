#include "FormatTestSupport.h"
#include "OptionVariants.h"
#include "VbSourceGenerator.h"

#include "bench/LegacyModuleGenerator.h"
#include "bench/RealModuleGenerator.h"

#include <sstream>

namespace kemptor::test {
namespace {

using namespace std::string_literals;

// The change markers of a formatted file as a string of "c" (changed) and "." (unchanged).
std::string Markers(const TLineList& lines) {
    std::string markers;
    for (std::size_t i = 0; i < lines.size(); ++i)
        markers += lines.Changed(i) ? 'c' : '.';
    return markers;
}

// Records captions and cancels after a given number of formatted lines.
class ScriptedProgress : public ProgressObserver {
public:
    explicit ScriptedProgress(int cancelAfter = -1) : cancelAfter_(cancelAfter) {}
    void SetCaption(const std::string& caption) override { captions.push_back(caption); }
    void LineDone() override { ++linesDone; }
    bool CancelRequested() const override { return cancelAfter_ >= 0 && linesDone >= cancelAfter_; }

    std::vector<std::string> captions;
    int linesDone = 0;

private:
    int cancelAfter_;
};

constexpr std::string_view kForm = "VERSION 5.00\n"
                                   "Begin VB.Form frmMain\n"
                                   "   Caption         =   \"Main\"\n"
                                   "   Begin VB.CommandButton cmdOk\n"
                                   "      Caption         =   \"OK\"\n"
                                   "   End\n"
                                   "End\n"
                                   "Attribute VB_Name = \"frmMain\"\n";

TEST(FormatPass, FormDesignerPartPassesThroughUntouched) {
    const std::string code = std::string(kForm) + "Option Explicit\n"
                                                  "Private Sub cmdOk_Click()\n"
                                                  "Unload Me\n"
                                                  "End Sub";
    const TLineList out = FormatLines(SplitLines(code), Settings(), skForm);
    const std::string expected = std::string(kForm) + "Option Explicit\n"
                                                      "Private Sub cmdOk_Click()\n"
                                                      "    Unload Me\n"
                                                      "End Sub";
    EXPECT_EQ(expected, JoinLines(out.Texts()));
    EXPECT_EQ("..........c.", Markers(out));
}

TEST(FormatPass, FormWithoutProceduresStillKeepsItsDesignerPart) {
    Settings s;
    s.OptionExplicitInsert = false;
    const std::string code = std::string(kForm) + "  Dim x As Long";
    EXPECT_EQ(std::string(kForm) + "Dim x As Long", Format(code, s, skForm));
}

TEST(FormatPass, OptionExplicitGoesAfterLeadingAttributeLinesOnce) {
    const std::string code = "VERSION 1.0 CLASS\n"
                             "BEGIN\n"
                             "  MultiUse = -1  'True\n"
                             "END\n"
                             "Attribute VB_Name = \"clsItem\"\n"
                             "Attribute VB_Exposed = False\n"
                             "Private mCode As String\n"
                             "Public Property Get Code() As String\n"
                             "Code = mCode\n"
                             "End Property";
    ScriptedPrompter prompter;
    ScriptedProgress progress;
    Settings s = IndentOnly();
    s.OptionExplicitInsert = true;
    TVBSrcFormatter engine(s, prompter);
    const TFormatFileResult result = engine.FormatFile(SplitLines(code), "clsItem.cls", skClass, progress);
    EXPECT_FALSE(result.Cancelled);
    EXPECT_EQ(2, result.Passes);
    const TLineList out = engine.TakeOutput();
    EXPECT_EQ("VERSION 1.0 CLASS\n"
              "BEGIN\n"
              "  MultiUse = -1  'True\n"
              "END\n"
              "Attribute VB_Name = \"clsItem\"\n"
              "Attribute VB_Exposed = False\n"
              "Option Explicit     'Force all variables to be declared before their use\n"
              "\n"
              "Private mCode As String\n"
              "Public Property Get Code() As String\n"
              "    Code = mCode\n"
              "End Property",
              JoinLines(out.Texts()));
    EXPECT_EQ("......cc..c.", Markers(out));
    EXPECT_EQ((std::vector<std::string>{"clsItem.cls (Pass 1)", "clsItem.cls (Pass 2)"}), progress.captions);
}

TEST(FormatPass, OptionExplicitIsInsertedOnlyWhenAskedFor) {
    Settings s = IndentOnly();
    s.OptionExplicitInsert = true;
    EXPECT_EQ("Option Explicit\nDim a", Format("Option Explicit\nDim a", s));
    s.OptionExplicitInsert = false;
    EXPECT_EQ("Dim a", Format("Dim a", s));
}

TEST(FormatPass, ChangeMarkersSurviveLaterPassesAndIgnoreTrailingBlanks) {
    const TLineList out =
        FormatLines(SplitLines("Sub S()\nx = 1\n    y = 2   \nEnd Sub\nz = 3   "), IndentOnly());
    EXPECT_EQ("Sub S()\n    x = 1\n    y = 2   \nEnd Sub\nz = 3   ", JoinLines(out.Texts()));
    EXPECT_EQ(".c...", Markers(out));
}

TEST(FormatPass, AlignedGroupSettlesInItsFirstPassAndMarkersSurviveTheNext) {
    ScriptedPrompter prompter;
    ScriptedProgress progress;
    Settings s = IndentOnly();
    s.AlignMultiDimAs = true;
    TVBSrcFormatter engine(s, prompter);
    const TFormatFileResult result = engine.FormatFile(
        SplitLines("Sub S()\n    Dim a As Integer\nDim lngTotal As Long\n    a = 1\nEnd Sub"), "D.bas",
        skModule, progress);
    EXPECT_EQ(2, result.Passes); // the second pass changes nothing
    EXPECT_EQ("D.bas (Pass 2)", progress.captions.back());
    const TLineList out = engine.TakeOutput();
    EXPECT_EQ("Sub S()\n    Dim a        As Integer\n    Dim lngTotal As Long\n    a = 1\nEnd Sub",
              JoinLines(out.Texts()));
    // Aligning changes a line that the first pass left alone: it must show as changed all the same.
    EXPECT_EQ(".cc..", Markers(out));
}

TEST(FormatPass, AFileWhoseLinesOnlyMovedNeedsNoConfirmingPass) {
    // Only leading blanks (and tabs) changed: what a second pass would read is what the first read.
    ScriptedPrompter prompter;
    ProgressObserver progress;
    const Settings s = IndentOnly();
    TVBSrcFormatter engine(s, prompter);
    const std::string code = "Sub S()\nx = 1\n\tIf x Then\n  y = \"a\tb\"\nEnd If\nEnd Sub";
    EXPECT_EQ(1, engine.FormatFile(SplitLines(code), "M.bas", skModule, progress).Passes);
    const TLineList out = engine.TakeOutput();
    EXPECT_EQ("Sub S()\n    x = 1\n    If x Then\n        y = \"a\tb\"\n    End If\nEnd Sub", JoinLines(out.Texts()));
    EXPECT_EQ(".c.cc.", Markers(out)); // the tab gave the If its place already
    EXPECT_EQ(out.Texts(), FormatLines(out.Texts(), s).Texts());
    // A line starting with a label that leaves or reaches the first column is read otherwise there (a
    // label line), and so is a line whose text changed: the second pass runs.
    EXPECT_EQ(2, engine.FormatFile(SplitLines("  Retry: x = 1\nSub S()\nEnd Sub"), "M.bas", skModule, progress).Passes);
    EXPECT_EQ(1, engine.FormatFile(SplitLines("  x = 1: y = 2\nSub S()\nEnd Sub"), "M.bas", skModule, progress).Passes);
    EXPECT_EQ(2, engine.FormatFile(SplitLines("Sub S()\nIf x Then y = 1  \nEnd Sub"), "M.bas", skModule, progress).Passes);
    EXPECT_EQ(1, engine.FormatFile(SplitLines("Sub S()\n    x = 1\nEnd Sub"), "M.bas", skModule, progress).Passes);
}

// The passes the formatting of `code` takes, and its result formatted again must be itself.
int PassesFor(std::string_view code, const Settings& s) {
    ScriptedPrompter prompter;
    ProgressObserver progress;
    TVBSrcFormatter engine(s, prompter);
    const int passes = engine.FormatFile(SplitLines(code), "M.bas", skModule, progress).Passes;
    const std::vector<std::string> out = engine.TakeOutput().Texts();
    EXPECT_EQ(out, FormatLines(out, s).Texts()) << code;
    return passes;
}

TEST(FormatPass, AFileWhoseCommentsOnlyMovedNeedsNoConfirmingPass) {
    // At a fixed column a comment is placed from the code and its text alone.
    Settings s;
    s.OptionExplicitInsert = false;
    const std::string code = "Sub S()\nx = 1 ' one\n\ty = 2        '   two  \nEnd Sub";
    EXPECT_EQ(1, PassesFor(code, s));
    // A header's edge line is compared whole with the line after a heading; a line given out of its
    // place (a blank line dropped, another made) is read in another state.
    s.SubLevelCommentsPerform = true;
    EXPECT_EQ(2, PassesFor(code, s));
    s.SubLevelCommentsPerform = false;
    s.GrpBlankLines = 1;
    EXPECT_EQ(2, PassesFor("Sub S()\nDo\n\nLoop\nEnd Sub", s));
    // A comment whose text begins with a blank and then the special characters is no special comment:
    // placed at the column, it keeps one blank before them, so that no later pass takes it for one.
    s.GrpBlankLines = 0;
    s.SpecialRemoveComments = true;
    const std::string notSpecial = "Sub S()\nx = 1 '   " + s.SpecialRemoveCommentCharacters + "x\nEnd Sub";
    EXPECT_EQ(1, PassesFor(notSpecial, s));
    const std::vector<std::string> out = FormatLines(SplitLines(notSpecial), s).Texts();
    ASSERT_EQ(3u, out.size());
    EXPECT_TRUE(out[1].ends_with("' " + s.SpecialRemoveCommentCharacters + "x")) << out[1];
    EXPECT_EQ("    x = 1", FormatLines(SplitLines("Sub S()\nx = 1   '" + s.SpecialRemoveCommentCharacters +
                                                  "x\nEnd Sub"), s)[1]);
}

TEST(FormatPass, UnbalancedFileDoesNotShiftItsLaterPassesOrTheNextFile) {
    ScriptedPrompter prompter;
    ProgressObserver progress;
    const Settings s = IndentOnly();
    TVBSrcFormatter engine(s, prompter);
    // Leaves an #If and an If open at module level.
    engine.FormatFile(SplitLines("Dim a As Long\n#If Win32 Then\nIf x Then\nDim b As Long"), "A.bas",
                      skModule, progress);
    EXPECT_EQ("Dim a As Long\n#If Win32 Then\n    If x Then\n        Dim b As Long",
              JoinLines(engine.TakeOutput().Texts()));

    const std::string balanced = "Dim c As Long\nSub S()\nc = 1\nEnd Sub";
    engine.FormatFile(SplitLines(balanced), "B.bas", skModule, progress);
    EXPECT_EQ("Dim c As Long\nSub S()\n    c = 1\nEnd Sub", JoinLines(engine.TakeOutput().Texts()));
}

TEST(FormatPass, CancelStopsBeforeTheNextLineAndRunsNoFurtherPass) {
    ScriptedPrompter prompter;
    ScriptedProgress progress(2);
    const Settings s = IndentOnly();
    TVBSrcFormatter engine(s, prompter);
    const TFormatFileResult result =
        engine.FormatFile(SplitLines("Sub S()\na = 1\nb = 2\nEnd Sub"), "C.bas", skModule, progress);
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(1, result.Passes);
    EXPECT_EQ("Sub S()\n    a = 1", JoinLines(engine.TakeOutput().Texts()));
    EXPECT_EQ(1u, progress.captions.size());
}

TEST(FormatPass, APassCancelledInAFramedCommentGroupLeavesNothingForTheNextFile) {
    // The group's bottom border waits for its last line; the cancel comes before it, and the next file
    // gets no border of that group at its line.
    Settings s;
    s.GrpSingleLineComments = 3;
    s.SingleLineCommentGroupQty = 2;
    const std::vector<std::string> framed =
        SplitLines("Option Explicit\nSub S()\n' one\n' two\n' three\nx = 1\nEnd Sub");
    const std::vector<std::string> next = SplitLines("Option Explicit\nSub T()\na = 1\nb = 2\nc = 3\nd = 4\nEnd Sub");
    ScriptedPrompter prompter;
    ScriptedProgress cancelling(3);
    TVBSrcFormatter engine(s, prompter);
    EXPECT_TRUE(engine.FormatFile(framed, "Framed.bas", skModule, cancelling).Cancelled);
    ProgressObserver progress;
    engine.FormatFile(next, "Next.bas", skModule, progress);
    TVBSrcFormatter fresh(s, prompter);
    fresh.FormatFile(next, "Next.bas", skModule, progress);
    EXPECT_EQ(fresh.OutputLines.Texts(), engine.OutputLines.Texts());
}

TEST(FormatPass, RawBytesPassThroughUnchanged) {
    const std::vector<std::string> lines = {"Sub S()"s, "    s = \"\xFF\xE9\0\r\" ' \x80"s, "\0"s, "    \r"s,
                                            "End Sub"s};
    const TLineList out = FormatLines(lines, IndentOnly());
    EXPECT_EQ(lines, out.Texts());
    EXPECT_EQ(".....", Markers(out));
}

TEST(FormatPass, EmptyFileGivesOnlyTheInsertedOptionExplicit) {
    EXPECT_EQ("", Format("", IndentOnly()));
    Settings s = IndentOnly();
    s.OptionExplicitInsert = true;
    EXPECT_EQ(2u, FormatLines({}, s).size());
}

// Generated modules joined into one file long enough to fill many blocks of every pass's output.
std::vector<std::string> LongModule(unsigned firstSample, std::size_t minLines) {
    std::vector<std::string> lines;
    for (unsigned n = firstSample; lines.size() < minLines; ++n) {
        const std::vector<std::string> module = VbSourceGenerator(n).Module();
        lines.insert(lines.end(), module.begin(), module.end());
    }
    return lines;
}

TEST(FormatPass, EachFileOfARunGetsWhatAFreshEngineGives) {
    // The output of each file lends its memory to the next file, and each pass gives back its input
    // as it reads it: no text of one file or pass may show through in another.
    Settings s;
    s.IfThenSplit = s.MultiStatementSplit = s.MultiVarSplit = s.MultiConstSplit = true;
    s.GrpForNextProcessing = 1;
    s.GrpInLineCommentsFixedColUnavail = 1;
    s.GrpBlankLines = 1;
    s.SubLevelCommentsPerform = s.FunctionLevelCommentsPerform = true;
    const std::vector<std::vector<std::string>> files = {
        LongModule(1, 40000), LongModule(900, 300), LongModule(2000, 60000), {}, LongModule(5, 2000)};
    ScriptedPrompter prompter;
    ProgressObserver progress;
    TVBSrcFormatter engine(s, prompter);
    engine.SetDateSource([] { return std::string("12/08/2026"); });
    for (std::size_t f = 0; f < files.size(); ++f) {
        const TFormatFileResult result = engine.FormatFile(files[f], "Run.bas", skModule, progress);
        TVBSrcFormatter fresh(s, prompter);
        fresh.SetDateSource([] { return std::string("12/08/2026"); });
        EXPECT_EQ(fresh.FormatFile(files[f], "Run.bas", skModule, progress).Passes, result.Passes)
            << "file " << f;
        EXPECT_TRUE(engine.OutputLines == fresh.OutputLines) << "file " << f;
    }
}

TEST(FormatPass, TheConfirmingPassTakesOverOnlyWhatItWouldGiveBack) {
    // The confirming pass takes over the stretches the first pass left as they were instead of
    // reading them: the lines, their markers and the passes must be those of a pass that reads all.
    // Long modules of kept code, under every option set and random ones, hold stretches of every kind:
    // inside loops, #If blocks and comment groups, before aligned declarations and headers.
    std::vector<std::vector<std::string>> modules;
    std::ostringstream real;
    bench::WriteRealModule(KEMPTOR_EXAMPLES, real, 4000);
    modules.push_back(SplitLines(real.str()));
    std::ostringstream legacy;
    bench::LegacyModuleGenerator(legacy, 19960301).Write(4000);
    modules.push_back(SplitLines(legacy.str()));
    modules.push_back(LongModule(7, 3000));
    std::vector<Settings> settings;
    for (const Variant& variant : Variants())
        settings.push_back(variant.settings);
    std::mt19937 rng(909);
    for (int n = 0; n < 12; ++n)
        settings.push_back(RandomSettings(rng));

    ScriptedPrompter prompter;
    ProgressObserver progress;
    std::size_t takenOver = 0;
    for (std::size_t k = 0; k < settings.size() && !HasFailure(); ++k) {
        TVBSrcFormatter skipping(settings[k], prompter);
        TVBSrcFormatter reading(settings[k], prompter);
        reading.SetStretchSkipping(false);
        for (TVBSrcFormatter* engine : {&skipping, &reading})
            engine->SetDateSource([] { return std::string("12/08/2026"); });
        for (std::size_t m = 0; m < modules.size(); ++m) {
            const TFormatFileResult skipped = skipping.FormatFile(modules[m], "Long.bas", skModule, progress);
            const TFormatFileResult read = reading.FormatFile(modules[m], "Long.bas", skModule, progress);
            EXPECT_EQ(read.Passes, skipped.Passes) << "settings " << k << ", module " << m;
            EXPECT_EQ(0U, read.LinesTakenOver);
            EXPECT_TRUE(skipping.OutputLines == reading.OutputLines) << "settings " << k << ", module " << m;
            takenOver += skipped.LinesTakenOver;
        }
    }
    EXPECT_GT(takenOver, 50000U) << "the confirming pass no longer skips";
}

// Procedures in the places where a header put in after the heading, a comment group framed as it is
// read, or a blank line of the rules meets what may change its way through the next pass: a comment, a
// blank line or an Attribute line after the heading, a heading split off a line or continued, an
// ignored region, a heading with its own comment, another heading next, comment groups that end at a
// heading, at aligned declarations, at a comment that moves above its code, or at the end of the file,
// groups with a border, a tab or a Rem line of their own. Repeated, so that stretches run across them.
std::vector<std::string> HeadingsInAwkwardPlaces() {
    const std::string procedures = "Private Sub A()\n"
                                   "x = 1\n"
                                   "If x Then y = 2\n"
                                   "End Sub\n"
                                   "\n"
                                   "Public Function B(ByVal n As Long) As Long ' own comment\n"
                                   "' a comment after the heading\n"
                                   "B = n\n"
                                   "End Function\n"
                                   "Private Sub C()\n"
                                   "\n"
                                   "Dim s As String ' widened by alignment\n"
                                   "Dim t As Integer\n"
                                   "End Sub\n"
                                   "Public Property Get D() As Long\n"
                                   "Attribute D.VB_UserMemId = 0\n"
                                   "D = 1\n"
                                   "End Property\n"
                                   "Private Sub E(ByVal a As Long, _\n"
                                   "    ByVal b As Long)\n"
                                   "For i = 1 To 3: Next\n"
                                   "End Sub\n"
                                   "Private Sub F(): x = 1: End Sub\n"
                                   "' kemptor: off\n"
                                   "Private Sub G()\n"
                                   "x   =   1\n"
                                   "End Sub\n"
                                   "' kemptor: on\n"
                                   "Private Sub H()\n"
                                   "Private Sub I()\n"
                                   "Do While x\n"
                                   "Loop\n"
                                   "End Sub\n"
                                   "Private Sub J()\n"
                                   "Rem a Rem line\n"
                                   "End Sub\n"
                                   "' first of a group\n"
                                   "' second of a group\n"
                                   "\n"
                                   "' third, after a blank line\n"
                                   "Private Sub K() ' a heading ends it\n"
                                   "Dim a As Long\n"
                                   "Dim bb As String\n"
                                   "' a group right after declarations\n"
                                   "' that align when it starts\n"
                                   "x = 1 ' a comment that stays\n"
                                   "'--------------------------------------------------\n"
                                   "' a group with its own border\n"
                                   "'--------------------------------------------------\n"
                                   "y = 2\n"
                                   "' a group\tholding a tab\n"
                                   "' and its second line\n"
                                   "z = 3\n"
                                   "' a group before\n"
                                   "' a line whose comment moves above it\n"
                                   "Call SomethingLongEnough(1, 2, 3) ' moved above\n"
                                   "' a group with\n"
                                   "Rem a Rem line\n"
                                   "If x Then y = 1 Else y = 2 ' a comment that goes on _\n"
                                   "    in the next line\n"
                                   "x = 1: y = 2 ' this one too _\n"
                                   "    here\n"
                                   "End Sub\n";
    std::string text = "Attribute VB_Name = \"modAwkward\"\nOption Explicit\n";
    for (int n = 0; n < 6; ++n)
        text += procedures;
    return SplitLines(text + "Private Sub Last()\n' last words\n' of the file");
}

TEST(FormatPass, HeadersAndRuledBlankLinesTakenOverOnlyWhereTheNextPassGivesThemBack) {
    // Headers put in after a heading go through the first pass as lines of their own, and blank lines
    // of the rules belong to the stretches around them: the confirming pass must still give what a
    // pass that reads every line gives, under every way of placing, framing and dropping them, with
    // templates that cannot go in that way (a tab, an ignore directive, a continued comment, code, a
    // blank line).
    const std::vector<std::string> module = HeadingsInAwkwardPlaces();
    HeaderTemplates odd = DefaultHeaderTemplates();
    odd.Sub.insert(odd.Sub.begin() + 1, "'\ttabbed");
    odd.Function.insert(odd.Function.begin() + 1, "' kemptor: off-next-line");
    HeaderTemplates code{{"' continued _", "' text", "Dim header As Long"}, {"' one", "", "' two"}};
    std::vector<Settings> settings;
    for (int comments = 0; comments <= 3; ++comments)
        for (int blanks = 0; blanks <= 2; ++blanks)
            for (const bool before : {false, true}) {
                Settings s;
                s.SubLevelCommentsPerform = s.FunctionLevelCommentsPerform = true;
                s.SubLevelCommentsBeforeProcedure = s.FunctionLevelCommentsBeforeProcedure = before;
                s.SubLevelCommentsAfterProcedure = s.FunctionLevelCommentsAfterProcedure = !before;
                s.GrpSingleLineComments = comments;
                s.GrpBlankLines = blanks;
                s.SingleLineCommentGroupQty = 1 + (comments + blanks) % 3;
                s.SingleLineCommentBlocks = comments != 1;
                s.IfThenSplit = s.MultiStatementSplit = blanks != 2;
                s.CodeIndentPerform = comments != 0;
                s.SpecialRemoveComments = blanks == 2;
                s.GrpInLineCommentsFixedColUnavail = blanks;
                s.InLineCommentsFixedColumn = 20;
                settings.push_back(s);
            }
    ScriptedPrompter prompter;
    ProgressObserver progress;
    std::size_t takenOver = 0;
    for (const HeaderTemplates& templates : {DefaultHeaderTemplates(), odd, code}) {
        for (std::size_t k = 0; k < settings.size() && !HasFailure(); ++k) {
            TVBSrcFormatter skipping(settings[k], prompter);
            TVBSrcFormatter reading(settings[k], prompter);
            reading.SetStretchSkipping(false);
            for (TVBSrcFormatter* engine : {&skipping, &reading}) {
                engine->SetDateSource([] { return std::string("12/09/2026"); });
                engine->SetHeaderTemplates(templates);
            }
            const TFormatFileResult skipped = skipping.FormatFile(module, "Awkward.bas", skModule, progress);
            const TFormatFileResult read = reading.FormatFile(module, "Awkward.bas", skModule, progress);
            EXPECT_EQ(read.Passes, skipped.Passes) << "settings " << k;
            EXPECT_TRUE(skipping.OutputLines == reading.OutputLines) << "settings " << k;
            EXPECT_EQ(Markers(reading.OutputLines), Markers(skipping.OutputLines)) << "settings " << k;
            takenOver += skipped.LinesTakenOver;
        }
    }
    EXPECT_GT(takenOver, 1000U) << "the confirming pass no longer skips";
}

TEST(FormatPass, TheConfirmingPassTakesOverTheHeadersOfShortProcedures) {
    // Under every option a file of short procedures is mostly header comments with their borders and
    // blank lines of the rules: the confirming pass takes most of its output over instead of reading
    // it (the lines between procedures are the ones it reads).
    const Settings s = EveryOption();
    std::ostringstream real;
    bench::WriteRealModule(KEMPTOR_EXAMPLES, real, 4000);
    ScriptedPrompter prompter;
    ProgressObserver progress;
    TVBSrcFormatter engine(s, prompter);
    const TFormatFileResult result =
        engine.FormatFile(SplitTextLines(real.str()), "Real.bas", skModule, progress);
    EXPECT_EQ(2, result.Passes);
    EXPECT_GT(result.LinesTakenOver * 2, engine.OutputLines.size());

}

} // namespace
} // namespace kemptor::test
