#include "metrics/TextMeasures.h"

#include "formatter/LineHelpers.h"

#include <array>

namespace kemptor {

namespace {

bool IsBlankChar(char c) {
    return c == ' ' || c == '\t';
}

char UpperChar(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The word at the start of t (letters, digits, "_"), and t after it.
std::string_view LeadingWord(std::string_view t) {
    std::size_t n = 0;
    while (n < t.size() && IsNameChar(t[n]))
        ++n;
    return t.substr(0, n);
}

bool EqualsUpper(std::string_view word, std::string_view upper) {
    return word.size() == upper.size() && StartsWithUpper(word, upper);
}

// The counts both ratios rest on: lines with a comment, code lines, and blank lines without one.
struct LineTally {
    long long comments = 0;
    long long code = 0;
    long long blank = 0;
};

LineTally TallyLines(const TextLines& lines) {
    LineTally tally;
    for (const std::string& line : lines) {
        const int commentPos = CommentPos(line);
        const std::string_view code =
            commentPos > 0 ? Trim(std::string_view(line).substr(0, static_cast<std::size_t>(commentPos - 1)))
                           : Trim(line);
        if (commentPos > 0)
            ++tally.comments;
        if (!code.empty())
            ++tally.code;
        else if (commentPos == 0)
            ++tally.blank;
    }
    return tally;
}

} // namespace

bool IsRoutineHeading(std::string_view line) {
    std::string_view t = TrimLeft(line);
    // Most lines are decided by their first letter: every heading begins with F, P or S.
    if (t.empty())
        return false;
    const char first = UpperChar(t.front());
    if (first != 'F' && first != 'P' && first != 'S')
        return false;
    t = Trim(StripComment(t));
    constexpr std::array<std::string_view, 4> kModifiers{"PUBLIC", "PRIVATE", "FRIEND", "STATIC"};
    while (!t.empty()) {
        const std::string_view word = LeadingWord(t);
        std::string_view rest = t.substr(word.size());
        if (rest.empty() || !IsBlankChar(rest.front()))
            return false; // every word of a heading before the name is followed by a blank
        rest = TrimLeft(rest);
        if (EqualsUpper(word, "SUB") || EqualsUpper(word, "FUNCTION"))
            return !rest.empty() && (IsNameChar(rest.front()) || rest.front() == '[');
        bool modifier = false;
        for (std::string_view m : kModifiers)
            modifier = modifier || EqualsUpper(word, m);
        if (!modifier)
            return false;
        t = rest;
    }
    return false;
}

int CountRoutines(const TextLines& lines) {
    int count = 0;
    for (const std::string& line : lines)
        count += IsRoutineHeading(line) ? 1 : 0;
    return count;
}

int GlobalNamesOf(std::string_view line) {
    const std::string_view t = TrimLeft(line);
    if (t.size() < 7 || !StartsWithUpper(t, "GLOBAL") || !IsBlankChar(t[6]))
        return 0;
    // One name, and one more after each comma that separates names: commas between array bounds or
    // inside a literal separate none. A colon ends the statement; another Global may follow it.
    int names = 1;
    int depth = 0;
    bool inLiteral = false;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '"') {
            inLiteral = !inLiteral;
        } else if (!inLiteral) {
            if (c == '\'')
                break;
            if (c == '(')
                ++depth;
            else if (c == ')' && depth > 0)
                --depth;
            else if (c == ',' && depth == 0)
                ++names;
            else if (c == ':' && depth == 0)
                return names + GlobalNamesOf(t.substr(i + 1));
        }
    }
    return names;
}

int CountGlobals(const TextLines& lines) {
    int count = 0;
    for (const std::string& line : lines)
        count += GlobalNamesOf(line);
    return count;
}

int RoundedPercent(long long part, long long whole) {
    if (whole < 1)
        whole = 1;
    const long long scaled = part * 100;
    long long quotient = scaled / whole;
    const long long twiceRest = (scaled % whole) * 2;
    if (twiceRest > whole || (twiceRest == whole && quotient % 2 != 0))
        ++quotient;
    return static_cast<int>(quotient);
}

int CommentPercent(const TextLines& lines) {
    const LineTally tally = TallyLines(lines);
    return RoundedPercent(tally.comments, tally.code);
}

int WhitespacePercent(const TextLines& lines) {
    const LineTally tally = TallyLines(lines);
    return RoundedPercent(tally.blank, tally.code);
}

} // namespace kemptor
