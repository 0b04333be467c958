#include "formatter/CodeMismatchPlace.h"

#include <algorithm>
#include <utility>

namespace kemptor::guard {

namespace {

// The tokens and logical lines of one text from a place in step on, read into memory.
struct Window {
    std::vector<Token> tokens;
    std::vector<CodeSpan> spans;
    bool ended = false; // the text has no more tokens
};

void Pull(TokenStream& stream, Window& window, std::size_t upTo) {
    while (!window.ended && window.tokens.size() < upTo) {
        if (const Token* t = stream.Next())
            window.tokens.push_back(*t);
        else
            window.ended = true;
    }
}

// How a stretch of formatted tokens departs from the original at the first difference: one token
// for another, or tokens lost from the original, or tokens added.
enum class Edit { Replaced, Lost, Added };

// The first difference of two streams that agree up to token t names the place of a replaced token
// exactly, but a loss (or an addition) only at its last possible place: when the lost tokens repeat
// those after them, they show as lost further on. Among the places the loss can have, the one taken
// leaves the most logical lines of the original paired with an identical formatted line.
class LossPlace {
public:
    LossPlace(const Window& original, const Window& formatted, bool looseLiterals)
        : o_(original), f_(formatted), loose_(looseLiterals) {}

    // The first token that differs, or none.
    std::optional<std::size_t> FirstDifference() const {
        const std::size_t n = std::min(o_.tokens.size(), f_.tokens.size());
        for (std::size_t t = 0; t < n; ++t)
            if (!SameToken(o_.tokens[t], f_.tokens[t], loose_))
                return t;
        if (o_.tokens.size() != f_.tokens.size())
            return n;
        return std::nullopt;
    }

    // The edit at t that lets the streams agree again the longest, and how many tokens it spans.
    std::pair<Edit, std::size_t> EditAt(std::size_t t) const {
        std::pair<Edit, std::size_t> best{Edit::Replaced, 1};
        std::size_t longest = Agreeing(t + 1, t + 1);
        for (std::size_t d = 1; d <= kLongestEdit; ++d) {
            if (const std::size_t run = Agreeing(t + d, t); run > longest) {
                longest = run;
                best = {Edit::Lost, d};
            }
            if (const std::size_t run = Agreeing(t, t + d); run > longest) {
                longest = run;
                best = {Edit::Added, d};
            }
        }
        return longest >= kAgreeAgain ? best : std::pair<Edit, std::size_t>{Edit::Replaced, 1};
    }

    // Where d tokens lost from (or added to) the original at t may have gone at the earliest: the
    // streams, shifted by d, agree back to there.
    std::size_t Earliest(Edit edit, std::size_t d, std::size_t t) const {
        std::size_t k = t;
        const std::size_t lost = edit == Edit::Lost ? d : 0;
        const std::size_t added = edit == Edit::Added ? d : 0;
        while (k > 0 && SameToken(o_.tokens[k - 1 + lost], f_.tokens[k - 1 + added], loose_))
            --k;
        return k;
    }

    // Of the places [from, to] the edit may have, the one that leaves the most unchanged lines; the
    // latest of equals.
    std::size_t Likeliest(Edit edit, std::size_t d, std::size_t from, std::size_t to) const {
        const std::size_t lost = edit == Edit::Lost ? d : 0;
        const std::size_t added = edit == Edit::Added ? d : 0;
        // For each original logical line: unchanged when the loss lies after it, and when it lies
        // before it; counted up to each line and from each line on.
        const std::vector<CodeSpan>& spans = o_.spans;
        std::vector<std::size_t> before(spans.size() + 1, 0);
        std::vector<std::size_t> after(spans.size() + 1, 0);
        for (std::size_t i = 0; i < spans.size(); ++i)
            before[i + 1] = before[i] + (Unchanged(spans[i], 0, 0) ? 1 : 0);
        for (std::size_t i = spans.size(); i-- > 0;)
            after[i] = after[i + 1] + (Unchanged(spans[i], lost, added) ? 1 : 0);
        std::size_t best = to;
        std::size_t bestScore = 0;
        for (std::size_t k = to + 1; k-- > from;) {
            // Lines wholly before k keep their place; lines from k + lost on move by the edit.
            const auto endsBefore = std::upper_bound(
                spans.begin(), spans.end(), k, [](std::size_t at, const CodeSpan& s) { return at < s.end; });
            const auto startsAfter =
                std::lower_bound(spans.begin(), spans.end(), k + lost,
                                 [](const CodeSpan& s, std::size_t at) { return s.begin < at; });
            const std::size_t score = before[static_cast<std::size_t>(endsBefore - spans.begin())] +
                                      after[static_cast<std::size_t>(startsAfter - spans.begin())];
            if (score > bestScore) {
                bestScore = score;
                best = k;
            }
        }
        return best;
    }

    void SetTexts(const Unmarked* original, const Unmarked* formatted) {
        originalText_ = original;
        formattedText_ = formatted;
    }

    static constexpr std::size_t kLongestEdit = 48; // tokens: about a line or two
    static constexpr std::size_t kAgreeAgain = 4;   // tokens in step that show the edit was found
    static constexpr std::size_t kLookAhead = 64;   // tokens compared after an edit

private:
    // How many tokens from o_[i] and f_[j] on agree, up to kLookAhead; both texts ending there
    // counts as agreeing all the way.
    std::size_t Agreeing(std::size_t i, std::size_t j) const {
        std::size_t n = 0;
        for (; n < kLookAhead; ++n) {
            const bool oDone = i + n >= o_.tokens.size();
            const bool fDone = j + n >= f_.tokens.size();
            if (oDone || fDone)
                return oDone && fDone && o_.ended && f_.ended ? kLookAhead : n;
            if (!SameToken(o_.tokens[i + n], f_.tokens[j + n], loose_))
                return n;
        }
        return n;
    }

    // The original logical line `span` has an identical formatted line where the edit puts it.
    bool Unchanged(const CodeSpan& span, std::size_t lost, std::size_t added) const {
        if (!span.single || span.begin + added < lost)
            return false;
        const std::size_t begin = span.begin + added - lost;
        const auto at = std::lower_bound(f_.spans.begin(), f_.spans.end(), begin,
                                         [](const CodeSpan& s, std::size_t b) { return s.begin < b; });
        if (at == f_.spans.end() || at->begin != begin || !at->single ||
            at->end - at->begin != span.end - span.begin)
            return false;
        return Trim((*originalText_)[span.line]) == Trim((*formattedText_)[at->line]);
    }

    const Window& o_;
    const Window& f_;
    bool loose_;
    const Unmarked* originalText_ = nullptr;
    const Unmarked* formattedText_ = nullptr;
};

// The first token of a stretch that is not the ":" between statements (when the stretch holds more).
std::size_t FirstStatementToken(const std::vector<Token>& tokens, std::size_t k, std::size_t length) {
    std::size_t q = k;
    while (q + 1 < k + length && q + 1 < tokens.size() && tokens[q].kind == Kind::Separator)
        ++q;
    return q;
}

// Whether a formatted comment may be the original one: on the same statements (a comment behind
// code copied onto a piece of its split line, or moved onto a line of its own above or below it),
// or a whole-line comment at the same place.
bool SamePlace(const CommentMark& original, const CommentMark& formatted) {
    if (original.wholeLine)
        return formatted.wholeLine && formatted.begin == original.begin;
    if (formatted.wholeLine || formatted.begin == formatted.end || original.begin == original.end)
        return formatted.begin <= original.end && original.begin <= formatted.end;
    return formatted.begin < original.end && original.begin < formatted.end;
}

} // namespace

// A code mismatch named again: read both texts from a place in step before it and look for a loss or
// an addition whose first visible difference lies later than itself. No result when the first
// difference is the place.
std::optional<CodeMismatch> PlaceOfEditedCode(const Unmarked& original, const Unmarked& formatted,
                                              const Allowances& allow, bool insertedOptionExplicit,
                                              SyncPoint from) {
    Allowances noComments = allow;
    noComments.checkComments = false;
    std::deque<CommentMark> none;
    TokenStream a(original, noComments, none, true, from.original);
    TokenStream b(formatted, noComments, none, false, from.formatted);
    if (insertedOptionExplicit && from.original == 0 && from.formatted == 0)
        b.AllowInsertedOptionExplicit();
    Window o;
    Window f;
    a.RecordSpans(&o.spans);
    b.RecordSpans(&f.spans);
    // In step up to the difference, then far enough past it to see the streams agree again.
    constexpr std::size_t kMostTokens = std::size_t{1} << 18;
    std::size_t t = 0;
    for (;; ++t) {
        Pull(a, o, t + 1);
        Pull(b, f, t + 1);
        if (t >= kMostTokens || (o.ended && f.ended && t >= o.tokens.size() && t >= f.tokens.size()))
            return std::nullopt;
        if (t >= o.tokens.size() || t >= f.tokens.size() ||
            !SameToken(o.tokens[t], f.tokens[t], allow.looseLiterals))
            break;
    }
    const std::size_t reach = t + LossPlace::kLongestEdit + LossPlace::kLookAhead + 1;
    Pull(a, o, reach);
    Pull(b, f, reach);
    LossPlace place(o, f, allow.looseLiterals);
    place.SetTexts(&original, &formatted);
    const auto [edit, d] = place.EditAt(t);
    if (edit == Edit::Replaced)
        return std::nullopt;
    const std::size_t k = place.Likeliest(edit, d, place.Earliest(edit, d, t), t);
    if (edit == Edit::Lost) {
        const std::size_t q = FirstStatementToken(o.tokens, k, d);
        const Token& lost = o.tokens[q];
        // The formatted line that should have held it: the one with the tokens before it, when it
        // went from the middle of a line.
        const bool midLine = k > 0 && o.tokens[k - 1].line == lost.line;
        std::size_t formattedLine = 0;
        if (midLine && k - 1 < f.tokens.size())
            formattedLine = f.tokens[k - 1].line + 1;
        else if (k < f.tokens.size())
            formattedLine = f.tokens[k].line + 1;
        return CodeMismatch{lost.line + 1, formattedLine, false,
                            original.Column(lost.line, lost.text.data())};
    }
    const std::size_t q = FirstStatementToken(f.tokens, k, d);
    if (k >= o.tokens.size())
        return CodeMismatch{0, f.tokens[q].line + 1, false, 0};
    const Token& before = o.tokens[k];
    return CodeMismatch{before.line + 1, f.tokens[q].line + 1, false,
                        original.Column(before.line, before.text.data())};
}

// The first comment of the original that no formatted comment at its place keeps. Both texts are
// read whole, once; a comment pairs with the first formatted comment of its text at its place after
// the one the comment before it paired with.
std::optional<CommentMark> FirstLostComment(const Unmarked& original, const Unmarked& formatted,
                                            const Allowances& allow, bool insertedOptionExplicit) {
    std::deque<CommentMark> kept;
    std::deque<CommentMark> found;
    TokenStream a(original, allow, kept, true);
    TokenStream b(formatted, allow, found, false);
    if (insertedOptionExplicit)
        b.AllowInsertedOptionExplicit();
    while (a.Next()) {
    }
    while (b.Next()) {
    }
    std::size_t j = 0;
    for (const CommentMark& mark : kept) {
        // Formatted comments wholly before this one can pair with no later one either.
        while (j < found.size() && found[j].end < mark.begin)
            ++j;
        std::size_t q = j;
        while (q < found.size() && found[q].begin <= mark.end &&
               !(SameCommentText(found[q].text, mark.text) && SamePlace(mark, found[q])))
            ++q;
        if (q == found.size() || found[q].begin > mark.end)
            return mark;
        j = q + 1;
    }
    return std::nullopt;
}

} // namespace kemptor::guard
