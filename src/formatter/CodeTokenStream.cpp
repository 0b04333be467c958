#include "formatter/CodeTokenStream.h"

#include "settings/Settings.h"

namespace kemptor::guard {

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

bool SameCommentText(std::string_view a, std::string_view b) {
    if (a == b)
        return true; // most comments: their blanks kept too
    std::size_t i = 0;
    std::size_t j = 0;
    for (;;) {
        while (i < a.size() && IsBlank(a[i]))
            ++i;
        while (j < b.size() && IsBlank(b[j]))
            ++j;
        if (i == a.size() || j == b.size())
            return i == a.size() && j == b.size();
        if (a[i++] != b[j++])
            return false;
    }
}

} // namespace kemptor::guard
