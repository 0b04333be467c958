// Comment placement, comment borders, blank lines and spell checking.
#include "formatter/LineHelpers.h"
#include "formatter/LineSplits.h"
#include "formatter/StatementCuts.h"
#include "formatter/TVBSrcFormatter.h"
#include "settings/SettingsCatalogue.h"
#include "spell/Speller.h"

#include <algorithm>

namespace kemptor {

namespace {

// `blanks` blanks followed by `text`.
std::string Indented(int blanks, std::string_view text) {
    std::string result = Spaces(blanks);
    result.append(text);
    return result;
}

// Appends `blanks` blanks (none when it is negative).
std::string& AppendBlanks(std::string& s, int blanks) {
    return s.append(static_cast<std::size_t>(std::max(blanks, 0)), ' ');
}

// The blanks and tabs that start a line; control characters are bytes of the file, kept as they are.
std::size_t LeadingBlanks(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && (text[n] == ' ' || text[n] == '\t'))
        ++n;
    return n;
}

// Gives the line `blanks` blanks in place of the blanks and tabs it starts with.
void Reindent(std::string& line, int blanks) {
    line.replace(0, LeadingBlanks(line), static_cast<std::size_t>(std::max(blanks, 0)), ' ');
}

// The number of blank lines wanted before (or after) a statement of class `cls`.
int BlankLinesFor(const Settings& cfg, TStatementClass cls, bool before) {
    using C = TStatementClass;
    switch (cls) {
    case C::scIf:
        return before ? cfg.BlankLinesIfThenBefore : cfg.BlankLinesIfThenAfter;
    case C::scElse:
    case C::scElseIf:
        return before ? cfg.BlankLinesElseBefore : cfg.BlankLinesElseAfter;
    case C::scEndIf:
        return before ? cfg.BlankLinesEndIfBefore : cfg.BlankLinesEndIfAfter;
    case C::scSelectCase:
        return before ? cfg.BlankLinesSelectBefore : cfg.BlankLinesSelectAfter;
    case C::scCase:
        return before ? cfg.BlankLinesCaseBefore : cfg.BlankLinesCaseAfter;
    case C::scEndSelect:
        return before ? cfg.BlankLinesEndSelectBefore : cfg.BlankLinesEndSelectAfter;
    case C::scDo:
        return before ? cfg.BlankLinesDoBefore : cfg.BlankLinesDoAfter;
    case C::scLoop:
        return before ? cfg.BlankLinesLoopBefore : cfg.BlankLinesLoopAfter;
    case C::scWhile:
        return before ? cfg.BlankLinesWhileBefore : cfg.BlankLinesWhileAfter;
    case C::scWend:
        return before ? cfg.BlankLinesWendBefore : cfg.BlankLinesWendAfter;
    case C::scFor:
        return before ? cfg.BlankLinesForBefore : cfg.BlankLinesForAfter;
    case C::scNext:
        return before ? cfg.BlankLinesNextBefore : cfg.BlankLinesNextAfter;
    default:
        return 0;
    }
}

} // namespace

// --- Special comments --------------------------------------------------------------------------

bool TVBSrcFormatter::IsSpecialComment(std::string_view line) const {
    if (!Config().SpecialRemoveComments)
        return false; // the setting first: looking for the comment costs a walk through the line
    const int p = CommentPos(line);
    return p > 0 && StartsWith(line.substr(static_cast<std::size_t>(p)), Config().SpecialRemoveCommentCharacters);
}

void TVBSrcFormatter::RemoveSpecialComment(std::string& line, bool& emit) {
    // The cheap test first: most comments do not start with the special characters. A line that
    // keeps its comment keeps its apostrophe and so is not blank.
    if (!IsSpecialComment(line))
        return;
    // A comment after a Rem is the Rem's text; removing a comment that goes on in the next line
    // would leave its rest standing as code.
    if (HasRemInCode(line) || HasContinuedComment(line))
        return;
    line.erase(StripComment(line).size()); // the code is the start of the line
    if (Trim(line).empty())
        emit = false;
}

// --- Whole-line comments -----------------------------------------------------------------------

void TVBSrcFormatter::FormatSingleLineComment(std::string& line) {
    if (CommentGroupCount == 1)
        CommentGroupStart = OutputLines.size();
    const Settings& cfg = Config();
    switch (cfg.GrpSingleLineComments) {
    case 1:
        Reindent(line, cfg.SingleLineCommentColumn);
        break;
    case 2:
        Reindent(line, PrevIndent);
        break;
    case 3:
        Reindent(line, IndentLevel);
        break;
    case 4:
        if (!HasContinuedComment(line))
            line.clear();
        break;
    default:
        break;
    }
}

const std::string& TVBSrcFormatter::CommentBorder() const {
    const Settings& cfg = Config();
    // Without blocking characters the dialog's default stands in. The border is built again only
    // when the settings it comes from have changed.
    const std::string_view pattern = cfg.SingleLineCommentBlockCharacters.empty()
                                         ? "-"
                                         : std::string_view(cfg.SingleLineCommentBlockCharacters);
    if (border_.empty() || pattern != borderPattern_ ||
        cfg.SingleLineCommentBlockCharacterTotal != borderTotal_) {
        borderPattern_.assign(pattern);
        borderTotal_ = cfg.SingleLineCommentBlockCharacterTotal;
        border_ = "'" + RepeatPattern(pattern, borderTotal_);
    }
    return border_;
}

void TVBSrcFormatter::AddCommentBorders() {
    const Settings& cfg = Config();
    const int group = CommentGroupCount;
    if (!cfg.SingleLineCommentBlocks || group == 0 || group < cfg.SingleLineCommentGroupQty)
        return;
    if (Trim(CommentBorder()) == Trim(PrevLine))
        return; // the group already ends with such a border
    // Placed like the group's own lines, at the level at which they stand: the current line may have
    // moved it already.
    const std::string border = PlacedBorder(PrevIndent, LevelBeforeLine);
    if (border.empty())
        return;
    // The border goes right after the group's last line (before anything the current line has added
    // already) and right before its first line. Both indexes stay inside the list even when lines of
    // the group were dropped.
    const std::size_t bottom = std::min(LineOutputStart, OutputLines.size());
    const std::size_t top = std::min(CommentGroupStart, bottom);
    OutputLines.InsertRecurring(bottom, border, true);
    OutputLines.InsertRecurring(top, border, true);
}

std::string TVBSrcFormatter::PlacedBorder(int prevIndent, int level) {
    std::string border = Indented(prevIndent, CommentBorder());
    const int kept = IndentLevel;
    IndentLevel = level;
    PlaceCommentLine(border, prevIndent);
    IndentLevel = kept;
    return border;
}

// --- Comments behind code ----------------------------------------------------------------------

void TVBSrcFormatter::FormatInLineComment(std::string& line) {
    const Settings& cfg = Config();
    if (cfg.GrpInLineComments == 0 || HasRemInCode(line))
        return;
    // Views into the line: a new line is built beside it in built_ and swapped in. The code is the
    // start of the line, so dropping the comment is cutting the line short.
    const std::string_view code = StripComment(line);
    const std::string_view text = CommentText(line);
    // A comment that goes on in the next line must stay at the end of this one.
    const bool continues = HasContinuedComment(line);
    std::string& built = built_;
    built.assign(code);

    switch (cfg.GrpInLineComments) {
    case 3:
        if (!continues)
            line.erase(code.size());
        return;
    case 2:
        AppendBlanks(built, cfg.InLineCommentsIndent).append("'").append(text);
        line.swap(built);
        return;
    default:
        break;
    }

    int fallback = cfg.GrpInLineCommentsFixedColUnavail;
    // A comment line put above a line that continues a statement would cut the statement in two.
    if ((fallback == 1 && Continued) || (continues && (fallback == 1 || fallback == 2)))
        fallback = 0;
    if (PlaceAtFixedColumn(built, code, text, fallback)) {
        line.swap(built);
        return;
    }
    switch (fallback) {
    case 1: {
        RepassNeeded = true;
        std::string moved = Indented(PrevIndent, "'");
        moved.append(text);
        line.erase(code.size());
        // From now on a whole-line comment: placed, and counted into the comment group before the
        // code line, as the next pass will find it.
        ++CommentGroupCount;
        FormatSingleLineComment(moved);
        if (moved.empty()) {
            --CommentGroupCount;
            break;
        }
        AppendCreated(moved);
        LineOutputStart = OutputLines.size();
        PrevIndent = LeadingSpaces(moved);
        PrevLine = std::move(moved);
        break;
    }
    case 2:
        RepassNeeded = true;
        AppendCreated(code);
        built.clear();
        AppendBlanks(built, PrevIndent).append("'").append(text);
        line.swap(built);
        break;
    default: // removed, unless it goes on in the next line
        if (!continues)
            line.erase(code.size());
        break;
    }
}

bool TVBSrcFormatter::PlaceAtFixedColumn(std::string& built, std::string_view code, std::string_view text,
                                         int fallback) const {
    // The apostrophe follows exactly Col characters, so the code must stay short of the column for at
    // least one blank to stand before it.
    const Settings& cfg = Config();
    const int col = cfg.InLineCommentsFixedColumn;
    built.assign(code);
    if (static_cast<int>(code.size()) < col) {
        AppendBlanks(built, col - static_cast<int>(code.size())).append("'");
        // The blanks before the text go, but one stays before special characters that the text did not
        // start with: "' !x" is no special comment, and must not become one that the next pass removes.
        const std::string_view body = CommentBody(text);
        const std::string& special = cfg.SpecialRemoveCommentCharacters;
        if (cfg.SpecialRemoveComments && !special.empty() && StartsWith(body, special) && !StartsWith(text, special))
            built.append(" ");
        built.append(body);
        return true;
    }
    if (fallback != 0)
        return false;
    AppendBlanks(built, cfg.InLineCommentsUnavailColIndent).append("'").append(text);
    return true;
}

bool TVBSrcFormatter::ReplaceInLineComment(std::string& line) {
    // Only the placements that keep the comment on its line; a comment that has to move or go is
    // left to the next pass.
    if (Config().GrpInLineComments != 1 || CommentPos(line) == 0 || IsCommentOnly(line) ||
        HasRemInCode(line) || HasContinuedComment(line))
        return true;
    std::string built;
    if (!PlaceAtFixedColumn(built, StripComment(line), CommentText(line),
                            Config().GrpInLineCommentsFixedColUnavail))
        return false;
    line.swap(built);
    return true;
}

// --- Blank lines -------------------------------------------------------------------------------

bool TVBSrcFormatter::KeepBlankLine(const std::string& line) const {
    return Config().GrpBlankLines == 0 || !Trim(line).empty();
}

void TVBSrcFormatter::AddBlankLines(int n) {
    for (int k = 0; k < n; ++k)
        AppendCreated("");
}

void TVBSrcFormatter::AddBlankLinesBefore(TStatementClass cls) {
    // Nothing may come between a line and the line that continues its statement.
    if (Config().GrpBlankLines == kBlankLinesByRules && !Continued)
        AddBlankLines(BlankLinesFor(Config(), cls, true));
}

void TVBSrcFormatter::AddBlankLinesAfter(const std::string& line, TStatementClass cls) {
    if (Config().GrpBlankLines != kBlankLinesByRules || CommentContinues)
        return;
    const int n = BlankLinesFor(Config(), cls, false);
    if (n > 0 && !IsContinuedLine(line))
        AddBlankLines(n);
}

// --- Spell checking ----------------------------------------------------------------------------

void TVBSrcFormatter::CheckSpelling(const std::string& context, std::string& text, int column) {
    SpellCheckCancelled = false;
    SpellChanged = false;
    if (!speller_)
        return;
    const SpellCheckOutcome outcome = speller_->SpellCheckText(context, text, {SourceLine, column});
    SpellCheckCancelled = outcome.cancelled;
    SpellChanged = outcome.changed;
}

void TVBSrcFormatter::SpellCheckLiterals(std::string& line) {
    if (!HasLiteral(line))
        return;
    const std::string context = line;
    std::string rebuilt;
    rebuilt.reserve(line.size() + 16);
    std::string literal;
    bool inside = false;
    std::size_t start = 0; // index of the literal's first character in the context
    for (std::size_t k = 0; k < context.size(); ++k) {
        const char c = context[k];
        if (c != '"') {
            (inside ? literal : rebuilt) += c;
            continue;
        }
        if (!inside) {
            inside = true;
            literal.clear();
            start = k + 1;
            continue;
        }
        // Once the user has ended spell checking, the remaining literals are copied as they are.
        if (!SpellCheckCancelled && !Trim(literal).empty())
            CheckSpelling(context, literal, static_cast<int>(start) + 1);
        rebuilt += '"';
        rebuilt += literal;
        rebuilt += '"';
        inside = false;
    }
    if (inside) {
        // A literal still open at the end of the line is not checked and goes back unchanged.
        rebuilt += '"';
        rebuilt += literal;
    }
    line = std::move(rebuilt);
}

void TVBSrcFormatter::SpellCheckComment(std::string& line) {
    std::string text(CommentText(line)); // empty without a comment
    if (Trim(text).empty())
        return;
    CheckSpelling(line, text, CommentPos(line) + 1);
    if (SpellChanged) {
        RepassNeeded = true;
        line = std::string(StripComment(line)) + "     '" + text;
    }
}

} // namespace kemptor
