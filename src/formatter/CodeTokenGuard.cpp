#include "formatter/CodeTokenGuard.h"

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

namespace {

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
        return offset >= 0 && static_cast<std::size_t>(offset) <= line.size() ? static_cast<std::size_t>(offset) + 1
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

Allowances AllowancesOf(const Settings& s) {
    Allowances a;
    a.correctAs = s.MultiVarSplit && s.CorrectAsProblem;
    a.ignoreNextVariables = s.GrpForNextProcessing != 0;
    const bool spelling = s.SpellingPerform && (s.SpellingLiterals || s.SpellingComments);
    a.looseLiterals = s.SpellingPerform && s.SpellingLiterals;
    a.checkComments = !spelling;
    a.insertOptionExplicit = s.OptionExplicitInsert;
    a.removeWholeLine = s.GrpSingleLineComments == 4;
    const bool fixedColumn = s.GrpInLineComments == 1;
    const int fallback = s.GrpInLineCommentsFixedColUnavail;
    // A comment moved off its code line becomes a whole-line comment, which whole-line removal drops.
    a.removeInLine = s.GrpInLineComments == 3 || (fixedColumn && fallback == 3) ||
                     (fixedColumn && (fallback == 1 || fallback == 2) && a.removeWholeLine);
    a.removeSpecial = s.SpecialRemoveComments;
    a.removeRemStatement = a.removeInLine || (s.MultiStatementSplit && a.removeWholeLine);
    a.specialPrefix = s.SpecialRemoveCommentCharacters;
    return a;
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsWord(const Token& t, std::string_view upperWord) {
    return t.kind == Kind::Name && EqualNoCase(t.text, upperWord);
}

bool SameToken(const Token& a, const Token& b, bool looseLiterals) {
    if (a.kind != b.kind)
        return false;
    if (a.kind == Kind::Literal) {
        if (looseLiterals && a.text.front() == '"' && b.text.front() == '"')
            return true;
        return a.text == b.text;
    }
    return EqualNoCase(a.text, b.text);
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (Upper(c) >= 'A' && Upper(c) <= 'F');
}

bool IsTypeChar(char c) {
    return c == '%' || c == '&' || c == '!' || c == '#' || c == '@' || c == '$';
}

// The text between two "#" is a date literal: digits with "/", "-", ":" or ".", blanks, and an AM or PM
// at the end ("#10:30:00 AM#", "#1/31/1999#"). "#1, x#" of file numbers is not.
bool IsDateText(std::string_view t) {
    const std::size_t last = t.find_last_not_of(' ');
    if (last != std::string_view::npos && last >= 1) {
        const char a = Upper(t[last - 1]);
        if ((a == 'A' || a == 'P') && Upper(t[last]) == 'M')
            t = t.substr(0, last - 1);
    }
    bool digit = false;
    bool separator = false;
    for (char c : t) {
        if (IsDigit(c))
            digit = true;
        else if (c == '/' || c == '-' || c == ':' || c == '.')
            separator = true;
        else if (c != ' ')
            return false;
    }
    return digit && separator;
}

// The last non-blank character of s is a "_" standing alone: the next line goes on with this one.
bool EndsWithContinuation(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1]))
        --e;
    return e > 0 && s[e - 1] == '_' && (e == 1 || IsBlank(s[e - 2]));
}

// A comment's text without its blanks, hashed: blanks are the formatter's to change.
std::uint64_t CommentHash(std::string_view text) {
    // The characters that are not blanks, gathered eight at a time into a word that is then mixed
    // in: one multiplication per eight characters instead of one per character.
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ull;
    std::uint64_t h = 1469598103934665603ull;
    std::uint64_t word = 0;
    int filled = 0;
    for (char c : text) {
        if (IsBlank(c))
            continue;
        word = (word << 8) | static_cast<unsigned char>(c);
        if (++filled == 8) {
            h = (h ^ word) * kMul;
            h ^= h >> 32;
            word = 0;
            filled = 0;
        }
    }
    h = (h ^ word ^ (static_cast<std::uint64_t>(filled) << 60)) * kMul;
    return h ^ (h >> 32);
}

// A comment and the statements it stands with, as token positions of its text's stream: an in-line
// comment the tokens of its line [begin, end), a whole-line comment the point between two tokens.
struct CommentMark {
    std::uint64_t hash = 0;
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
            comments_.push_back({CommentHash(text), line, at, 0, 0, wholeLine});
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

bool HasOptionExplicit(const Unmarked& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (IsOptionExplicitLine(lines[i]))
            return true;
    return false;
}

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

// --- Naming the place of a refusal ------------------------------------------------------------

// A place where both texts start a statement at the start of a line, having read the same tokens
// before it: reading again from there, the streams stay in step.
struct SyncPoint {
    std::size_t original = 0;
    std::size_t formatted = 0;
};

// The last places in step, so that a refusal can read again a little before its first difference.
class SyncPoints {
public:
    SyncPoints() { Push(0, 0); }
    void Push(std::size_t original, std::size_t formatted) {
        if (count_ > 0 && points_[(count_ - 1) % kKept].original == original)
            return;
        points_[count_++ % kKept] = {original, formatted};
    }
    // The newest place at least kLinesBack original lines before `line`, or the oldest kept when
    // none is; never one so far back that reading again would cost more than the run did near it.
    SyncPoint Before(std::size_t line) const {
        const std::size_t kept = std::min(count_, kKept);
        SyncPoint chosen = points_[(count_ - 1) % kKept];
        for (std::size_t k = 1; k < kept; ++k) {
            const SyncPoint& p = points_[(count_ - 1 - k) % kKept];
            if (p.original > line || line - p.original > kMostLinesBack)
                break;
            chosen = p;
            if (line - p.original >= kLinesBack)
                break;
        }
        return chosen.original <= line ? chosen : SyncPoint{};
    }

private:
    static constexpr std::size_t kKept = 32;
    static constexpr std::size_t kLinesBack = 24;
    static constexpr std::size_t kMostLinesBack = 2000;
    SyncPoint points_[kKept];
    std::size_t count_ = 0;
};

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
            const auto endsBefore = std::upper_bound(spans.begin(), spans.end(), k,
                                                     [](std::size_t at, const CodeSpan& s) { return at < s.end; });
            const auto startsAfter = std::lower_bound(
                spans.begin(), spans.end(), k + lost, [](const CodeSpan& s, std::size_t at) { return s.begin < at; });
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
        if (at == f_.spans.end() || at->begin != begin || !at->single || at->end - at->begin != span.end - span.begin)
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
        if (t >= o.tokens.size() || t >= f.tokens.size() || !SameToken(o.tokens[t], f.tokens[t], allow.looseLiterals))
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
        return CodeMismatch{lost.line + 1, formattedLine, false, original.Column(lost.line, lost.text.data())};
    }
    const std::size_t q = FirstStatementToken(f.tokens, k, d);
    if (k >= o.tokens.size())
        return CodeMismatch{0, f.tokens[q].line + 1, false, 0};
    const Token& before = o.tokens[k];
    return CodeMismatch{before.line + 1, f.tokens[q].line + 1, false,
                        original.Column(before.line, before.text.data())};
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
               !(found[q].hash == mark.hash && SamePlace(mark, found[q])))
            ++q;
        if (q == found.size() || found[q].begin > mark.end)
            return mark;
        j = q + 1;
    }
    return std::nullopt;
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
            if (kept.front().hash == found.front().hash)
                kept.pop_front();
            found.pop_front();
        }
    };
    SyncPoints inStep;
    for (;;) {
        if (a.AtLineStart() && b.AtLineStart()) {
            inStep.Push(a.NextLine(), b.NextLine());
            // Lines that differ at most in their indentation hold the same tokens and comments:
            // passed over whole. A line ending in "_" may go on in the next and is read token by
            // token.
            if (kept.empty()) {
                // Both texts are read up to the same point, so what remains of the formatted
                // comments are ones the engine added.
                found.clear();
                while (a.NextLine() < a.LineCount() && b.NextLine() < b.LineCount()) {
                    const std::string_view x = a.Line(a.NextLine());
                    const std::string_view y = b.Line(b.NextLine());
                    // A line the engine passed on untouched is the input's own bytes: equal without
                    // reading them.
                    const bool same = (x.data() == y.data() && x.size() == y.size()) || TrimmedLeft(x) == TrimmedLeft(y);
                    if (!same || EndsWithContinuation(x))
                        break;
                    a.SkipLine();
                    b.SkipLine();
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
        const CommentMark lost =
            FirstLostComment(originalText, formattedText, allow, insertedOptionExplicit).value_or(kept.front());
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
