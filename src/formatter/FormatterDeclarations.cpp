// Alignment of declaration groups and the loop variables of For and Next.
#include "formatter/LineHelpers.h"
#include "formatter/LineSplits.h"
#include "formatter/StatementCuts.h"
#include "formatter/TVBSrcFormatter.h"
#include "settings/SettingsCatalogue.h"

#include <algorithm>

namespace kemptor {

namespace {

constexpr int kAddNextVariable = 1;
constexpr int kRemoveNextVariable = 2;

// Index of the first As of the code of `text` (outside literals and the comment), or npos.
std::size_t AsIndex(std::string_view text) {
    return cuts::FindWord(StripComment(text), "As");
}

} // namespace

// --- Declaration groups ------------------------------------------------------------------------

int TVBSrcFormatter::DimAsColumn(std::string_view s) {
    const std::string_view t = Trim(s);
    if (!StartsVarDeclaration(t))
        return 0;
    const std::size_t as = AsIndex(t);
    return as == cuts::npos ? 1 : static_cast<int>(as) + 1;
}

void TVBSrcFormatter::CollectDimAs(const std::string& line) {
    const int column = DimAsColumn(line);
    if (column > 0) {
        ++DimCount;
        DimMaxCol = std::max(DimMaxCol, column);
        return;
    }
    if (DimCount >= Config().AlignDimAsGroupQty)
        AlignDimGroup(DimCount, DimMaxCol);
    DimCount = 0;
    DimMaxCol = 0;
}

void TVBSrcFormatter::AlignDimGroup(int n, int maxCol) {
    const std::size_t size = OutputLines.size();
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(n, 0)), size);
    std::size_t end = size;
    for (std::size_t i = size - count; i < end; ++i) {
        const std::string_view s = OutputLines[i];
        if (DimAsColumn(s) == 0)
            continue; // a line that came between the declarations
        const int lead = LeadingSpaces(s);
        const std::string_view t = s.substr(static_cast<std::size_t>(lead));
        const std::size_t as = AsIndex(t);
        if (as == cuts::npos)
            continue;
        std::string aligned = Spaces(lead);
        aligned.append(t.substr(0, as));
        aligned.append(Spaces(maxCol - static_cast<int>(as) - 1));
        aligned.append(t.substr(as));
        // The comment behind a widened line is placed again at once, so that the next pass finds
        // nothing to do. One that no longer fits before the fixed column goes as the placement takes
        // it: onto a line of its own or away.
        std::string moved;
        if (!ReplaceInLineComment(aligned)) {
            moved.assign("'").append(CommentText(aligned));
            aligned.erase(StripComment(aligned).size());
        }
        if (aligned != s) {
            OutputLines.Replace(i, aligned);
            // The widened line differs from the file now, whatever the pass that emitted it found.
            OutputLines.SetChanged(i, true);
            RepassNeeded = true;
        }
        if (!moved.empty()) {
            // The lines that went in (the comment, borders) stand at or before the next declaration.
            const std::size_t added = InsertMovedComment(i, std::move(moved));
            i += added;
            end += added;
        }
    }
}

std::size_t TVBSrcFormatter::InsertMovedComment(std::size_t i, std::string comment) {
    const Settings& cfg = Config();
    const int fallback = cfg.GrpInLineCommentsFixedColUnavail;
    if ((fallback != kCommentOnPreviousLine && fallback != kCommentOnNextLine) ||
        cfg.GrpSingleLineComments == kRemoveWholeLineComments)
        return 0; // the comment is removed
    const std::size_t at = fallback == kCommentOnPreviousLine ? i : i + 1;
    // Placed as a whole-line comment at the declaration's level, the line before it being the one
    // the placement measures.
    std::size_t before = at;
    while (before > 0 && Trim(OutputLines[before - 1]).empty())
        --before;
    const int prevIndent = before > 0 ? LeadingSpaces(OutputLines[before - 1]) : 0;
    comment.insert(0,
                   Spaces(fallback == kCommentOnPreviousLine ? prevIndent : LeadingSpaces(OutputLines[i])));
    PlaceCommentLine(comment, prevIndent);
    OutputLines.Insert(at, comment, true);
    RepassNeeded = true;

    // The comment joins the whole-line comments right above it in a group. Followed by code, the
    // group ends there and gets its borders; as the last line so far, it stays open for the lines of
    // the pass to come.
    std::size_t start = at;
    while (start > 0 && IsCommentOnly(OutputLines[start - 1]))
        --start;
    const int group = static_cast<int>(at - start) + 1;
    const std::size_t size = OutputLines.size();
    PrevLine.assign(OutputLines[size - 1]);
    if (at + 1 == size) {
        CommentGroupCount = group;
        CommentGroupStart = start;
        PrevIndent = LeadingSpaces(comment);
        return 1;
    }
    const int savedIndent = PrevIndent;
    const int savedLevel = LevelBeforeLine;
    CommentGroupCount = group;
    CommentGroupStart = start;
    LineOutputStart = at + 1;
    PrevIndent = LeadingSpaces(comment);
    PrevLine = comment;
    LevelBeforeLine = IndentLevel;
    AddCommentBorders();
    PrevIndent = savedIndent;
    LevelBeforeLine = savedLevel;
    CommentGroupCount = 0;
    PrevLine.assign(OutputLines[OutputLines.size() - 1]);
    return OutputLines.size() - size + 1;
}

// --- For and Next ------------------------------------------------------------------------------

bool TVBSrcFormatter::IsForLine(std::string_view s) {
    const std::string_view t = TrimRight(AfterLineNumber(s));
    return StartsWithUpper(t, "FOR ") && !cuts::IsWordAsDeclaration(t);
}

std::string TVBSrcFormatter::ForVariable(std::string_view s) {
    const std::string_view statement = TrimRight(AfterLineNumber(s));
    const std::string_view t = statement.substr(std::min<std::size_t>(4, statement.size()));
    if (cuts::StartsWithWord(t, "Each")) {
        // The element variable of "For Each c In Items": its Next may name it.
        const std::string_view rest = TrimLeft(t).substr(4);
        const std::size_t in = cuts::FindWord(rest, "In");
        return in == cuts::npos ? std::string() : std::string(Trim(rest.substr(0, in)));
    }
    const int eq = PosOutsideQuotes(t, '=');
    return eq > 0 ? std::string(Trim(t.substr(0, static_cast<std::size_t>(eq - 1)))) : std::string();
}

bool TVBSrcFormatter::IsNextLine(std::string_view s) {
    const std::string_view t = TrimRight(AfterLineNumber(s));
    const bool next = StartsWithUpper(t, "NEXT ") || (t.size() == 4 && StartsWithUpper(t, "NEXT"));
    return next && !cuts::IsWordAsDeclaration(t);
}

namespace {

// True when a statement of the line may be a For or a Next: the first (after a line number, a label)
// or one after a colon starts with an F or an N. Most lines have none, and are not cut into statements.
bool MayHoldLoopStatement(std::string_view line, bool hasColon) {
    const auto loopLetter = [](std::string_view statement) {
        const std::string_view start = AfterLineNumber(statement);
        const char first = start.empty() ? '\0' : static_cast<char>(start.front() | 0x20);
        return first == 'f' || first == 'n';
    };
    if (loopLetter(line))
        return true;
    if (!hasColon)
        return false;
    for (std::size_t colon = line.find(':'); colon != std::string_view::npos; colon = line.find(':', colon + 1))
        if (loopLetter(line.substr(colon + 1)))
            return true;
    return false;
}

} // namespace

bool TVBSrcFormatter::ForNextLine(std::string& line, bool hasColon) {
    // Most lines hold neither a For nor a Next: nothing to track, nothing to cut.
    if (!MayHoldLoopStatement(line, hasColon))
        return false;
    const std::vector<std::string_view> statements =
        hasColon ? JoinedStatements(line) : std::vector<std::string_view>();
    if (statements.size() > 1) {
        // Loops opened and closed by the statements of one line are tracked; the line is not rewritten.
        for (std::string_view statement : statements) {
            if (IsForLine(statement))
                ForStack.Push(ForVariable(statement));
            else if (IsNextLine(statement))
                for (int k = LoopsClosedByNext(AfterLineNumber(statement)); k > 0; --k)
                    ForStack.Pop();
        }
        return false;
    }
    if (IsForLine(line)) {
        ForStack.Push(ForVariable(line));
        return false;
    }
    if (!IsNextLine(line))
        return false;
    const int loops = LoopsClosedByNext(AfterLineNumber(line));
    const bool rewritten = RewriteLoneNext(line, loops);
    for (int k = loops; k > 0; --k)
        ForStack.Pop();
    return rewritten;
}

bool TVBSrcFormatter::RewriteLoneNext(std::string& line, int loops) {
    // "Next j, i" closes two loops; naming one of them only would leave the other open, so such a
    // line stays as it is. A continued Next is left alone too.
    if (loops != 1 || Continued || IsContinuedLine(line))
        return false;
    const int mode = Config().GrpForNextProcessing;
    if (mode == kAddNextVariable && !ForStack.Empty())
        AddNextVariable(line, ForStack.Peek());
    else if (mode == kRemoveNextVariable)
        RemoveNextVariable(line);
    else
        return false;
    return true;
}

namespace {

// Rewrites a Next line as "Next" and `after`, keeping its indentation, its line number (in its column,
// with the blanks after it) and its comment, also a comment that is an apostrophe alone.
void RewriteNext(std::string& line, std::string_view after) {
    const auto nextAt = static_cast<std::size_t>(AfterLineNumber(line).data() - line.data());
    std::string rewritten = line.substr(0, nextAt) + "Next";
    rewritten.append(after).append(kNextLineTail);
    if (CommentPos(line) > 0)
        rewritten.append("'").append(CommentText(line));
    line = std::move(rewritten);
}

} // namespace

void TVBSrcFormatter::AddNextVariable(std::string& line, const std::string& variable) {
    RewriteNext(line, " " + variable);
}

void TVBSrcFormatter::RemoveNextVariable(std::string& line) {
    RewriteNext(line, {});
}

} // namespace kemptor
