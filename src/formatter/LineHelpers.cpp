#include "formatter/LineHelpers.h"

#include <algorithm>

namespace kemptor {

namespace {

constexpr char kQuote = '"';
constexpr char kApostrophe = '\'';

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The code of s outside literals and before the comment, upper-cased and trimmed, written into a
// buffer of this thread; the view is valid until the next call. The line tests run on it many
// times per line, so it must not allocate once the buffer has grown.
std::string_view UpperCodeView(std::string_view s) {
    thread_local std::string buffer;
    if (buffer.size() < s.size())
        buffer.resize(s.size());
    char* out = buffer.data();
    std::size_t n = 0;
    bool inside = false;
    for (char c : s) {
        if (c == kQuote) {
            inside = !inside;
        } else if (!inside) {
            if (c == kApostrophe)
                break;
            out[n++] = UpperChar(c);
        }
    }
    return Trim(std::string_view(out, n));
}

// Position (0-based) of the first whole-word occurrence of word in t, or npos.
std::size_t FindWord(std::string_view t, std::string_view word) {
    std::size_t p = t.find(word);
    while (p != std::string_view::npos) {
        const bool startOk = p == 0 || !IsNameChar(t[p - 1]);
        const bool endOk = p + word.size() >= t.size() || !IsNameChar(t[p + word.size()]);
        if (startOk && endOk)
            return p;
        p = t.find(word, p + 1);
    }
    return std::string_view::npos;
}

bool Contains(std::string_view s, std::string_view part) {
    return s.find(part) != std::string_view::npos;
}

} // namespace

std::string Spaces(int n) {
    return n > 0 ? std::string(static_cast<std::size_t>(n), ' ') : std::string();
}

std::string_view LeftStr(std::string_view s, int n) {
    if (n <= 0)
        return {};
    return s.substr(0, std::min(s.size(), static_cast<std::size_t>(n)));
}

std::string_view RightStr(std::string_view s, int n) {
    if (n <= 0)
        return {};
    const std::size_t count = std::min(s.size(), static_cast<std::size_t>(n));
    return s.substr(s.size() - count);
}

int PosFrom(int i, std::string_view s, std::string_view sub) {
    if (sub.empty())
        return 0;
    const std::size_t from = i < 1 ? 0 : static_cast<std::size_t>(i - 1);
    if (from >= s.size())
        return 0;
    const std::size_t p = s.find(sub, from);
    return p == std::string_view::npos ? 0 : static_cast<int>(p + 1);
}

std::string RepeatPattern(std::string_view pattern, int n) {
    n = std::min(n, 1000);
    std::string result;
    if (pattern.empty() || n <= 0)
        return result;
    result.reserve(static_cast<std::size_t>(n));
    while (result.size() < static_cast<std::size_t>(n))
        result.append(pattern);
    result.resize(static_cast<std::size_t>(n));
    return result;
}

void ExpandTabsInto(std::string& out, std::string_view s, int tabWidth) {
    out.clear();
    if (s.find('\t') == std::string_view::npos) {
        out.append(s);
        return;
    }
    const std::size_t width = tabWidth > 0 ? static_cast<std::size_t>(tabWidth) : 0;
    bool inside = false;
    bool comment = false;
    for (char c : s) {
        if (comment) {
            if (c == '\t')
                out.append(width, ' ');
            else
                out.push_back(c);
            continue;
        }
        if (c == kQuote)
            inside = !inside;
        else if (c == kApostrophe && !inside)
            comment = true;
        if (c == '\t' && !inside)
            out.append(width, ' ');
        else
            out.push_back(c);
    }
}

std::string ExpandTabs(std::string_view s, int tabWidth) {
    std::string out;
    ExpandTabsInto(out, s, tabWidth);
    return out;
}

std::string UpperCase(std::string_view s) {
    std::string result(s);
    for (char& c : result)
        c = UpperChar(c);
    return result;
}

bool StartsWithUpper(std::string_view s, std::string_view upperPrefix) {
    if (s.size() < upperPrefix.size())
        return false;
    for (std::size_t i = 0; i < upperPrefix.size(); ++i)
        if (UpperChar(s[i]) != upperPrefix[i])
            return false;
    return true;
}

int CommentPos(std::string_view s) {
    return PosOutsideQuotes(s, kApostrophe);
}

std::string_view CommentText(std::string_view s) {
    const int p = CommentPos(s);
    return p > 0 ? s.substr(static_cast<std::size_t>(p)) : std::string_view{};
}

std::string_view CommentBody(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string_view StripComment(std::string_view s) {
    const int p = CommentPos(s);
    if (p == 0)
        return s;
    std::string_view code = s.substr(0, static_cast<std::size_t>(p - 1));
    while (!code.empty() && code.back() == ' ')
        code.remove_suffix(1);
    return code;
}

std::string RemoveLiterals(std::string_view s) {
    std::string result;
    result.reserve(s.size());
    bool inside = false;
    for (char c : s) {
        if (c == kQuote)
            inside = !inside;
        else if (!inside)
            result.push_back(c);
    }
    return result;
}

std::string UpperCodeText(std::string_view s) {
    return std::string(UpperCodeView(s));
}

int PosOutsideQuotes(std::string_view s, char ch) {
    // Most lines hold no such character, or no quote before its first one: both are decided by a
    // fast search instead of a walk through the literals.
    if (ch == kQuote)
        return 0; // a quote only ever opens or closes a literal
    const std::size_t first = s.find(ch);
    if (first == std::string_view::npos)
        return 0;
    if (s.substr(0, first).find(kQuote) == std::string_view::npos)
        return static_cast<int>(first + 1);
    bool inside = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == kQuote)
            inside = !inside;
        else if (s[i] == ch && !inside)
            return static_cast<int>(i + 1);
    }
    return 0;
}

bool InsideLiteralAt(int i, std::string_view s) {
    if (i < 1 || static_cast<std::size_t>(i) > s.size())
        return false;
    const auto quotes = std::count(s.begin(), s.begin() + (i - 1), kQuote);
    return quotes % 2 == 1;
}

bool HasLiteral(std::string_view s) {
    return StripComment(s).find(kQuote) != std::string_view::npos;
}

bool IsContinuedLine(std::string_view s) {
    if (s.find('_') == std::string_view::npos)
        return false; // most lines: no underscore anywhere
    // Names with underscores are common: a line that does not end in one, with no literal or comment
    // that could hide its true end, ends in no continuation.
    const std::size_t e = s.find_last_not_of(' ');
    if (e != std::string_view::npos && s[e] != '_' && s.find(kQuote) == std::string_view::npos &&
        s.find(kApostrophe) == std::string_view::npos)
        return false;
    // The last character of the code outside literals that is not a blank, and whether a blank (or
    // the start of the line) stands before it: "y = x_" ends in a name, not a continuation.
    bool inside = false;
    char last = 0;
    bool lastStandsAlone = false;
    char before = ' ';
    for (char c : s) {
        if (c == kQuote) {
            inside = !inside;
        } else if (!inside) {
            if (c == kApostrophe)
                break;
            if (c != ' ') {
                last = c;
                lastStandsAlone = before == ' ';
            }
        }
        before = inside ? kQuote : c;
    }
    return last == '_' && lastStandsAlone;
}

bool IsLabelWord(std::string_view word) {
    word = Trim(word);
    if (word.empty())
        return false;
    if (std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return true; // a line number
    const auto first = static_cast<unsigned char>(word.front());
    const bool letter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z') || first >= 128;
    if (!letter || !std::all_of(word.begin(), word.end(), IsNameChar))
        return false;
    // Reserved words that make a statement on their own: "Do: x = 1" is a loop, not a label. A
    // procedure name before a colon ("Refresh: x = 1") is a label to Visual Basic, so only reserved
    // words belong here; cutting a label off its line would turn it into a call.
    static constexpr std::string_view kStatementWords[] = {"DO",  "LOOP", "ELSE",   "NEXT",   "WEND",
                                                           "END", "STOP", "RETURN", "RESUME", "REM"};
    if (word.size() > 6)
        return true; // longer than any of them
    const std::string upper = UpperCase(word);
    return std::find(std::begin(kStatementWords), std::end(kStatementWords), upper) ==
           std::end(kStatementWords);
}

std::size_t LineNumberLength(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    const std::size_t digits = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i;
    if (i == digits || i == s.size() || s[i] != ' ')
        return 0; // most lines: no digit first
    const std::string_view rest = TrimLeft(s.substr(i));
    const auto c = static_cast<unsigned char>(rest.empty() ? '\0' : rest.front());
    return ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') ? i : 0;
}

std::string_view AfterLineNumber(std::string_view s) {
    const std::string_view t = TrimLeft(s);
    if (t.empty() || t.front() < '0' || t.front() > '9')
        return t;
    const std::size_t number = LineNumberLength(s);
    return number == 0 ? t : TrimLeft(s.substr(number));
}

namespace {

// True when the code of s starts with a label word directly followed by ":". The line itself is
// looked at, not its code without literals: in "MsgBox "Done": Exit Sub" the literal stands between
// the word and the colon, so MsgBox is a statement and no label.
bool LabelWordThenColon(std::string_view s) {
    const std::size_t colon = s.find(':');
    if (colon == std::string_view::npos)
        return false;
    const std::string_view word = TrimLeft(s.substr(0, colon));
    return IsLabelWord(word);
}

// The code of s, as UpperCodeView gives it, when its first statement is a label. Empty otherwise.
std::string_view CodeAfterLabelTest(std::string_view s) {
    if (!LabelWordThenColon(s))
        return {}; // most lines: no colon anywhere
    return UpperCodeView(s);
}

// Given the code view t of a line whose first statement is a label: whether the line is a label line.
// Visual Basic writes labels in the first column; an indented line is a label line when its code ends
// with a colon ("    ErrHandler:").
bool LabelLineCode(std::string_view s, std::string_view t) {
    return t.back() == ':' || s.front() != ' ';
}

} // namespace

bool StartsWithLabel(std::string_view s) {
    return !CodeAfterLabelTest(s).empty();
}

bool IsLabelLine(std::string_view s) {
    const std::string_view t = CodeAfterLabelTest(s);
    if (t.empty())
        return false;
    return LabelLineCode(s, t);
}

bool HasCodeColon(std::string_view s) {
    const int colon = PosOutsideQuotes(s, ':');
    if (colon == 0)
        return false;
    const int comment = CommentPos(s);
    return comment == 0 || comment > colon;
}

bool HasStatementSeparator(std::string_view s) {
    if (!HasCodeColon(s))
        return false; // a colon inside a literal or a comment separates nothing
    // The code holds a colon, so the view does too; it serves the label test and the ":=" test.
    const std::string_view t = UpperCodeView(s);
    if (LabelWordThenColon(s) && LabelLineCode(s, t))
        return false; // a label line
    return !Contains(t, ":=");
}

bool IsSingleLineIf(std::string_view s) {
    const std::string_view start = AfterLineNumber(s);
    if (start.size() < 2 || UpperChar(start[0]) != 'I' || UpperChar(start[1]) != 'F')
        return false; // most lines: not an If at all
    const std::string_view t = UpperCodeView(start);
    if (!StartsWith(t, "IF") || (t.size() > 2 && IsNameChar(t[2])))
        return false;
    const std::size_t p = FindWord(t, "THEN");
    // Something must follow Then on the line: at least two characters, the view being trimmed.
    return p != std::string_view::npos && p + 5 < t.size();
}

// True when the line's first non-blank character is one of `letters` (upper case, compared in any
// case) and the line holds a comma: the cheap test that most lines fail before the declaration tests.
static bool MayBeListDeclaration(std::string_view s, std::string_view letters) {
    const std::string_view start = TrimLeft(s);
    if (start.empty())
        return false;
    const char first = UpperChar(start[0]);
    return std::any_of(letters.begin(), letters.end(), [first](char c) { return c == first; }) &&
           s.find(',') != std::string_view::npos;
}

bool IsMultiConstDecl(std::string_view s) {
    if (!MayBeListDeclaration(s, "CG"))
        return false;
    const std::string_view t = UpperCodeView(s);
    return (StartsWith(t, "CONST ") || StartsWith(t, "GLOBAL CONST ")) && Contains(t, ",");
}

bool IsMultiVarDecl(std::string_view s) {
    if (!MayBeListDeclaration(s, "DRGS"))
        return false;
    const std::string_view t = UpperCodeView(s);
    return Contains(t, ",") && StartsVarDeclaration(t);
}

bool StartsVarDeclaration(std::string_view t) {
    // Most lines start with none of D, R, G and S.
    const char first = t.empty() ? '\0' : UpperChar(t.front());
    if (first != 'D' && first != 'R' && first != 'G' && first != 'S')
        return false;
    if (StartsWithUpper(t, "STATIC "))
        return !StartsWithUpper(t, "STATIC SUB ") && !StartsWithUpper(t, "STATIC FUNCTION ") &&
               !StartsWithUpper(t, "STATIC PROPERTY ");
    if (StartsWithUpper(t, "GLOBAL "))
        return !StartsWithUpper(t, "GLOBAL CONST ");
    return StartsWithUpper(t, "DIM ") || StartsWithUpper(t, "REDIM ");
}

bool HasBoundsList(std::string_view s) {
    const std::string_view t = UpperCodeView(s);
    return Contains(t, "(") && Contains(t, ",");
}

} // namespace kemptor
