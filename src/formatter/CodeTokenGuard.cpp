#include "formatter/CodeTokenGuard.h"

#include "formatter/CodeMismatchPlace.h"
#include "formatter/CodeTokenStream.h"
#include "formatter/LineHelpers.h"
#include "formatter/ModuleHeader.h"
#include "formatter/TLineList.h"
#include "platform/Text.h"
#include "settings/Settings.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>

namespace kemptor {

std::size_t GuardLines::size() const {
    return list_ ? list_->size() : strings_->size();
}

std::string_view GuardLines::operator[](std::size_t i) const {
    return list_ ? (*list_)[i] : std::string_view((*strings_)[i]);
}

using namespace guard;

namespace {

// The lines of a text without one of them.
class WithoutLine {
public:
    WithoutLine(const Unmarked& lines, std::size_t skipped) : lines_(lines), skipped_(skipped) {}
    std::size_t size() const { return lines_.size() - 1; }
    std::string_view operator[](std::size_t i) const { return lines_[i < skipped_ ? i : i + 1]; }

private:
    const Unmarked& lines_;
    std::size_t skipped_;
};

// The Option Explicit that the engine inserted into `formatted` stands anywhere but right after the
// header (the designer part and the Attribute lines, blank lines among them): the Visual Basic editor
// would no longer read the header. The mismatch names the original line before which it belongs.
std::optional<CodeMismatch> MisplacedOptionExplicit(const Unmarked& original, const Unmarked& formatted) {
    std::size_t at = 0;
    while (at < formatted.size() && !IsOptionExplicitLine(formatted[at]))
        ++at;
    if (at == formatted.size())
        return std::nullopt;
    // The header as the text has it without the inserted line; only blank lines and comments (the
    // inserted line's own, moved above it) may stand between its end and the inserted line.
    const WithoutLine rest(formatted, at);
    const std::size_t end = HeaderEnd(rest, DesignerPartLength(rest));
    bool placed = at >= end;
    for (std::size_t i = end; placed && i < at; ++i)
        placed = Trim(rest[i]).empty() || IsCommentOnly(rest[i]);
    if (placed)
        return std::nullopt;
    const std::size_t belongs = HeaderEnd(original, DesignerPartLength(original));
    return CodeMismatch{std::min(belongs + 1, original.size()), at + 1, false};
}

std::string_view TrimmedLeft(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && IsBlank(s[b]))
        ++b;
    return s.substr(b);
}

// How many lines from the next of each stream hold the same text in both but for their indentation
// and end a statement: the next line alone, or a statement continued over several lines ("_") with
// its last; 0 when they differ. Blanks at the start of a continuation line stand between tokens or in
// a comment, where they change nothing the check compares.
std::size_t LinesAlike(const TokenStream& a, const TokenStream& b) {
    for (std::size_t n = 0;; ++n) {
        const std::size_t i = a.NextLine() + n;
        const std::size_t j = b.NextLine() + n;
        if (i >= a.LineCount() || j >= b.LineCount())
            return 0;
        const std::string_view x = a.Line(i);
        const std::string_view y = b.Line(j);
        // A line the engine passed on untouched is the input's own bytes: equal without reading them.
        if (!SameView(x, y) && TrimmedLeft(x) != TrimmedLeft(y))
            return 0;
        if (!EndsWithContinuation(x))
            return n + 1;
    }
}

} // namespace

std::optional<CodeMismatch> CompareCodeTokens(GuardLines original, GuardLines formatted,
                                              const Settings& settings) {
    const Allowances allow = AllowancesOf(settings);
    const Unmarked originalText(original);
    const Unmarked formattedText(formatted);
    // A byte order mark stays at byte 0: anywhere else it would be text of a line.
    if (originalText.Marked() != formattedText.Marked())
        return CodeMismatch{1, 1, false};
    // Comments waiting to be matched: those of the original in order, and those of the formatted text
    // not yet compared. A formatted comment that does not match the oldest waiting original is one
    // the engine added.
    std::deque<CommentMark> kept;
    std::deque<CommentMark> found;
    TokenStream a(originalText, allow, kept, true);
    TokenStream b(formattedText, allow, found, false);
    const bool insertedOptionExplicit = allow.insertOptionExplicit && !HasOptionExplicit(originalText);
    if (insertedOptionExplicit) {
        if (auto misplaced = MisplacedOptionExplicit(originalText, formattedText))
            return misplaced;
        b.AllowInsertedOptionExplicit();
    }

    const auto match = [&] {
        while (!kept.empty() && !found.empty()) {
            if (SameCommentText(kept.front().text, found.front().text))
                kept.pop_front();
            found.pop_front();
        }
    };
    SyncPoints inStep;
    for (;;) {
        if (a.AtLineStart() && b.AtLineStart()) {
            inStep.Push(a.NextLine(), b.NextLine());
            // Lines that differ at most in their indentation hold the same tokens and comments:
            // passed over whole.
            if (kept.empty()) {
                // Both texts are read up to the same point, so what remains of the formatted
                // comments are ones the engine added. Blank lines, which either side may have more
                // of, hold nothing to compare.
                found.clear();
                for (;;) {
                    a.SkipBlankLines();
                    b.SkipBlankLines();
                    std::size_t n = LinesAlike(a, b);
                    if (n == 0)
                        break;
                    for (; n > 0; --n) {
                        a.SkipLine();
                        b.SkipLine();
                    }
                }
            }
        }
        const Token* x = a.Next();
        const Token* y = b.Next();
        match();
        if (!x && !y)
            break;
        if (!x || !y || !SameToken(*x, *y, allow.looseLiterals)) {
            const std::size_t at = x ? x->line : originalText.size();
            if (auto placed = PlaceOfEditedCode(originalText, formattedText, allow, insertedOptionExplicit,
                                                inStep.Before(at)))
                return placed;
            return CodeMismatch{x ? x->line + 1 : 0, y ? y->line + 1 : 0, false,
                                x ? originalText.Column(x->line, x->text.data()) : 0};
        }
    }
    match();
    if (!kept.empty()) {
        const CommentMark lost = FirstLostComment(originalText, formattedText, allow, insertedOptionExplicit)
                                     .value_or(kept.front());
        return CodeMismatch{lost.line + 1, 0, true, originalText.Column(lost.line, lost.at)};
    }
    return std::nullopt;
}

std::string CodeMismatchMessage(std::string_view fileName, const CodeMismatch& mismatch,
                                std::string_view consequence) {
    std::string text = "The formatted text of " + std::string(fileName);
    if (mismatch.comment) {
        text += " loses the comment of line " + std::to_string(mismatch.originalLine) + ".";
    } else {
        text += " does not keep the code of the original: it differs ";
        text += mismatch.originalLine > 0 ? "at line " + std::to_string(mismatch.originalLine)
                                          : std::string("after the last line");
        if (mismatch.formattedLine > 0)
            text += " (line " + std::to_string(mismatch.formattedLine) + " of the formatted text)";
        text += ".";
    }
    if (!consequence.empty())
        text += "  " + std::string(consequence);
    return text;
}

} // namespace kemptor
