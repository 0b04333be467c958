#include "formatter/TVBSrcFormatter.h"

#include "formatter/LineHelpers.h"
#include "formatter/LineSplits.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "settings/Settings.h"

#include <algorithm>

namespace kemptor {

namespace {

constexpr std::string_view kOptionExplicit = "Option Explicit";
constexpr std::string_view kOptionExplicitLine =
    "Option Explicit     'Force all variables to be declared before their use";

// The input line as the tests see it: tab-expanded. Lines without a tab are used in place.
std::string_view Expanded(std::string_view raw, std::string& scratch, int tabWidth) {
    if (raw.find('\t') == std::string_view::npos)
        return raw;
    ExpandTabsInto(scratch, raw, tabWidth);
    return scratch;
}

// The closing "END" of a form's or a class's designer part. Trailing blanks and control characters
// are ignored so that a hand-edited designer part is still recognised and passed through.
bool IsDesignerEnd(std::string_view line) {
    const std::string_view t = TrimRight(line);
    return t.size() == 3 && (t[0] | 0x20) == 'e' && (t[1] | 0x20) == 'n' && (t[2] | 0x20) == 'd';
}

// Leading and trailing blanks only: control characters at the ends of a line are content.
std::string_view TrimBlanks(std::string_view s) {
    const std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// Replaces the leading blanks of line by `count` blanks (none when count is negative).
void SetIndent(std::string& line, int count) {
    const auto lead = static_cast<std::size_t>(LeadingSpaces(line));
    const auto wanted = static_cast<std::size_t>(std::max(count, 0));
    if (lead != wanted)
        line.replace(0, lead, wanted, ' ');
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

TFormatFileResult TVBSrcFormatter::FormatFile(const std::vector<std::string>& fileLines, std::string_view fileName,
                                              TSourceKind kind, ProgressObserver& progress) {
    return FormatFile(TLineList(fileLines), fileName, kind, progress);
}

TFormatFileResult TVBSrcFormatter::FormatFile(const TLineList& fileLines, std::string_view fileName,
                                              TSourceKind kind, ProgressObserver& progress) {
    // The previous output goes, but its memory serves the first pass; and a pass input that has
    // served keeps its room for a later pass's output: pages already in use cost far less than fresh
    // ones.
    TLineList spare = TakeOutput();
    PassInput.Clear();
    FileName = fileName;
    FileKind = kind;
    RepassNeeded = false;

    TFormatFileResult result;
    for (int pass = 0; pass < 3; ++pass) {
        if (pass == 2 && !RepassNeeded)
            break;
        progress.SetCaption(FileName + " (Pass " + std::to_string(pass + 1) + ")");
        bool completed = false;
        if (pass == 0) {
            OutputLines = std::move(spare);
            OutputLines.Reset();
            completed = FormatPass(fileLines, pass, progress);
        } else {
            // The previous output, with its markers, becomes this pass's input. The engine owns it,
            // so each line's memory goes back once the line has been read.
            RepassNeeded = false;
            PassInput = std::move(OutputLines);
            OutputLines = std::move(spare);
            OutputLines.Reset();
            ReserveOutput(PassInput);
            completed = RunPass(PassInput, &PassInput, pass, progress);
        }
        if (pass > 0)
            spare = std::move(PassInput);
        PassInput = TLineList();
        ++result.Passes;
        if (!completed) {
            result.Cancelled = true;
            break;
        }
    }
    return result;
}

// --- One pass ----------------------------------------------------------------------------------

void TVBSrcFormatter::ResetPassState() {
    ForStack.Clear();
    CommentGroupCount = 0;
    DimCount = 0;
    DimMaxCol = 0;
    PrevIndent = 0;
    Continued = false;
    CommentContinues = false;
    CommentGroupStart = 0;
    // Each pass starts at module level: a file that leaves blocks open (or closes too many) must not
    // shift the lines of its later passes or of the files formatted after it.
    IndentLevel = 0;
    PrevLine.clear();
    NextLine = {};
}

void TVBSrcFormatter::ReserveOutput(const TLineList& input) {
    // Room for the output's line entries (indentation, split pieces, header comments, blank lines)
    // is reserved up front, generously: pages that are never written are never touched, while a
    // vector that has to grow copies everything written so far. Room kept from an earlier pass is
    // used as it is when it holds the input's size.
    if (OutputLines.LineCapacity() < input.size() + input.size() / 4 + 16)
        OutputLines.Reserve(input.size() * 2 + 16);
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
    bool optionExplicitFound = false;
    bool designerEndFound = false;
    bool wasChanged = false;

    // Locate the first procedure heading; the code of the file starts before it.
    std::size_t heading = 0;
    bool headingFound = false;
    for (; heading < count; ++heading) {
        if (progress.CancelRequested())
            return false;
        if (IsProcedureHeading(ClassifyLine(Trim(Expanded(input[heading], scratch, tabWidth))))) {
            headingFound = true;
            break;
        }
    }

    // Scan back from there for Option Explicit and for the END that closes a designer part.
    std::size_t index = 0;
    if (count > 0) {
        std::size_t k = headingFound ? heading : count - 1;
        while (true) {
            const std::string_view line = Expanded(input[k], scratch, tabWidth);
            if (StartsWith(line, kOptionExplicit))
                optionExplicitFound = true;
            if (IsDesignerEnd(line)) {
                designerEndFound = true;
                index = k + 1;
                break;
            }
            if (k == 0)
                break;
            --k;
        }
    }

    // The designer part goes through untouched.
    if (designerEndFound)
        for (std::size_t k = 0; k < index; ++k)
            OutputLines.Append(Expanded(input[k], scratch, tabWidth), false);

    if (!optionExplicitFound && cfg.OptionExplicitInsert) {
        RepassNeeded = true;
        while (index < count) {
            const std::string_view line = Expanded(input[index], scratch, tabWidth);
            if (!StartsWith(line, "Attribute"))
                break;
            OutputLines.Append(line, false);
            ++index;
        }
        OutputLines.Append(kOptionExplicitLine, true);
        // Under the blank-line rules (or their removal) a file gains no blank line besides theirs;
        // formatting it again would drop this one.
        if (cfg.GrpBlankLines == 0)
            OutputLines.Append("", true);
    }

    progress.SetRange(static_cast<int>(count));
    progress.SetPosition(static_cast<int>(index));

    std::string& line = line_;
    std::string expandedInput; // the tab-expanded input line, kept only when it held a tab
    for (std::size_t i = index; i < count; ++i) {
        // The pass is done with the line before: what it keeps of it (PrevLine) is a copy.
        if (release && i > index)
            release->Release(i - 1);
        if (progress.CancelRequested()) {
            NextLine = {};
            return false;
        }
        progress.SetPosition(static_cast<int>(i));

        const std::string_view raw = input[i];
        // NextLine has shown whether this line holds a tab: when it is a view of the line itself,
        // the line has none.
        if (NextLine.data() == raw.data() && NextLine.size() == raw.size())
            line.assign(raw);
        else
            ExpandTabsInto(line, raw, tabWidth);
        std::string_view original = raw;
        if (line.size() != raw.size()) {
            expandedInput = line;
            original = expandedInput;
        }
        NextLine = i + 1 < count ? Expanded(input[i + 1], nextScratch_, tabWidth) : std::string_view();
        if (pass > 0)
            wasChanged = input.Changed(i);

        if (CommentContinues) {
            // More text of the comment on the line before: not code, so nothing touches it.
            OutputLines.Append(line, wasChanged || TrimRight(line) != TrimRight(original));
            CommentContinues = EndsWithContinuation(line);
            Continued = false;
            PrevIndent = LeadingSpaces(line);
            PrevLine = line;
            progress.LineDone();
            continue;
        }

        LineOutputStart = OutputLines.size();
        SourceLine = static_cast<int>(i) + 1;
        const TStatementClass cls = BeforeLine(line, pass);

        // Colons and single-line Ifs are looked for once: up to the For/Next step no more than
        // blanks of the line change.
        const bool hasColon = line.find(':') != std::string::npos;
        const bool singleLineIf = IsSingleLineIf(line);

        // At most one splitter cuts a line; its pieces meet the others in the next pass.
        bool split = false;
        if (cfg.MultiVarSplit && IsMultiVarDecl(line))
            split = SplitMultiVar(line);
        if (!split && cfg.MultiConstSplit && IsMultiConstDecl(line))
            split = SplitMultiConst(line);
        if (!split) {
            if (cfg.IfThenSplit && singleLineIf)
                split = SplitIfThen(line);
            else if (cfg.MultiStatementSplit && hasColon && HasStatementSeparator(line))
                split = SplitStatements(line);
        }
        bool emit = !split;

        // Runs for split lines too, so that the level follows the unsplit line. An Attribute line
        // inside a procedure stays in the first column, where the Visual Basic editor writes it and
        // looks for it. A label line keeps its position, but a block that a statement after the
        // label opens or closes still moves the level ("Retry: For i = 1 To 3").
        if (cfg.CodeIndentPerform && !StartsWith(line, "Attribute ")) {
            if (hasColon && IsLabelLine(line))
                FollowJoinedStatements(line);
            else
                IndentLine(line, cls, singleLineIf);
        }

        if (cfg.AlignMultiDimAs && pass == 1)
            CollectDimAs(line);

        ForNextLine(line, hasColon);

        // The comment of a split line travels with its pieces and is placed in the next pass.
        bool codeLine = true;
        const bool remComment = IsRemComment(line);
        if (!split && (remComment || CommentPos(line) > 0)) {
            if (cfg.SpecialRemoveComments)
                RemoveSpecialComment(line, emit);
            if (remComment || IsCommentOnly(line)) {
                ++CommentGroupCount;
                FormatSingleLineComment(line);
                codeLine = false;
            } else if (CommentPos(line) > 0) {
                // A removed comment leaves no comment to place.
                FormatInLineComment(line);
            }
        }
        if (codeLine && pass == 0) {
            AddCommentBorders();
            CommentGroupCount = 0;
        }

        if (pass == 0 && !KeepBlankLine(line))
            emit = false;

        if (emit)
            OutputLines.Append(line, wasChanged || TrimRight(line) != TrimRight(original));

        Continued = IsContinuedLine(line);
        CommentContinues = !split && HasContinuedComment(line);
        AfterLine(line, pass);
        PrevIndent = LeadingSpaces(line);
        PrevLine.swap(line); // the next line is read into the old PrevLine's buffer
        progress.LineDone();
    }
    NextLine = {};
    progress.SetPosition(static_cast<int>(count)); // the gauge ends full
    return true;
}

// --- Hooks around each line --------------------------------------------------------------------

TStatementClass TVBSrcFormatter::BeforeLine(std::string& line, int pass) {
    if (pass != 0)
        return ClassifyLine(line);
    const Settings& cfg = *settings_;
    // The cancel flag is tested once per line: a cancel in a literal still lets the user see the
    // comment of the same line, and that check's outcome decides whether the next lines are checked.
    if (cfg.SpellingPerform && !SpellCheckCancelled) {
        if (cfg.SpellingLiterals)
            SpellCheckLiterals(line);
        if (cfg.SpellingComments)
            SpellCheckComment(line);
    }
    const TStatementClass cls = ClassifyLine(line);
    InsertHeaderComment(line, cls, true);
    AddBlankLinesBefore(cls);
    return cls;
}

void TVBSrcFormatter::AfterLine(std::string& line, int pass) {
    // The line has been formatted since BeforeLine, which may have changed its class.
    if (pass != 0 || (!HeaderCommentsWanted() && Config().GrpBlankLines != kBlankLinesByRules))
        return;
    const TStatementClass cls = ClassifyLine(line);
    InsertHeaderComment(line, cls, false);
    AddBlankLinesAfter(line, cls);
}

// --- Indentation -------------------------------------------------------------------------------

void TVBSrcFormatter::AdjustIndentLevel(TStatementClass cls) {
    const Settings& cfg = *settings_;
    using C = TStatementClass;
    if (IsProcedureHeading(cls)) {
        IndentLevel = cfg.DefaultLineIndent;
        return;
    }
    switch (cls) {
    case C::scEndSub:
    case C::scEndFunction:
        IndentLevel = 0;
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

void TVBSrcFormatter::IndentLine(std::string& line, TStatementClass cls, bool singleLineIf) {
    const Settings& cfg = *settings_;
    // A blank line stays empty instead of taking the blanks of the level; a line of nothing but
    // control characters is left as it is.
    if (TrimLeft(line).empty()) {
        if (line.find_first_not_of(' ') == std::string::npos)
            line.clear();
        return;
    }
    if (singleLineIf) {
        const std::string_view body = TrimBlanks(line);
        line = Spaces(IndentLevel).append(body);
        return;
    }
    using C = TStatementClass;
    if (IsClosingClass(cls)) {
        // "Next j, i" closes as many loops as it names.
        for (int k = cls == C::scNext ? LoopsClosedByFirstNext(line) : 1; k > 0; --k)
            AdjustIndentLevel(cls);
        SetIndent(line, IndentLevel);
    } else if (IsOpeningClass(cls)) {
        SetIndent(line, IndentLevel);
        AdjustIndentLevel(cls);
    } else if (cls == C::scElse || cls == C::scElseIf) {
        SetIndent(line, IndentLevel - cfg.IfThenElseIndent);
    } else if (cls == C::scCase) {
        SetIndent(line, IndentLevel - cfg.CaseCodeIndent);
    } else {
        SetIndent(line, std::max(IndentLevel, 0) + (Continued ? cfg.LineContinueIndent : 0));
    }
    FollowJoinedStatements(line);
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
