#include "formatter/TVBSrcFormatter.h"

#include "formatter/LineHelpers.h"
#include "formatter/LineSplits.h"
#include "formatter/ModuleHeader.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "platform/Text.h"
#include "settings/Settings.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

namespace kemptor {

namespace {

constexpr std::string_view kOptionExplicitLine =
    "Option Explicit     'Force all variables to be declared before their use";

// The input line as the tests see it: tab-expanded. Lines without a tab are used in place.
std::string_view Expanded(std::string_view raw, std::string& scratch, int tabWidth) {
    if (raw.find('\t') == std::string_view::npos)
        return raw;
    ExpandTabsInto(scratch, raw, tabWidth);
    return scratch;
}

// Leading and trailing spaces only: a tab or another control character at the ends of a line is content.
std::string_view TrimSpaces(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// True when the statement that starts on the line may begin with If: the line does, or it holds no
// more than a continuation and the statement begins on the next line.
bool MayStartIf(std::string_view line) {
    const std::string_view t = TrimLeft(line);
    return StartsWithUpper(t, "IF") || StartsWith(t, "_");
}

// Replaces the leading blanks of line by `count` blanks (none when count is negative, at most
// kMaxIndentColumns: deep nesting would otherwise grow a file with the square of its depth). The first
// `kept` characters (a line number) stay where they stand, and the statement after them goes to
// column `count`, one blank after them at least.
void SetIndent(std::string& line, int count, std::size_t kept = 0) {
    const auto lead = kept + static_cast<std::size_t>(LeadingSpaces(std::string_view(line).substr(kept)));
    auto wanted = static_cast<std::size_t>(std::clamp(count, 0, kMaxIndentColumns));
    if (kept > 0)
        wanted = std::max(wanted, kept + 1);
    if (lead != wanted)
        line.replace(kept, lead - kept, wanted - kept, ' ');
}

// The loops closed by a line that begins with Next: the variables it names end at the first ":"
// ("Next: Print a, b" closes one).
int LoopsClosedByFirstNext(std::string_view line) {
    if (line.find(':') == std::string_view::npos)
        return LoopsClosedByNext(line);
    const std::vector<std::string_view> statements = JoinedStatements(line);
    return statements.empty() ? 1 : LoopsClosedByNext(statements.front());
}

} // namespace

TVBSrcFormatter::TVBSrcFormatter(const Settings& settings, Prompter& prompter)
    : settings_(&settings), prompter_(&prompter) {}

TLineList TVBSrcFormatter::TakeOutput() {
    TLineList output = std::move(OutputLines);
    OutputLines = TLineList();
    return output;
}

// --- Per-file driver ---------------------------------------------------------------------------

TFormatFileResult TVBSrcFormatter::FormatFile(const std::vector<std::string>& fileLines,
                                              std::string_view fileName, TSourceKind kind,
                                              ProgressObserver& progress) {
    return FormatFile(TLineList(fileLines), fileName, kind, progress);
}

TFormatFileResult TVBSrcFormatter::FormatFile(const TLineList& fileLines, std::string_view fileName,
                                              TSourceKind kind, ProgressObserver& progress) {
    if (!fileLines.empty() && fileLines[0].starts_with(kUtf8ByteOrderMark))
        return FormatWithoutByteOrderMark(fileLines, fileName, kind, progress);
    // The previous output goes, but its memory serves the first pass; and a pass input that has
    // served keeps its room for a later pass's output: pages already in use cost far less than fresh
    // ones.
    TLineList spare = TakeOutput();
    PassInput.Clear();
    FileName = fileName;
    FileKind = kind;
    RepassNeeded = false;
    takenOver_ = 0;

    // Passes repeat until one changes nothing: every pass applies every rule (spell checking aside),
    // so its output is then a fixed point, and formatting it again gives it back unchanged. Most files
    // settle in the first pass and need a second to show it; a file that never settles is given up
    // on with a warning.
    TFormatFileResult result;
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        progress.SetCaption(FileName + " (Pass " + std::to_string(pass + 1) + ")");
        bool completed = false;
        bool repeated = false;
        if (pass == 0) {
            OutputLines = std::move(spare);
            OutputLines.Reset();
            completed = FormatPass(fileLines, pass, progress);
        } else {
            // The previous output, with its markers, becomes this pass's input, and the pass's
            // output only verifies it while it gives back the same lines: a pass that settles stores
            // nothing, and its input is the result. Once a line differs, the output is a list of its
            // own, and each input line's memory goes back once the line has been read.
            RepassNeeded = false;
            PassInput = std::move(OutputLines);
            OutputLines = std::move(spare);
            ReserveOutput(PassInput);
            OutputLines.VerifyAgainst(PassInput);
            completed = RunPass(PassInput, &PassInput, pass, progress);
            repeated = completed && OutputLines.Verifying() && OutputLines.size() == PassInput.size();
            if (repeated) {
                TLineList verifier = std::move(OutputLines);
                verifier.Reset();
                OutputLines = std::move(PassInput);
                PassInput = std::move(verifier);
            } else {
                OutputLines.StopVerifying();
            }
            spare = std::move(PassInput);
        }
        PassInput = TLineList();
        ++result.Passes;
        if (!completed) {
            result.Cancelled = true;
            break;
        }
        // The first pass is compared with the file itself, which stays beside it: a file that changes
        // shows it at its first changed line, and one whose lines only moved needs no second pass to
        // show that it has settled. A later pass has settled when it gave back its input.
        if (pass == 0 ? FirstPassSettled(fileLines) : repeated)
            break;
        if (pass + 1 == kMaxPasses) {
            result.Unsettled = true;
            prompter_->Show(PromptKind::Warning,
                            FileName + ": the formatting did not settle after " + std::to_string(kMaxPasses) +
                                " passes; formatting the result again may change it further.",
                            PromptButtons::Ok);
        }
    }
    if (settings_->TrimTrailingBlanks && !result.Cancelled)
        TrimTrailingBlanks();
    result.LinesTakenOver = takenOver_;
    return result;
}

bool TVBSrcFormatter::FirstPassSettled(const TLineList& input) const {
    // The file as it came is the result: formatting it gave it back. Else a second pass would read
    // each line as the first read it, in the same state, and so give the same output (and the same
    // change markers) when the first pass gave one line for each line it read and each line it
    // changed reads alike.
    if (OutputLines.SameTexts(input))
        return true;
    if (RepassNeeded || !LineForLine)
        return false;
    std::string scratch;
    for (std::size_t i = 0; i < input.size(); ++i) {
        const std::string_view out = OutputLines[i];
        if (input[i] != out && !ReadAlike(Expanded(input[i], scratch, settings_->TabWidth), out, true))
            return false;
    }
    return true;
}

bool TVBSrcFormatter::ReadAlike(std::string_view in, std::string_view out, bool seenAsNext) const {
    // A pass replaces a statement's leading blanks whatever their number (it keeps only those of the
    // lines it leaves in place, which then stay as they are) and measures the text after them. In
    // the first column, though, a line that starts with a label is a label line.
    const std::string_view inText = in.substr(static_cast<std::size_t>(LeadingSpaces(in)));
    const std::string_view outText = out.substr(static_cast<std::size_t>(LeadingSpaces(out)));
    if ((inText.size() == in.size()) != (outText.size() == out.size()) && StartsWithLabel(inText))
        return false;
    // The line after a heading is compared whole with a blank edge line of its header.
    const bool edgeCompared = seenAsNext && HeaderCommentsWanted();
    if (inText == outText)
        return !inText.empty() || !edgeCompared;
    return !edgeCompared && InLineCommentPlacedAlike(inText, outText);
}

bool TVBSrcFormatter::InLineCommentPlacedAlike(std::string_view in, std::string_view out) const {
    // The placement at a fixed column and the one behind the code by an indent take the code and the
    // comment's text, the first without the blanks around it: the same code and text give the same
    // line wherever the comment stood. A comment of the special characters goes.
    const Settings& cfg = *settings_;
    if ((cfg.GrpInLineComments != kInLineCommentsFixedColumn && cfg.GrpInLineComments != kInLineCommentsIndented) ||
        IsCommentOnly(out) || CommentPos(in) == 0 || CommentPos(out) == 0 ||
        HasRemInCode(out) || HasContinuedComment(in) || HasContinuedComment(out) || IsSpecialComment(out))
        return false;
    return StripComment(in) == StripComment(out) && CommentBody(CommentText(in)) == CommentBody(CommentText(out));
}

void TVBSrcFormatter::TrimTrailingBlanks() {
    // Repositories whose editors trim trailing whitespace on save would otherwise undo what the split
    // pieces and the rewritten Next lines end with.
    std::string trimmed;
    for (std::size_t i = 0; i < OutputLines.size(); ++i) {
        const std::string_view line = OutputLines[i];
        if (line.empty() || line.back() != ' ')
            continue;
        const std::size_t end = line.find_last_not_of(' ');
        trimmed.assign(line.substr(0, end == std::string_view::npos ? 0 : end + 1));
        OutputLines.Replace(i, trimmed);
    }
}

TFormatFileResult TVBSrcFormatter::FormatWithoutByteOrderMark(const TLineList& fileLines,
                                                              std::string_view fileName, TSourceKind kind,
                                                              ProgressObserver& progress) {
    // The mark is no text of the first line: a heading behind it must be seen as one, and nothing
    // may go in before it. The file is formatted without it, and the mark goes back to byte 0.
    TLineList lines(fileLines);
    lines.Replace(0, fileLines[0].substr(kUtf8ByteOrderMark.size()));
    const TFormatFileResult result = FormatFile(lines, fileName, kind, progress);
    if (OutputLines.empty()) {
        OutputLines.Append(kUtf8ByteOrderMark, false);
    } else {
        std::string first(kUtf8ByteOrderMark);
        first.append(OutputLines[0]);
        OutputLines.Replace(0, first);
    }
    return result;
}

// --- One pass ----------------------------------------------------------------------------------

void TVBSrcFormatter::ResetPassState() {
    // Each pass starts at module level: a file that leaves blocks open (or closes too many) must not
    // shift the lines of its later passes or of the files formatted after it. Every pass starts in the
    // same state, which the confirming pass's skipping relies on.
    static_cast<TPassState&>(*this) = TPassState();
    NextLine = {};
}

void TVBSrcFormatter::ReserveOutput(const TLineList& input) {
    // Room for the output's line entries (indentation, split pieces, header comments, blank lines)
    // is reserved up front, generously (header comments on short procedures more than double a
    // file): pages that are never written are never touched, while a vector that has to grow copies
    // everything written so far and holds both rooms at once. Room kept from an earlier pass is used
    // as it is when it holds the input's size.
    if (OutputLines.LineCapacity() < input.size() + input.size() / 4 + 16)
        OutputLines.Reserve(input.size() * 3 + 16);
}

bool TVBSrcFormatter::FormatPass(const TLineList& inputLines, int pass, ProgressObserver& progress) {
    ReserveOutput(inputLines);
    return RunPass(inputLines, nullptr, pass, progress);
}

bool TVBSrcFormatter::RunPass(const TLineList& input, TLineList* release, int pass,
                              ProgressObserver& progress) {
    const Settings& cfg = *settings_;
    const int tabWidth = cfg.TabWidth;
    const std::size_t count = input.size();
    std::string scratch;

    ResetPassState();
    passLines_ = &input;
    passOwned_ = release;

    // The designer part of a form, class or user control goes through untouched.
    std::size_t index = DesignerPartLength(input);
    for (std::size_t k = 0; k < index; ++k) {
        if (input[k].find('\t') == std::string_view::npos)
            AppendInputLine(k, false);
        else
            OutputLines.Append(Expanded(input[k], scratch, tabWidth), false);
    }

    // A missing Option Explicit goes in after the header (the Attribute lines, also after blank
    // lines), where the Visual Basic editor expects the code to begin. One anywhere in the file, in
    // any indentation and letter case, counts: it stays where the user wrote it, and none goes in.
    std::size_t insertAt = count + 1; // none
    if (cfg.OptionExplicitInsert && !HasOptionExplicit(input)) {
        RepassNeeded = true;
        insertAt = HeaderEnd(input, index);
    }

    progress.SetRange(static_cast<int>(count));
    progress.SetPosition(static_cast<int>(index));

    std::string& line = line_;
    std::string expandedInput; // the tab-expanded input line, kept only when it held a tab
    LineForLine = true;
    // The first pass notes where the confirming pass may skip ahead; the confirming pass (the second)
    // does so where the file does not get an Option Explicit.
    const bool tracing = pass == 0;
    const bool skipping = pass == 1 && skipStretches_ && trace_.Size() > 0 && insertAt > count;
    if (tracing)
        trace_.Clear();
    tracing_ = tracing;
    unitOpen_ = false;
    groupEnd_ = kNoFrame; // a pass cancelled in a framed group leaves nothing for the next
    OutputLines.ForgetEdits();
    for (std::size_t i = index; i < count; ++i) {
        TraceDone();
        if (skipping)
            i = SkipStretch(i, input, release, index);
        // The pass is done with the line before: what it keeps of it (PrevLine) is a copy.
        if (release && i > index && !OutputLines.Verifying())
            release->Release(i - 1);
        LineForLine = LineForLine && OutputLines.size() == i;
        if (progress.CancelRequested()) {
            NextLine = {};
            tracing_ = false;
            passLines_ = nullptr;
            passOwned_ = nullptr;
            return false;
        }
        progress.SetPosition(static_cast<int>(i));
        lineIndex_ = i;
        const std::string_view raw = input[i];
        TraceBegin(raw, true);

        // NextLine has shown whether this line holds a tab: when it is a view of the line itself,
        // the line has none.
        if (SameView(NextLine, raw))
            line.assign(raw);
        else
            ExpandTabsInto(line, raw, tabWidth);
        std::string_view original = raw;
        if (line.size() != raw.size()) {
            expandedInput = line;
            original = expandedInput;
        }
        if (i == insertAt) {
            NextLine = line;
            InsertOptionExplicit();
        }
        NextLine = i + 1 < count ? Expanded(input[i + 1], nextScratch_, tabWidth) : std::string_view();
        const bool wasChanged = pass > 0 && input.Changed(i);

        if (CommentContinues) {
            // More text of the comment on the line before: not code, so nothing touches it.
            AppendLine(line, wasChanged || TrimRight(line) != TrimRight(original));
            CommentContinues = EndsWithContinuation(line);
            Continued = false;
            if (!Trim(line).empty())
                PrevIndent = LeadingSpaces(line);
            PrevLine = line;
            progress.LineDone();
            continue;
        }

        // A region the user keeps out of the house style passes through as it stands; the comment
        // that ends it is formatted as any comment.
        const IgnoreDirective directive = IgnoreDirectiveOf(line);
        if (IgnoreLines != 0 && !(IgnoreLines < 0 && directive == IgnoreDirective::On)) {
            PassThroughLine(raw, line, wasChanged);
            if (IgnoreLines > 0)
                --IgnoreLines;
            progress.LineDone();
            continue;
        }
        IgnoreLines = directive == IgnoreDirective::Off           ? -1
                      : directive == IgnoreDirective::OffNextLine ? 1
                                                                  : 0;

        // Spell checking offers each literal and comment once per run, before any split copies them.
        SourceLine = static_cast<int>(i) + 1;
        if (pass == 0)
            SpellCheckLine(line);
        // A group of whole-line comments that will get borders may get them as its lines are read,
        // instead of when the line after it ends it: the next pass then reads them as this one did.
        if (CommentGroupCount == 0 && IsCommentOnly(line) &&
            (groupEnd_ = FramedGroupEnd(i, groupBorderText_)) != kNoFrame) {
            const std::string_view next = NextLine;
            NextLine = line; // the border comes before this line
            FormatGroupBorder();
            NextLine = next;
            TraceBegin(raw, true);
        }
        FormatStatementLine(line, original, wasChanged, 0);
        if (i == groupEnd_) {
            groupEnd_ = kNoFrame;
            FormatGroupBorder();
        }
        progress.LineDone();
    }
    TraceDone();
    tracing_ = false;
    NextLine = {};
    LineForLine = LineForLine && OutputLines.size() == count;
    if (insertAt == count)
        InsertOptionExplicit();
    if (tracing)
        trace_.Finish(OutputLines.size(), OutputLines.FirstEditedLine());
    else
        trace_.Clear(); // a later pass has its own input
    progress.SetPosition(static_cast<int>(count)); // the gauge ends full
    passLines_ = nullptr;
    passOwned_ = nullptr;
    return true;
}

void TVBSrcFormatter::TraceBegin(std::string_view read, bool mayBeAlike) {
    if (!tracing_)
        return;
    if (unitOpen_) {
        // The first piece of a split line begins where the line began, in the state it began in.
        if (OutputLines.size() == trace_.LineStart()) {
            unitRead_ = read;
            unitMayBeAlike_ = mayBeAlike;
            return;
        }
        TraceDone();
    }
    trace_.BeforeLine(OutputLines.size(),
                      OutputLines.empty() ? std::string_view() : OutputLines[OutputLines.size() - 1], *this);
    unitOpen_ = true;
    unitRead_ = read;
    unitMayBeAlike_ = mayBeAlike;
    unitDropsBlanks_ = DropsBlankLinesUnchanged();
    prevReadNext_ = nextLineRead_;
    nextLineRead_ = false;
}

bool TVBSrcFormatter::BlankLinesRead(bool before, bool after) const {
    // The next pass reads the blank lines put before the line in the state the line began in, and
    // those after it in the state it left. A line that looked at the line after it (a heading, for
    // its header or its Attribute lines) must find there, in that pass, what it found in this one.
    return (!before || (unitDropsBlanks_ && !prevReadNext_)) &&
           (!after || (DropsBlankLinesUnchanged() && !nextLineRead_));
}

bool TVBSrcFormatter::DropsBlankLinesUnchanged() const {
    // A blank line that the settings drop goes through the pass without a trace: it is not emitted,
    // and a blank line changes nothing of the state that a later line reads (its class is read only
    // by a continued statement's lines) unless it falls where a statement, a comment, an ignored
    // region or a heading waiting for its Attribute lines goes on.
    return Config().GrpBlankLines != 0 && !Continued && !CommentContinues && IgnoreLines == 0 &&
           !PendingHeading.active;
}

void TVBSrcFormatter::TraceDone() {
    if (!unitOpen_)
        return;
    unitOpen_ = false;
    // Nothing written before the line may have changed since it was read.
    const std::size_t size = OutputLines.size();
    const std::size_t edited = OutputLines.FirstEditedLine();
    OutputLines.ForgetEdits();
    const std::size_t start = trace_.LineStart();
    if (size == start && edited == TPassTrace::kNoEdit && unitMayBeAlike_ && unitDropsBlanks_ && !prevReadNext_ &&
        Trim(unitRead_).empty()) {
        nextLineRead_ = false;
        return; // a blank line dropped: no line of the next pass's input
    }
    // The line gave one line, maybe with blank lines that the blank-line rules put before or after it:
    // the next pass drops those as it reads them and puts them in again.
    bool alike = unitMayBeAlike_ && edited == TPassTrace::kNoEdit && size == start + 1;
    std::size_t at = start;
    if (unitMayBeAlike_ && edited == TPassTrace::kNoEdit && size > start + 1) {
        while (at < size && OutputLines[at].empty())
            ++at;
        std::size_t end = at + 1;
        while (end < size && OutputLines[end].empty())
            ++end;
        alike = at < size && end == size && BlankLinesRead(at > start, end > at + 1);
    }
    if (alike) {
        const std::string_view out = OutputLines[at];
        alike = SameText(unitRead_, out) ||
                ReadAlike(Expanded(unitRead_, traceScratch_, settings_->TabWidth), out, prevReadNext_);
    }
    trace_.AfterLine(alike, edited);
}

bool TVBSrcFormatter::ReadAsALine(int depth) const {
    // The pass that reads the output takes a piece or an inserted line as a line of its own: down the
    // same way only when nothing ahead of the line's formatting in that pass turns it aside (a comment
    // continued from the line before, an ignored region) and when the piece could have been cut
    // again here.
    return depth < kMaxSplitDepth && !CommentContinues && IgnoreLines == 0;
}

bool ReadsAsItStands(std::string_view text) {
    // A continued line's statement is gathered from the lines of the pass's own input.
    return text.find('\t') == std::string_view::npos && (IsCommentOnly(text) || !IsContinuedLine(text)) &&
           IgnoreDirectiveOf(text) == IgnoreDirective::None;
}

std::size_t TVBSrcFormatter::SkipStretch(std::size_t index, const TLineList& input, TLineList* release,
                                         std::size_t first) {
    const TPassTrace::Stretch* stretch = trace_.StretchAt(index);
    if (stretch == nullptr || OutputLines.size() != index || Hash() != stretch->BeginHash)
        return index;
    for (std::size_t k = index; k < stretch->Resume; ++k) {
        if (release && k > first && !OutputLines.Verifying())
            release->Release(k - 1);
        AppendInputLine(k, input.Changed(k));
    }
    takenOver_ += stretch->Resume - index;
    trace_.Resume(*stretch, *this);
    PrevLine.assign(OutputLines[stretch->Resume - 1]);
    return stretch->Resume;
}

void TVBSrcFormatter::InsertOptionExplicit() {
    // The line and the blank line after it go through the pass as any line of the file, so that the
    // comment placement, the comment groups and the blank lines around them come out as the next
    // formatting will leave them. Under the blank-line rules (or their removal) a file gains no blank
    // line besides theirs: formatting it again would drop this one.
    std::string inserted(kOptionExplicitLine);
    FormatStatementLine(inserted, {}, true, 1);
    if (settings_->GrpBlankLines == 0) {
        std::string blank;
        FormatStatementLine(blank, {}, true, 1);
    }
}

void TVBSrcFormatter::FormatStatementLine(std::string& line, std::string_view original, bool wasChanged,
                                          int depth) {
    const Settings& cfg = *settings_;

    // Colons and single-line Ifs are looked for once: up to the For/Next step no more than blanks of
    // the line change. A continued If is a single-line If when its whole statement is one.
    // Whether the line goes on in the next one does not change while it is formatted either (only
    // its blanks, its comment or the variable of a Next that goes on in no line). The statement of a
    // continued line is joined only when it may be an If.
    // A whole-line comment holds no statement colon and goes on in no line (its text may: that is
    // HasContinuedComment's).
    const bool commentOnly = IsCommentOnly(line);
    const bool hasColon = !commentOnly && line.find(':') != std::string::npos;
    const bool continuedLine = !commentOnly && IsContinuedLine(line);
    const bool singleLineIf =
        !commentOnly && (IsSingleLineIf(line) || (!Continued && depth == 0 && continuedLine && MayStartIf(line) &&
                                                  IsSingleLineIf(LogicalLine(lineIndex_))));

    // A split line is not emitted: its pieces go through every step of the pass in its place, so
    // that the blank-line rules, headers, borders and comment placement see them as the next
    // formatting would. A piece may be cut again (a nested single-line If).
    std::optional<TextLines> pieces;
    if (depth < kMaxSplitDepth && !commentOnly && MaySplit(line, singleLineIf, hasColon)) {
        if (cfg.MultiVarSplit && IsMultiVarDecl(line))
            pieces = SplitMultiVar(line);
        if (!pieces && cfg.MultiConstSplit && IsMultiConstDecl(line))
            pieces = SplitMultiConst(line);
        if (!pieces) {
            if (cfg.IfThenSplit && singleLineIf)
                pieces = SplitIfThen(line);
            else if (cfg.MultiStatementSplit && hasColon && HasStatementSeparator(line))
                pieces = SplitStatements(line);
        }
    }
    if (pieces) {
        FormatPieces(*pieces, depth);
        return;
    }

    // A comment behind the code that will not fit at the fixed column goes onto a line of its own,
    // above or below the code. The two lines go through the pass as the next formatting will find
    // them, so that the blank lines, headers, borders and declaration groups around them come out
    // as that formatting would leave them.
    if (const int fallback = commentOnly ? 0 : CommentLineFallback(line, hasColon, singleLineIf)) {
        std::string comment = Spaces(PrevIndent).append("'").append(CommentText(line));
        std::string code(StripComment(line));
        TextLines parts;
        if (fallback == kCommentOnNextLine)
            parts.push_back(std::move(code));
        // A setting that removes whole-line comments leaves nothing of the moved one.
        if (cfg.GrpSingleLineComments != kRemoveWholeLineComments)
            parts.push_back(std::move(comment));
        if (fallback != kCommentOnNextLine)
            parts.push_back(std::move(code));
        FormatPieces(parts, depth);
        return;
    }

    const TStatementClass cls = commentOnly ? TStatementClass::scOther : ClassifyLine(line);
    // The declaration group ends before anything of this line (a blank line, a header) is emitted; a
    // line that will not be emitted ends no group, since the next formatting will not see it. A
    // whole-line comment holds no declaration: it can only end a group.
    if (cfg.AlignMultiDimAs &&
        (commentOnly ? DimCount != 0 && !IsDroppedLine(line) : DimCount == 0 || !IsDroppedLine(line)))
        CollectDimAs(line);

    LineOutputStart = OutputLines.size();
    const bool continuation = Continued; // this line goes on with the statement of the line before
    BeforeLine(line, cls);
    bool emit = true;

    LevelBeforeLine = IndentLevel;
    IndentStatement(line, cls, hasColon, singleLineIf);
    // A whole-line comment stays one while it is indented: no loop statement, no Rem, and a comment.
    const bool nextRewritten = !commentOnly && ForNextLine(line, hasColon);

    bool codeLine = true;
    const bool remComment = !commentOnly && IsRemComment(line);
    if (commentOnly || remComment || CommentPos(line) > 0) {
        if (cfg.SpecialRemoveComments)
            RemoveSpecialComment(line, emit);
        if (remComment || IsCommentOnly(line)) {
            ++CommentGroupCount;
            FormatSingleLineComment(line);
            codeLine = false;
        } else if (CommentPos(line) > 0) {
            // A removed comment leaves no comment to place.
            FormatInLineComment(line);
            if (IsCommentOnly(line)) {
                // The comment went below its code, which is emitted already: the code ends the group
                // before it, and the comment, placed after the code, starts one.
                AddCommentBorders();
                CommentGroupCount = 1;
                LineOutputStart = OutputLines.size();
                const std::string_view code = OutputLines[LineOutputStart - 1];
                PrevIndent = LeadingSpaces(code);
                PrevLine.assign(code);
                FormatSingleLineComment(line);
                codeLine = false;
            }
        }
    }

    // A rewritten Next whose comment went keeps the blanks the rewriting wrote, as the next
    // formatting will write them again.
    if (nextRewritten && CommentPos(line) == 0 && !line.ends_with(kNextLineTail))
        line.append(kNextLineTail);

    if (!KeepBlankLine(line))
        emit = false;
    // A line that is not emitted ends no comment group: the groups on either side of it meet in the
    // output, and the next formatting would see them as one.
    if (codeLine && emit) {
        AddCommentBorders();
        CommentGroupCount = 0;
    }

    if (emit)
        AppendLine(line, wasChanged || TrimRight(line) != TrimRight(original));

    Continued = continuedLine;
    CommentContinues = HasContinuedComment(line);
    // Comment placement measures the nearest line with text, not a blank line before it; a line that
    // is not emitted is no neighbour of the next.
    if (emit && !Trim(line).empty())
        PrevIndent = LeadingSpaces(line);
    AfterLine(line, cls, continuation);
    if (emit)
        PrevLine.swap(line); // the next line is read into the old PrevLine's buffer
    if (HeaderAfter) {
        HeaderAfter = false;
        PrevLine = HeaderTail;
        PrevIndent = HeaderTailIndent;
    }
    if (headerQueued_ > 0)
        FormatQueuedHeader(depth);
}

std::size_t TVBSrcFormatter::FramedGroupEnd(std::size_t first, std::string& border) {
    // The borders go in with the group when each of its lines is a whole-line comment that the pass
    // reads as it stands (no tab, no continued comment, no ignore directive, no border of its own),
    // when the pass places comment lines whatever indentation they came with, and when the line
    // after the group ends it as soon as it is read.
    const Settings& cfg = *settings_;
    const int placement = cfg.GrpSingleLineComments;
    if (!cfg.SingleLineCommentBlocks || Continued || CommentContinues || IgnoreLines != 0 || DimCount != 0 ||
        cfg.SpecialRemoveComments || (cfg.SpellingPerform && cfg.SpellingComments) ||
        !(placement == 1 || placement == 3 || (placement == 0 && cfg.CodeIndentPerform)))
        return kNoFrame;
    const TLineList& input = *passLines_;
    const std::string_view bare = TrimSpaces(CommentBorder());
    std::size_t last = kNoFrame;
    int lines = 0;
    std::size_t k = first;
    for (; k < input.size(); ++k) {
        const std::string_view text = input[k];
        if (text.find('\t') != std::string_view::npos)
            return kNoFrame;
        if (Trim(text).empty()) {
            if (cfg.GrpBlankLines == 0)
                break; // an emitted blank line ends the group
            continue;  // a dropped one does not
        }
        if (!IsCommentOnly(text))
            break;
        if (HasContinuedComment(text) || IgnoreDirectiveOf(text) != IgnoreDirective::None ||
            TrimSpaces(text) == bare)
            return kNoFrame;
        last = k;
        ++lines;
    }
    if (lines < cfg.SingleLineCommentGroupQty || k == input.size() ||
        !(Trim(input[k]).empty() || EndsCommentGroupAtOnce(input[k])))
        return kNoFrame;
    border = PlacedBorder(PrevIndent, IndentLevel);
    return border.empty() ? kNoFrame : last;
}

void TVBSrcFormatter::FormatGroupBorder() {
    groupBorder_[0] = groupBorderText_;
    FormatLinesInPlace(groupBorder_, 1, 0, true);
}

bool TVBSrcFormatter::MaySplit(std::string_view line, bool singleLineIf, bool hasColon) const {
    const Settings& cfg = *settings_;
    return (cfg.MultiVarSplit && IsMultiVarDecl(line)) || (cfg.MultiConstSplit && IsMultiConstDecl(line)) ||
           (cfg.IfThenSplit && singleLineIf) || (cfg.MultiStatementSplit && hasColon && HasStatementSeparator(line));
}

void TVBSrcFormatter::FormatPieces(TextLines& pieces, int depth) {
    RepassNeeded = true;
    FormatLinesInPlace(pieces, pieces.size(), depth, false);
}

void TVBSrcFormatter::FormatLinesInPlace(TextLines& lines, std::size_t count, int depth, bool readAsTheyStand) {
    const std::string_view after = NextLine;
    // Each piece is a line of the next pass's input: the trace notes it as one. The piece is
    // formatted in place, so the text that pass will read is kept beside it, in a room of its own
    // for each depth (a piece's own pieces, or the header after a heading piece, come deeper).
    if (readAt_.size() <= static_cast<std::size_t>(depth) + 1)
        readAt_.resize(static_cast<std::size_t>(depth) + 2);
    std::string& read = readAt_[static_cast<std::size_t>(depth) + 1];
    for (std::size_t k = 0; k < count; ++k) {
        NextLine = k + 1 < count ? std::string_view(lines[k + 1]) : after;
        if (tracing_) {
            read = lines[k];
            TraceBegin(read, ReadAsALine(depth + 1) && (readAsTheyStand || ReadsAsItStands(read)));
        }
        FormatStatementLine(lines[k], {}, true, depth + 1);
        TraceDone();
    }
    NextLine = after;
}

void TVBSrcFormatter::IndentStatement(std::string& line, TStatementClass cls, bool hasColon,
                                      bool singleLineIf) {
    // An Attribute line inside a procedure stays in the first column, where the Visual Basic editor
    // writes it and looks for it. A label line keeps its position, but a block that a statement after
    // the label opens or closes still moves the level ("Retry: For i = 1 To 3").
    if (!settings_->CodeIndentPerform || IsAttributeLine(line))
        return;
    if (hasColon && IsLabelLine(line)) {
        NoteStatementColumn(IndentLevel, cls);
        FollowJoinedStatements(line);
    } else
        IndentLine(line, cls, singleLineIf, hasColon);
}

int TVBSrcFormatter::CommentLineFallback(const std::string& line, bool hasColon, bool singleLineIf) {
    const Settings& cfg = *settings_;
    const int fallback = cfg.GrpInLineCommentsFixedColUnavail;
    // The cheap tests first: most lines have no comment, and most settings move none.
    if (cfg.GrpInLineComments != kInLineCommentsFixedColumn ||
        (fallback != kCommentOnPreviousLine && fallback != kCommentOnNextLine) ||
        (fallback == kCommentOnPreviousLine && Continued) || IsCommentOnly(line) || CommentPos(line) == 0 ||
        IsRemComment(line) || HasContinuedComment(line) || HasRemInCode(line) || IsSpecialComment(line))
        return 0;
    // The code as the comment placement will measure it: indented, and a Next rewritten by the For/Next
    // setting. The level and the #If frames the indentation moves are put back.
    std::string trial = line;
    const int level = IndentLevel;
    const bool directive = TrimLeft(line).front() == '#';
    std::vector<TCondFrame> frames;
    if (directive)
        frames = CondFrames;
    const int continuedFrom = ContinuedFrom;
    IndentStatement(trial, ClassifyLine(line), hasColon, singleLineIf);
    IndentLevel = level;
    ContinuedFrom = continuedFrom;
    if (directive)
        CondFrames = std::move(frames);
    if (!(hasColon && JoinedStatements(trial).size() > 1) && IsNextLine(trial))
        RewriteLoneNext(trial, LoopsClosedByNext(AfterLineNumber(trial)));
    if (static_cast<int>(StripComment(trial).size()) < cfg.InLineCommentsFixedColumn)
        return 0;
    return fallback;
}

bool TVBSrcFormatter::IsDroppedLine(std::string_view line) const {
    const Settings& cfg = *settings_;
    const bool blanksKept = cfg.GrpBlankLines == 0;
    if (Trim(line).empty())
        return !blanksKept;
    if (!IsCommentOnly(line) && !IsRemComment(line))
        return false;
    if (HasContinuedComment(line))
        return false;
    if (IsCommentOnly(line) && IsSpecialComment(line))
        return true;
    return cfg.GrpSingleLineComments == kRemoveWholeLineComments && !blanksKept;
}

std::string TVBSrcFormatter::LogicalLine(std::size_t index) const {
    // The code of each line with its continuation "_" dropped, joined by one blank; the comment of
    // the last line is kept.
    std::string joined;
    std::string scratch;
    const TLineList& input = *passLines_;
    for (std::size_t i = index; i < input.size(); ++i) {
        const std::string_view text = Expanded(input[i], scratch, settings_->TabWidth);
        if (!IsContinuedLine(text)) {
            joined.append(Trim(text));
            break;
        }
        std::string_view code = TrimRight(StripComment(text));
        code.remove_suffix(1); // the "_"
        joined.append(Trim(code)).append(" ");
    }
    return joined;
}

void TVBSrcFormatter::AppendLine(std::string_view line, bool changed) {
    // Most lines leave a pass as they came: the output then refers to the input's bytes. A header's
    // lines recur from procedure to procedure.
    if (recurringLines_)
        OutputLines.AppendRecurring(line, changed);
    else if (passLines_ != nullptr && lineIndex_ < passLines_->size() && line == (*passLines_)[lineIndex_])
        AppendInputLine(lineIndex_, changed);
    else
        OutputLines.Append(line, changed);
}

void TVBSrcFormatter::AppendInputLine(std::size_t index, bool changed) {
    // An input the engine owns (the previous pass's output) hands its bytes over to the output.
    if (passOwned_ != nullptr)
        OutputLines.AppendTakingOver(*passOwned_, index, changed);
    else
        OutputLines.AppendShared(*passLines_, index, changed);
}

// --- Hooks around each line --------------------------------------------------------------------

void TVBSrcFormatter::SpellCheckLine(std::string& line) {
    const Settings& cfg = *settings_;
    // The cancel flag is tested once per line: a cancel in a literal still lets the user see the
    // comment of the same line, and that check's outcome decides whether the next lines are checked.
    if (!cfg.SpellingPerform || SpellCheckCancelled)
        return;
    if (cfg.SpellingLiterals)
        SpellCheckLiterals(line);
    if (cfg.SpellingComments)
        SpellCheckComment(line);
}

void TVBSrcFormatter::BeforeLine(const std::string& line, TStatementClass cls) {
    if (!Continued && IsProcedureHeading(cls) && HeaderCommentsWanted()) {
        HeaderPrevIndent = PrevIndent;
        InsertHeaderComment(IsContinuedLine(line) ? LogicalLine(lineIndex_) : line, cls, true);
    }
    AddBlankLinesBefore(cls);
}

void TVBSrcFormatter::AfterLine(const std::string& line, TStatementClass cls, bool continuation) {
    if (!HeaderCommentsWanted() && Config().GrpBlankLines != kBlankLinesByRules)
        return;
    // The line has been formatted since BeforeLine: its blanks, its comment or the variable of a Next
    // may have changed, which leaves its class as it was; a line that became its own comment (or
    // nothing) is none of the classes.
    if (IsCommentOnly(line) || Trim(line).empty())
        cls = TStatementClass::scOther;
    // A header after a heading goes after the heading's last line and after the Attribute lines that
    // the Visual Basic editor keeps right below it.
    if (!continuation && IsProcedureHeading(cls) && !PendingHeading.active) {
        PendingHeading.active = true;
        PendingHeading.text = IsContinuedLine(line) ? LogicalLine(lineIndex_) : line;
        PendingHeading.cls = cls;
    }
    nextLineRead_ = nextLineRead_ || PendingHeading.active;
    if (PendingHeading.active && !Continued && !IsAttributeLine(NextLine)) {
        PendingHeading.active = false;
        HeaderPrevIndent = PrevIndent;
        if (!HasContinuedComment(line))
            InsertHeaderComment(PendingHeading.text, PendingHeading.cls, false);
    }
    // A continued statement has the class of its first line and its blank lines after its last.
    if (!continuation)
        StatementClass = cls;
    AddBlankLinesAfter(line, continuation ? StatementClass : cls);
}

// --- Indentation -------------------------------------------------------------------------------

void TVBSrcFormatter::AdjustIndentLevel(TStatementClass cls) {
    const Settings& cfg = *settings_;
    using C = TStatementClass;
    // Inside an #If block a procedure is nested in it: its body and its end are measured from the
    // level inside the block, so that the level after #End If is right whichever branch it reads.
    const int base = CondFrames.empty() ? 0 : CondFrames.back().Start + cfg.IfThenElseIndent;
    if (IsProcedureHeading(cls)) {
        IndentLevel = base + cfg.DefaultLineIndent;
        return;
    }
    switch (cls) {
    case C::scEndSub:
    case C::scEndFunction:
        IndentLevel = base;
        break;
    case C::scIf:
        IndentLevel += cfg.IfThenElseIndent;
        break;
    case C::scEndIf:
        IndentLevel -= cfg.IfThenElseIndent;
        break;
    case C::scSelectCase:
        IndentLevel += cfg.SelectCaseIndent + cfg.CaseCodeIndent;
        break;
    case C::scEndSelect:
        IndentLevel -= cfg.SelectCaseIndent + cfg.CaseCodeIndent;
        break;
    case C::scDo:
        IndentLevel += cfg.DoLoopIndent;
        break;
    case C::scLoop:
        IndentLevel -= cfg.DoLoopIndent;
        break;
    case C::scWhile:
        IndentLevel += cfg.WhileWendIndent;
        break;
    case C::scWend:
        IndentLevel -= cfg.WhileWendIndent;
        break;
    case C::scFor:
        IndentLevel += cfg.ForNextIndent;
        break;
    case C::scNext:
        IndentLevel -= cfg.ForNextIndent;
        break;
    case C::scType:
        IndentLevel += cfg.TypeEndIndent;
        break;
    case C::scEndType:
        IndentLevel -= cfg.TypeEndIndent;
        break;
    case C::scWith:
        IndentLevel += cfg.WithEndIndent;
        break;
    case C::scEndWith:
        IndentLevel -= cfg.WithEndIndent;
        break;
    default: // Else, ElseIf, Case and other statements leave the level alone
        break;
    }
}

IgnoreDirective IgnoreDirectiveOf(std::string_view line) {
    // `upper`: upper case; compared in any letter case, without copying (every line is asked).
    const auto sameText = [](std::string_view text, std::string_view upper) {
        return text.size() == upper.size() && StartsWithUpper(text, upper);
    };
    // Most lines are no whole-line comment, and most comments do not begin with a K.
    const std::size_t start = line.find_first_not_of(' ');
    if (start == std::string_view::npos || line[start] != '\'')
        return IgnoreDirective::None;
    const std::size_t word = line.find_first_not_of(' ', start + 1);
    if (word == std::string_view::npos || (line[word] != 'K' && line[word] != 'k'))
        return IgnoreDirective::None;
    std::string_view rest = TrimSpaces(line.substr(word));
    constexpr std::string_view kWord = "KEMPTOR";
    if (!StartsWithUpper(rest, kWord))
        return IgnoreDirective::None;
    rest = TrimSpaces(rest.substr(kWord.size()));
    if (rest.empty() || rest.front() != ':')
        return IgnoreDirective::None;
    rest = TrimSpaces(rest.substr(1));
    if (sameText(rest, "OFF"))
        return IgnoreDirective::Off;
    if (sameText(rest, "ON"))
        return IgnoreDirective::On;
    if (sameText(rest, "OFF-NEXT-LINE"))
        return IgnoreDirective::OffNextLine;
    return IgnoreDirective::None;
}

void TVBSrcFormatter::PassThroughLine(std::string_view raw, const std::string& line, bool wasChanged) {
    // The level follows the line's blocks, so that the code after the region sits where it would
    // have sat had the region been formatted; the line itself is emitted as it came.
    if (settings_->CodeIndentPerform && !Continued) {
        std::string shadow = line;
        const bool hasColon = shadow.find(':') != std::string::npos;
        if (hasColon && IsLabelLine(shadow))
            FollowJoinedStatements(shadow);
        else
            IndentLine(shadow, ClassifyLine(shadow), IsSingleLineIf(shadow), hasColon);
    }
    AppendLine(raw, wasChanged);
    Continued = IsContinuedLine(line);
    CommentContinues = false;
    CommentGroupCount = 0;
    if (!Trim(line).empty())
        PrevIndent = LeadingSpaces(line);
    PrevLine = line;
}

void TVBSrcFormatter::IndentLine(std::string& line, TStatementClass cls, bool singleLineIf, bool hasColon) {
    // A blank line stays empty instead of taking the blanks of the level; a line of nothing but
    // control characters is left as it is.
    if (TrimLeft(line).empty()) {
        if (line.find_first_not_of(' ') == std::string::npos)
            line.clear();
        return;
    }
    // A leading line number is a label: it stays where it stands, and the statement after it is
    // indented as any other.
    const std::size_t number = Continued ? 0 : LineNumberLength(line);
    if (singleLineIf && number == 0) {
        const std::string_view body = TrimSpaces(line);
        line = Spaces(std::min(IndentLevel, kMaxIndentColumns)).append(body);
        NoteStatementColumn(IndentLevel, cls);
        return;
    }
    if (!singleLineIf && TrimLeft(line).front() == '#' && IndentDirective(line, cls)) {
        NoteStatementColumn(LeadingSpaces(line), cls);
        return;
    }
    const int column = singleLineIf ? IndentLevel : StatementColumn(line, cls);
    SetIndent(line, column, number);
    NoteStatementColumn(column, cls);
    if (!singleLineIf && hasColon)
        FollowJoinedStatements(line);
}

int TVBSrcFormatter::StatementColumn(std::string_view line, TStatementClass cls) {
    const Settings& cfg = *settings_;
    using C = TStatementClass;
    if (IsClosingClass(cls)) {
        // "Next j, i" closes as many loops as it names.
        for (int k = cls == C::scNext ? LoopsClosedByFirstNext(AfterLineNumber(line)) : 1; k > 0; --k)
            AdjustIndentLevel(cls);
        return IndentLevel;
    }
    if (IsOpeningClass(cls)) {
        const int column = IndentLevel;
        AdjustIndentLevel(cls);
        return column;
    }
    if (cls == C::scElse || cls == C::scElseIf)
        return IndentLevel - cfg.IfThenElseIndent;
    if (cls == C::scCase)
        return IndentLevel - cfg.CaseCodeIndent;
    // A continuation line goes on from its statement's first line, not from the block that line opens.
    return Continued ? ContinuedFrom + cfg.LineContinueIndent : std::max(IndentLevel, 0);
}

void TVBSrcFormatter::NoteStatementColumn(int column, TStatementClass cls) {
    // The parameters of a continued procedure heading stand deeper than the body below it.
    if (!Continued)
        ContinuedFrom = IsProcedureHeading(cls) ? IndentLevel : std::max(column, 0);
}

bool TVBSrcFormatter::IndentDirective(std::string& line, TStatementClass cls) {
    // Each branch of an #If starts from the level at which the #If started, and after #End If the
    // level is the one the first branch left: branches that open a procedure each (two headings of
    // one Sub) must not count twice.
    const int width = settings_->IfThenElseIndent;
    using C = TStatementClass;
    if (cls == C::scIf) {
        SetIndent(line, IndentLevel);
        CondFrames.push_back({IndentLevel, 0, false});
        IndentLevel += width;
        return true;
    }
    if (CondFrames.empty() || (cls != C::scElse && cls != C::scElseIf && cls != C::scEndIf))
        return false;
    TCondFrame& frame = CondFrames.back();
    SetIndent(line, frame.Start);
    if (!frame.Branched) {
        frame.FirstBranchEnd = IndentLevel;
        frame.Branched = true;
    }
    if (cls == C::scEndIf) {
        IndentLevel = frame.FirstBranchEnd - width;
        CondFrames.pop_back();
    } else {
        IndentLevel = frame.Start + width;
    }
    return true;
}

void TVBSrcFormatter::FollowJoinedStatements(std::string_view line) {
    // Most lines hold one statement, which the caller has dealt with; so does a line whose colons all
    // stand in literals or in the comment. Both are told without cutting the line.
    if (!HasCodeColon(line))
        return;
    const std::vector<std::string_view> statements = JoinedStatements(line);
    for (std::size_t i = 1; i < statements.size(); ++i) {
        const TStatementClass cls = ClassifyLine(statements[i]);
        // What follows the Then of a single-line If never moves the level.
        if (cls == TStatementClass::scIf && IsSingleLineIf(statements[i]))
            continue;
        for (int k = cls == TStatementClass::scNext ? LoopsClosedByNext(statements[i]) : 1; k > 0; --k)
            AdjustIndentLevel(cls);
    }
}

} // namespace kemptor
