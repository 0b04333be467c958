#pragma once
// The code check's reading of a text: lines taken apart into code tokens and comments, statement by
// statement, each logical line written in the normal forms that CodeTokenGuard.h describes. Only the
// code check includes this.

#include "formatter/CodeTokenGuard.h"
#include "formatter/LineHelpers.h"
#include "formatter/ModuleHeader.h"
#include "platform/Text.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

struct Settings;

namespace guard {

// The lines of a text without the byte order mark that may start it.
class Unmarked {
public:
    explicit Unmarked(GuardLines lines) : lines_(lines) {}
    std::size_t size() const { return lines_.size(); }
    std::string_view operator[](std::size_t i) const {
        const std::string_view line = lines_[i];
        return i == 0 && line.starts_with(kUtf8ByteOrderMark) ? line.substr(kUtf8ByteOrderMark.size()) : line;
    }
    bool Marked() const { return lines_.size() > 0 && lines_[0].starts_with(kUtf8ByteOrderMark); }
    // The column, from 1, of the character at `at` in line i as the text has it (byte order mark
    // included); 0 when `at` does not point into that line.
    std::size_t Column(std::size_t i, const char* at) const {
        if (i >= lines_.size() || !at)
            return 0;
        const std::string_view line = lines_[i];
        const auto offset = at - line.data();
        return offset >= 0 && static_cast<std::size_t>(offset) <= line.size()
                   ? static_cast<std::size_t>(offset) + 1
                   : 0;
    }

private:
    GuardLines lines_;
};

enum class Kind : std::uint8_t { Name, Number, Literal, Symbol, Separator };

struct Token {
    std::string_view text;
    std::size_t line = 0; // 0-based line of the text it comes from
    Kind kind = Kind::Symbol;
};

// Words the normal forms write themselves; their text lives here.
constexpr std::string_view kEnd = "End";
constexpr std::string_view kIf = "If";
constexpr std::string_view kGoTo = "GoTo";

// What the settings allow the engine to change.
struct Allowances {
    bool correctAs = false;           // the variable split gives untyped names the next type
    bool ignoreNextVariables = false; // For/Next processing adds or removes the variables of Next
    bool looseLiterals = false;       // spell checking may correct string literals
    bool checkComments = true;        // false while spell checking may correct comments
    bool insertOptionExplicit = false;
    bool removeWholeLine = false; // whole-line comments may go
    bool removeInLine = false;    // comments behind code may go
    bool removeSpecial = false;
    bool removeRemStatement = false; // a Rem after ":" becomes a whole-line comment once split off
    std::string specialPrefix;
};

Allowances AllowancesOf(const Settings& s);

char Upper(char c);

bool IsWord(const Token& t, std::string_view upperWord);

bool SameToken(const Token& a, const Token& b, bool looseLiterals);

inline bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// A line of blanks (and control characters) only: no token, no comment.
inline bool TrimmedEmpty(std::string_view s) {
    for (const char c : s)
        if (!IsBlank(c))
            return false;
    return true;
}

bool IsDigit(char c);

bool IsHexDigit(char c);

bool IsTypeChar(char c);

// The text between two "#" is a date literal: digits with "/", "-", ":" or ".", blanks, and an AM or PM
// at the end ("#10:30:00 AM#", "#1/31/1999#"). "#1, x#" of file numbers is not.
bool IsDateText(std::string_view t);

// The last non-blank character of s is a "_" standing alone: the next line goes on with this one.
bool EndsWithContinuation(std::string_view s);

// Two comments' texts read alike: the same characters but for their blanks, which are the formatter's
// to change.
bool SameCommentText(std::string_view a, std::string_view b);

// A comment and the statements it stands with, as token positions of its text's stream: an in-line
// comment the tokens of its line [begin, end), a whole-line comment the point between two tokens.
struct CommentMark {
    std::string_view text; // after its apostrophe or Rem
    std::size_t line = 0;
    const char* at = nullptr; // its apostrophe or Rem in the line
    std::size_t begin = 0;
    std::size_t end = 0;
    bool wholeLine = false;
};

// A logical line that yielded tokens: its tokens [begin, end) in the stream and the physical line its
// code starts on; `single` when that line holds all of it.
struct CodeSpan {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t line = 0;
    bool single = false;
};

// One text read as normalised statements. Physical lines are joined at continuations, split into
// tokens and comments, and each logical line is rewritten into the normal forms described in the
// header before its tokens are handed out.
class TokenStream {
public:
    // Reads from `firstLine`, where a statement must start.
    TokenStream(Unmarked lines, const Allowances& allow, std::deque<CommentMark>& comments, bool original,
                std::size_t firstLine = 0)
        : lines_(lines), allow_(allow), comments_(comments), original_(original), next_(firstLine) {}

    // The next token, or nullptr at the end of the text.
    const Token* Next() {
        while (pos_ == out_.size()) {
            if (next_ >= lines_.size())
                return nullptr;
            ReadLogicalLine();
        }
        return &out_[pos_++];
    }

    // Every token read so far has been handed out and the next line starts a statement.
    bool AtLineStart() const { return pos_ == out_.size() && !commentGoesOn_ && !dropOptionExplicit_; }
    std::size_t NextLine() const { return next_; }
    std::size_t LineCount() const { return lines_.size(); }
    std::string_view Line(std::size_t i) const { return lines_[i]; }
    void SkipLine() { ++next_; }
    // Passes over the blank lines (blanks and control characters only) that come next.
    void SkipBlankLines() {
        while (next_ < lines_.size() && TrimmedEmpty(lines_[next_]))
            ++next_;
    }

    // The formatted text may hold one Option Explicit the original lacks, before its first procedure.
    void AllowInsertedOptionExplicit() { dropOptionExplicit_ = true; }
    // Every logical line read from now on is added to `spans`.
    void RecordSpans(std::vector<CodeSpan>* spans) { spans_ = spans; }

private:
    enum class LineEnd { Ends, CodeGoesOn, CommentGoesOn };

    void ReadLogicalLine() {
        base_ += out_.size();
        raw_.clear();
        out_.clear();
        pos_ = 0;
        const std::size_t commentsBefore = comments_.size();
        bool continued = false;
        while (next_ < lines_.size()) {
            const std::size_t line = next_++;
            const std::string_view text = lines_[line];
            if (commentGoesOn_) {
                // More text of the comment on the line before.
                AddComment(text, line, commentWholeLine_, TrimLeft(text).data());
                if (!raw_.empty() && !commentGoesOn_)
                    break;
                continue;
            }
            const LineEnd end = Scan(text, line);
            if (end == LineEnd::CodeGoesOn) {
                continued = true;
                continue;
            }
            if (!raw_.empty())
                break;
        }
        Normalise();
        // The comments read with this line stand with its statements.
        for (std::size_t k = commentsBefore; k < comments_.size(); ++k) {
            CommentMark& mark = comments_[k];
            mark.begin = base_;
            mark.end = mark.wholeLine ? base_ : base_ + out_.size();
        }
        if (spans_ && !out_.empty())
            spans_->push_back({base_, base_ + out_.size(), raw_.front().line,
                               !continued && raw_.front().line == raw_.back().line});
    }

    void Push(Kind kind, std::string_view text, std::size_t line) { raw_.push_back({text, line, kind}); }

    bool AtStatementStart() const { return raw_.empty() || raw_.back().kind == Kind::Separator; }

    // Takes one physical line apart, appending its tokens to raw_.
    LineEnd Scan(std::string_view s, std::size_t line) {
        const std::size_t n = s.size();
        std::size_t i = 0;
        while (i < n) {
            const char c = s[i];
            if (IsBlank(c)) {
                ++i;
                continue;
            }
            if (c == '"') {
                std::size_t j = i + 1;
                while (j < n) {
                    if (s[j] == '"') {
                        if (j + 1 < n && s[j + 1] == '"') {
                            j += 2;
                            continue;
                        }
                        break;
                    }
                    ++j;
                }
                const std::size_t end = j < n ? j + 1 : n;
                Push(Kind::Literal, s.substr(i, end - i), line);
                i = end;
                continue;
            }
            if (c == '\'')
                return AddComment(s.substr(i + 1), line, raw_.empty(), s.data() + i);
            if (IsDigit(c)) {
                std::size_t j = i;
                while (j < n && (IsDigit(s[j]) || s[j] == '.'))
                    ++j;
                if (j + 1 < n && (Upper(s[j]) == 'E' || Upper(s[j]) == 'D') &&
                    (IsDigit(s[j + 1]) ||
                     ((s[j + 1] == '+' || s[j + 1] == '-') && j + 2 < n && IsDigit(s[j + 2])))) {
                    j += 2;
                    while (j < n && IsDigit(s[j]))
                        ++j;
                }
                if (j < n && IsTypeChar(s[j]) && s[j] != '$' && (j + 1 == n || !IsNameChar(s[j + 1])))
                    ++j;
                Push(Kind::Number, s.substr(i, j - i), line);
                i = j;
                continue;
            }
            if (IsNameChar(c)) {
                std::size_t j = i;
                while (j < n && IsNameChar(s[j]))
                    ++j;
                const std::string_view word = s.substr(i, j - i);
                if (word == "_") {
                    std::size_t k = j;
                    while (k < n && IsBlank(s[k]))
                        ++k;
                    if (k == n)
                        return LineEnd::CodeGoesOn;
                }
                if (AtStatementStart() && EqualNoCase(word, "REM") && (j == n || IsBlank(s[j])))
                    return AddComment(s.substr(j), line, raw_.empty(), s.data() + i, true);
                if (j < n && IsTypeChar(s[j]) && (j + 1 == n || !IsNameChar(s[j + 1])))
                    ++j;
                Push(Kind::Name, s.substr(i, j - i), line);
                i = j;
                continue;
            }
            if (c == '&' && i + 2 < n && (Upper(s[i + 1]) == 'H' || Upper(s[i + 1]) == 'O') &&
                IsHexDigit(s[i + 2])) {
                std::size_t j = i + 2;
                while (j < n && IsHexDigit(s[j]))
                    ++j;
                if (j < n && (s[j] == '&' || s[j] == '%'))
                    ++j;
                Push(Kind::Number, s.substr(i, j - i), line);
                i = j;
                continue;
            }
            if (c == '#') {
                if (AtStatementStart() && i + 1 < n && IsNameChar(s[i + 1])) {
                    // A directive: #If, #Else, #End If, #Const.
                    std::size_t j = i + 1;
                    while (j < n && IsNameChar(s[j]))
                        ++j;
                    Push(Kind::Name, s.substr(i, j - i), line);
                    i = j;
                    continue;
                }
                const std::size_t close = s.find('#', i + 1);
                if (close != std::string_view::npos && IsDateText(s.substr(i + 1, close - i - 1))) {
                    Push(Kind::Literal, s.substr(i, close + 1 - i), line);
                    i = close + 1;
                    continue;
                }
            }
            if (c == ':') {
                if (i + 1 < n && s[i + 1] == '=') {
                    Push(Kind::Symbol, s.substr(i, 2), line);
                    i += 2;
                } else {
                    Push(Kind::Separator, s.substr(i, 1), line);
                    ++i;
                }
                continue;
            }
            Push(Kind::Symbol, s.substr(i, 1), line);
            ++i;
        }
        return LineEnd::Ends;
    }

    LineEnd AddComment(std::string_view text, std::size_t line, bool wholeLine, const char* at,
                       bool rem = false) {
        const bool goesOn = EndsWithContinuation(text);
        if (!commentGoesOn_)
            commentRemovable_ =
                Removable(text, wholeLine) || (rem && !wholeLine && allow_.removeRemStatement);
        commentGoesOn_ = goesOn;
        commentWholeLine_ = wholeLine;
        if (allow_.checkComments && !(original_ && commentRemovable_))
            comments_.push_back({text, line, at, 0, 0, wholeLine});
        return goesOn ? LineEnd::CommentGoesOn : LineEnd::Ends;
    }

    bool Removable(std::string_view text, bool wholeLine) const {
        if (allow_.removeSpecial && text.substr(0, allow_.specialPrefix.size()) == allow_.specialPrefix)
            return true;
        return wholeLine ? allow_.removeWholeLine : allow_.removeInLine;
    }

    // --- Normal forms --------------------------------------------------------------------------

    void Emit(const Token& t) { out_.push_back(t); }
    void Emit(std::string_view word, std::size_t line) { out_.push_back({word, line, Kind::Name}); }
    void EndStatement() {
        if (!out_.empty() && out_.back().kind != Kind::Separator)
            out_.push_back({":", out_.back().line, Kind::Separator});
    }

    void Normalise() {
        const std::size_t n = raw_.size();
        for (std::size_t p = 0; p < n;)
            p = Statement(p, n, false);
    }

    bool IsStatementEnd(std::size_t q, std::size_t n, bool inSingleIf) const {
        return q >= n || raw_[q].kind == Kind::Separator || (inSingleIf && IsWord(raw_[q], "ELSE"));
    }

    // A number that starts its line, followed by a word on that line: a line number, which Visual
    // Basic reads as a label.
    bool IsLineNumberLabel(std::size_t p, std::size_t n) const {
        const Token& first = raw_[p];
        return first.kind == Kind::Number && (p == 0 || raw_[p - 1].line != first.line) && p + 1 < n &&
               raw_[p + 1].kind == Kind::Name && raw_[p + 1].line == first.line;
    }

    // Writes the statement at p in its normal form; returns where the next one starts (at an Else that
    // ends a part of a single-line If, that Else).
    std::size_t Statement(std::size_t p, std::size_t n, bool inSingleIf) {
        const Token& first = raw_[p];
        if (first.kind == Kind::Separator)
            return p + 1;
        if (IsWord(first, "IF")) {
            std::size_t then = p + 1;
            while (then < n && raw_[then].kind != Kind::Separator && !IsWord(raw_[then], "THEN"))
                ++then;
            // A statement after Then makes a single-line If, also after the empty statement of a
            // colon ("If x Then: y = 1").
            std::size_t body = then + 1;
            while (body < n && raw_[body].kind == Kind::Separator)
                ++body;
            if (body < n && IsWord(raw_[then], "THEN"))
                return SingleLineIf(p, then, n);
        }
        if (IsLineNumberLabel(p, n)) {
            // "120 Next j": the number is the line's label, the statement after it one of its own.
            Emit(first);
            EndStatement();
            return p + 1;
        }
        if (IsWord(first, "ELSE") && !inSingleIf) {
            // A block Else, with or without a statement after it on its line.
            Emit(first);
            EndStatement();
            return p + 1;
        }
        std::size_t end = p;
        while (!IsStatementEnd(end, n, inSingleIf))
            ++end;
        if (!Declaration(p, end) && !NextStatement(p, end) && !InsertedOptionExplicit(p, end)) {
            for (std::size_t q = p; q < end; ++q)
                Emit(raw_[q]);
            EndStatement();
        }
        return end < n && raw_[end].kind == Kind::Separator ? end + 1 : end;
    }

    // "If c Then a: b Else d" as "If c Then", "a", "b", "Else", "d", "End If". A nested single-line
    // If takes the rest of the line, Else included, as Visual Basic reads it.
    std::size_t SingleLineIf(std::size_t p, std::size_t then, std::size_t n) {
        for (std::size_t q = p; q <= then; ++q)
            Emit(raw_[q]);
        EndStatement();
        std::size_t q = Part(then + 1, n);
        if (q < n && IsWord(raw_[q], "ELSE")) {
            Emit(raw_[q]);
            EndStatement();
            q = Part(q + 1, n);
        }
        // Anything left (a second Else) is not valid code; it stays in the stream as it is.
        for (; q < n; ++q)
            Emit(raw_[q]);
        Emit(kEnd, raw_[p].line);
        Emit(kIf, raw_[p].line);
        EndStatement();
        return n;
    }

    // The statements of a Then or Else part, up to its Else or the end of the line. A line number
    // alone there is a jump to it.
    std::size_t Part(std::size_t q, std::size_t n) {
        if (q < n && raw_[q].kind == Kind::Number && IsStatementEnd(q + 1, n, true)) {
            Emit(kGoTo, raw_[q].line);
            Emit(raw_[q]);
            EndStatement();
            ++q;
        }
        while (q < n && !IsWord(raw_[q], "ELSE"))
            q = Statement(q, n, true);
        return q;
    }

    static bool IsDeclarationKeyword(const Token& t) {
        for (std::string_view w : {"DIM", "REDIM", "PRESERVE", "STATIC", "GLOBAL", "PRIVATE", "PUBLIC",
                                   "FRIEND", "CONST", "WITHEVENTS", "SHARED"})
            if (IsWord(t, w))
                return true;
        return false;
    }

    // Items of a comma list between p and end, cut at the commas outside parentheses.
    void CommaItems(std::size_t p, std::size_t end) {
        items_.clear();
        int depth = 0;
        std::size_t start = p;
        for (std::size_t q = p; q < end; ++q) {
            const Token& t = raw_[q];
            if (t.kind != Kind::Symbol)
                continue;
            if (t.text == "(")
                ++depth;
            else if (t.text == ")")
                --depth;
            else if (t.text == "," && depth == 0) {
                items_.push_back({start, q});
                start = q + 1;
            }
        }
        items_.push_back({start, end});
    }

    std::size_t TopLevelAs(std::size_t p, std::size_t end) const {
        int depth = 0;
        for (std::size_t q = p; q < end; ++q) {
            const Token& t = raw_[q];
            if (t.kind == Kind::Symbol && t.text == "(")
                ++depth;
            else if (t.kind == Kind::Symbol && t.text == ")")
                --depth;
            else if (depth == 0 && IsWord(t, "AS"))
                return q;
        }
        return end;
    }

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // For each item of items_: where its As stands (its end when it has none), and the next item after
    // it that has one (kNone). Found in one walk from the end, so that a list of many untyped names
    // costs no more than its length.
    void FindTypesOfItems() {
        itemAs_.resize(items_.size());
        nextTyped_.resize(items_.size());
        std::size_t next = kNone;
        for (std::size_t k = items_.size(); k-- > 0;) {
            itemAs_[k] = TopLevelAs(items_[k].first, items_[k].second);
            nextTyped_[k] = next;
            if (itemAs_[k] != items_[k].second)
                next = k;
        }
    }

    // "Private Const A = 1, B = 2" as "Private Const A = 1", "Private Const B = 2"; variables alike,
    // untyped ones taking the next type while the settings correct them.
    bool Declaration(std::size_t p, std::size_t end) {
        const Token& first = raw_[p];
        if (!(IsWord(first, "DIM") || IsWord(first, "REDIM") || IsWord(first, "STATIC") ||
              IsWord(first, "GLOBAL") || IsWord(first, "PRIVATE") || IsWord(first, "PUBLIC") ||
              IsWord(first, "CONST")))
            return false;
        std::size_t q = p;
        bool isConst = false;
        while (q < end && IsDeclarationKeyword(raw_[q]))
            isConst = isConst || IsWord(raw_[q++], "CONST");
        if (q >= end || raw_[q].kind != Kind::Name)
            return false;
        for (std::string_view w :
             {"SUB", "FUNCTION", "PROPERTY", "TYPE", "ENUM", "DECLARE", "EVENT", "IMPLEMENTS"})
            if (IsWord(raw_[q], w))
                return false;
        CommaItems(q, end);
        const bool correctAs = allow_.correctAs && !isConst;
        if (correctAs)
            FindTypesOfItems();
        for (std::size_t k = 0; k < items_.size(); ++k) {
            const auto [from, to] = items_[k];
            for (std::size_t r = p; r < q; ++r)
                Emit(raw_[r]);
            for (std::size_t r = from; r < to; ++r)
                Emit(raw_[r]);
            if (correctAs && from < to && itemAs_[k] == to && !IsTypeChar(raw_[from].text.back()) &&
                nextTyped_[k] != kNone) {
                const std::size_t m = nextTyped_[k];
                for (std::size_t r = itemAs_[m]; r < items_[m].second; ++r)
                    out_.push_back({raw_[r].text, raw_[from].line, raw_[r].kind});
            }
            EndStatement();
        }
        return true;
    }

    // "Next j, i" as two Next statements; without their variables when the settings change them.
    bool NextStatement(std::size_t p, std::size_t end) {
        if (!IsWord(raw_[p], "NEXT") || (p + 1 < end && IsWord(raw_[p + 1], "AS")))
            return false;
        CommaItems(p + 1, end);
        for (const auto& [from, to] : items_) {
            Emit(raw_[p]);
            if (!allow_.ignoreNextVariables)
                for (std::size_t r = from; r < to; ++r)
                    Emit(raw_[r]);
            EndStatement();
        }
        return true;
    }

    bool InsertedOptionExplicit(std::size_t p, std::size_t end) {
        if (!dropOptionExplicit_)
            return false;
        std::size_t q = p;
        while (q < end && (IsWord(raw_[q], "PUBLIC") || IsWord(raw_[q], "PRIVATE") ||
                           IsWord(raw_[q], "FRIEND") || IsWord(raw_[q], "STATIC")))
            ++q;
        if (q < end &&
            (IsWord(raw_[q], "SUB") || IsWord(raw_[q], "FUNCTION") || IsWord(raw_[q], "PROPERTY"))) {
            dropOptionExplicit_ = false; // past the declarations: an Option Explicit here is not the engine's
            return false;
        }
        if (end - p == 2 && IsWord(raw_[p], "OPTION") && IsWord(raw_[p + 1], "EXPLICIT")) {
            dropOptionExplicit_ = false;
            return true;
        }
        return false;
    }

    Unmarked lines_;
    const Allowances& allow_;
    std::deque<CommentMark>& comments_;
    bool original_;
    std::size_t next_ = 0; // next physical line to read
    std::vector<Token> raw_;
    std::vector<Token> out_;
    std::size_t pos_ = 0;
    std::size_t base_ = 0; // tokens of the stream before out_
    std::vector<CodeSpan>* spans_ = nullptr;
    std::vector<std::pair<std::size_t, std::size_t>> items_;
    std::vector<std::size_t> itemAs_;    // FindTypesOfItems
    std::vector<std::size_t> nextTyped_; // FindTypesOfItems
    bool commentGoesOn_ = false;
    bool commentWholeLine_ = false;
    bool commentRemovable_ = false;
    bool dropOptionExplicit_ = false;
};

} // namespace guard
} // namespace kemptor
