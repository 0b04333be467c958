// Header comments before or after procedure headings.
#include "formatter/LineHelpers.h"
#include "formatter/LineSplits.h"
#include "formatter/RoutineHeading.h"
#include "formatter/StatementCuts.h"
#include "formatter/TVBSrcFormatter.h"
#include "settings/SettingsCatalogue.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace kemptor {

namespace {

constexpr int kFormLevel = 0;
constexpr int kModuleLevel = 1;

// The name of a procedure heading of any form the engine recognises: Public, Private or Friend, then
// Static, then Sub, Function or Property Get/Let/Set (any letter case), the name up to "(", a blank
// or the comment. "Unknown" for a line that is no heading.
std::string RoutineName(std::string_view line) {
    std::string_view t = Trim(StripComment(line));
    const auto skip = [&t](std::string_view word) {
        if (!cuts::StartsWithWord(t, word))
            return false;
        t = TrimLeft(TrimLeft(t).substr(word.size()));
        return true;
    };
    skip("Public") || skip("Private") || skip("Friend");
    skip("Static");
    if (skip("Property")) {
        if (!(skip("Get") || skip("Let") || skip("Set")))
            return "Unknown";
    } else if (!(skip("Sub") || skip("Function"))) {
        return "Unknown";
    }
    const std::size_t end = t.find_first_of("( ");
    const std::string_view name = t.substr(0, end);
    return name.empty() ? std::string("Unknown") : std::string(name);
}

// The text inside the outermost parentheses of the code; without a closing one, the rest of the code.
std::string Parameters(std::string_view line) {
    const std::string_view code = Trim(StripComment(line));
    const int open = PosOutsideQuotes(code, '(');
    if (open == 0)
        return {};
    const std::size_t from = static_cast<std::size_t>(open);
    const std::size_t close = cuts::ClosingParen(code, from - 1);
    return std::string(Trim(code.substr(from, close == cuts::npos ? cuts::npos : close - from)));
}

// Whether the settings ask for a header at this place and in this kind of file.
bool HeaderWanted(bool perform, bool beforeSelected, bool afterSelected, int files, bool before,
                  TSourceKind kind) {
    if (!perform || !(before ? beforeSelected : afterSelected))
        return false;
    if (files == kFormLevel)
        return kind == TSourceKind::skForm;
    if (files == kModuleLevel)
        return kind == TSourceKind::skModule;
    return true;
}

} // namespace

std::string SubName(std::string_view line) {
    return RoutineName(line);
}

std::string FunctionName(std::string_view line) {
    return RoutineName(line);
}

std::string SubParams(std::string_view line) {
    return Parameters(line);
}
std::string FunctionParams(std::string_view line) {
    return Parameters(line);
}

std::string FunctionReturnType(std::string_view line) {
    const std::string_view code = StripComment(line);
    const std::size_t close = code.rfind(')');
    return close == std::string_view::npos ? std::string() : std::string(Trim(code.substr(close + 1)));
}

const std::string& TVBSrcFormatter::HeaderDate() {
    if (date_.empty() && dateSource_)
        date_ = dateSource_();
    return date_;
}

bool TVBSrcFormatter::HeaderCommentsWanted() const {
    return Config().SubLevelCommentsPerform || Config().FunctionLevelCommentsPerform;
}

void TVBSrcFormatter::InsertHeaderComment(const std::string& line, TStatementClass cls, bool before) {
    if (!HeaderCommentsWanted() || !IsProcedureHeading(cls))
        return;
    // A heading continued from the line before, or going on in the next line, has no room for lines
    // between its parts.
    if (before ? Continued : (IsContinuedLine(line) || HasContinuedComment(line)))
        return;
    if (!HeaderGoes(cls, before))
        return;
    if (IsSubHeading(cls))
        InsertSubHeader(line, before);
    else
        InsertFunctionHeader(line, before);
}

bool TVBSrcFormatter::HeaderGoes(TStatementClass cls, bool before) const {
    const Settings& cfg = Config();
    if (IsSubHeading(cls))
        return HeaderWanted(cfg.SubLevelCommentsPerform, cfg.SubLevelCommentsBeforeProcedure,
                            cfg.SubLevelCommentsAfterProcedure, cfg.GrpSubLevelComments, before, FileKind);
    return IsFunctionHeading(cls) &&
           HeaderWanted(cfg.FunctionLevelCommentsPerform, cfg.FunctionLevelCommentsBeforeProcedure,
                        cfg.FunctionLevelCommentsAfterProcedure, cfg.GrpFunctionLevelComments, before, FileKind);
}

namespace {

// True when the heading already has this header: the neighbouring line is the header's edge line
// `edge` (as expanded for any routine on any day, wherever a later pass has indented it) or a border
// that comment blocking drew around the header.
bool HeaderPresent(const TVBSrcFormatter& engine, std::string_view edge, bool before) {
    const std::string_view neighbour = before ? std::string_view(engine.PrevLine) : engine.NextLine;
    if (neighbour == edge || (!Trim(edge).empty() && MatchesTemplateLine(neighbour, edge)))
        return true;
    return engine.Config().SingleLineCommentBlocks && Trim(neighbour) == engine.CommentBorder();
}

} // namespace

void TVBSrcFormatter::InsertSubHeader(const std::string& line, bool before) {
    AppendHeader(
        templates_.Sub,
        [&] { return TemplateValues{SubName(line), Config().UserName, HeaderDate(), SubParams(line), {}}; },
        before);
}

void TVBSrcFormatter::InsertFunctionHeader(const std::string& line, bool before) {
    AppendHeader(
        templates_.Function,
        [&] {
            return TemplateValues{FunctionName(line), Config().UserName, HeaderDate(), FunctionParams(line),
                                  FunctionReturnType(line)};
        },
        before);
}

void TVBSrcFormatter::PlaceCommentLine(std::string& line, int prevIndent) {
    // As the pass places a whole-line comment: indented as a statement, then placed by the setting.
    const Settings& cfg = Config();
    if (!IsCommentOnly(line))
        return;
    int column = LeadingSpaces(line);
    switch (cfg.GrpSingleLineComments) {
    case 0:
        if (cfg.CodeIndentPerform)
            column = IndentLevel;
        break;
    case 1:
        column = cfg.SingleLineCommentColumn;
        break;
    case 2:
        column = prevIndent;
        break;
    case 3:
        column = IndentLevel;
        break;
    default:
        if (!HasContinuedComment(line))
            line.clear();
        return;
    }
    // In place: a header of many lines is placed line by line, without a new string for each.
    line.replace(0, line.size() - TrimLeft(line).size(), static_cast<std::size_t>(std::max(column, 0)), ' ');
}

void TVBSrcFormatter::AppendHeader(const TextLines& templ, const std::function<TemplateValues()>& valuesOf,
                                   bool before) {
    // The header goes in as the settings would leave it: lines that the comment settings remove (the
    // default template's "'!" lines when special comments are removed) or that the blank-line setting
    // drops are left out, so that no border stands around a header that is gone and the next
    // formatting finds what this one wrote.
    const Settings& cfg = Config();
    const auto keeps = [&](const std::string& text) {
        const bool comment = IsCommentOnly(text);
        return !(comment &&
                 (IsSpecialComment(text) || cfg.GrpSingleLineComments == kRemoveWholeLineComments)) &&
               KeepBlankLine(text);
    };
    // The values (the routine's name and parameters) are taken from the heading only for a line that
    // has a placeholder.
    std::optional<TemplateValues> values;
    std::string& text = headerLine_; // each line expanded in the same room
    const auto expand = [&](const std::string& line) {
        if (line.find('%') == std::string::npos) {
            text.assign(line);
            return;
        }
        if (!values)
            values = valuesOf();
        ExpandTemplateInto(text, line, *values);
    };
    // The header's edge line (its last kept line before the heading, its first after it) shows
    // whether the header stands there already. It is looked for first, so that a header in place (as
    // the confirming pass finds every header) costs the expansion of one line.
    const std::size_t n = templ.size();
    std::size_t edge = n;
    for (std::size_t j = 0; j < n && edge == n; ++j) {
        const std::size_t k = before ? n - 1 - j : j;
        expand(templ[k]);
        if (keeps(text))
            edge = k;
    }
    if (edge == n || HeaderPresent(*this, templ[edge], before))
        return;

    // The lines are placed in the room of the header queue, whose strings keep their capacity.
    std::size_t count = 0;
    int prevIndent = HeaderPrevIndent;
    for (std::size_t k = 0; k < n; ++k) {
        expand(templ[k]);
        if (!keeps(text))
            continue;
        PlaceCommentLine(text, prevIndent);
        if (!Trim(text).empty())
            prevIndent = LeadingSpaces(text);
        if (count == headerQueue_.size())
            headerQueue_.emplace_back();
        headerQueue_[count++].assign(text);
    }
    if (!before && QueueHeader(count, prevIndent, templ[edge]))
        return;
    const std::size_t first = OutputLines.size();
    for (std::size_t k = 0; k < count; ++k)
        AppendRecurring(headerQueue_[k]);
    // The header is a group of whole-line comments: it gets its borders in this run, as it would in
    // the next one. Before a heading it ends the group that the heading closes.
    if (CommentGroupCount == 0)
        CommentGroupStart = first;
    CommentGroupCount += static_cast<int>(OutputLines.size() - first);
    // The lines after the header measure it as the line before them: the last line placed.
    HeaderTail = OutputLines[OutputLines.size() - 1];
    HeaderTailIndent = prevIndent;
    if (before) {
        LineOutputStart = OutputLines.size();
        PrevLine = HeaderTail;
        PrevIndent = HeaderTailIndent;
    } else {
        HeaderAfter = true;
    }
}

bool TVBSrcFormatter::QueueHeader(std::size_t count, int tailIndent, std::string_view edge) {
    // A header after a heading goes through the pass line by line once the heading is done, as the
    // next pass reads it: the first pass's trace then runs on across it, and the confirming pass
    // takes the header over with the code around it instead of reading it. That pass must find each
    // line where this one wrote it, so the header goes in this way only when it is whole-line comments
    // that read as such (no tab, no continued comment, no ignore directive), and, when its group gets
    // borders, only when the line after the heading ends the group at once: a code line without a
    // comment, no heading (whose header before it would join the group). The borders then go in with
    // the header, as the end of the group would have drawn them.
    const Settings& cfg = Config();
    if (count == 0 || CommentGroupCount != 0)
        return false;
    for (std::size_t k = 0; k < count; ++k) {
        const std::string_view line = headerQueue_[k];
        if (!IsCommentOnly(line) || HasContinuedComment(line) || !ReadsAsItStands(line))
            return false;
    }
    std::size_t queued = count;
    if (cfg.SingleLineCommentBlocks && static_cast<int>(count) >= cfg.SingleLineCommentGroupQty) {
        if (!EndsCommentGroupAtOnce(NextLine))
            return false;
        const std::string border = PlacedBorder(tailIndent, IndentLevel);
        if (border.empty())
            return false;
        if (count + 2 > headerQueue_.size())
            headerQueue_.resize(count + 2);
        std::move_backward(headerQueue_.begin(), headerQueue_.begin() + static_cast<std::ptrdiff_t>(count),
                           headerQueue_.begin() + static_cast<std::ptrdiff_t>(count + 1));
        headerQueue_[0] = border;
        headerQueue_[count + 1] = border;
        queued = count + 2;
    } else {
        // The next pass reads the first queued line after the heading: it must see the header there
        // (as it sees a border).
        const std::string_view after = NextLine;
        NextLine = headerQueue_[0];
        const bool present = HeaderPresent(*this, edge, false);
        NextLine = after;
        if (!present)
            return false;
    }
    headerQueued_ = queued;
    return true;
}

bool TVBSrcFormatter::EndsCommentGroupAtOnce(std::string_view next) {
    const Settings& cfg = Config();
    if (Trim(next).empty() || IsCommentOnly(next) || IsRemComment(next) || IsContinuedLine(next))
        return false;
    // A heading whose header goes in before it adds the header to the group.
    if (const TStatementClass cls = ClassifyLine(next); IsProcedureHeading(cls) && HeaderGoes(cls, true))
        return false;
    // A code line is emitted, first of all its pieces when it is split. A comment behind the code may
    // go onto a line of its own above it, though, or into a piece that does, or may change when it is
    // spell checked.
    if (CommentPos(next) == 0)
        return true;
    if (cfg.SpellingPerform && cfg.SpellingComments)
        return false;
    const bool hasColon = next.find(':') != std::string_view::npos;
    const bool singleLineIf = IsSingleLineIf(next);
    return !MaySplit(next, singleLineIf, hasColon) &&
           CommentLineFallback(std::string(next), hasColon, singleLineIf) != kCommentOnPreviousLine;
}

void TVBSrcFormatter::FormatQueuedHeader(int depth) {
    const std::size_t n = std::exchange(headerQueued_, 0);
    recurringLines_ = true;
    FormatLinesInPlace(headerQueue_, n, depth, true);
    recurringLines_ = false;
}

} // namespace kemptor
