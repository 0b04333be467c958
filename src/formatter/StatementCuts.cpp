#include "formatter/StatementCuts.h"

#include <algorithm>

namespace kemptor::cuts {

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// True when `word` stands at `i` as a whole word (the caller knows `i` is outside literals).
bool WordAt(std::string_view code, size_t i, std::string_view word) {
    if (i + word.size() > code.size())
        return false;
    for (size_t k = 0; k < word.size(); ++k)
        if (Upper(code[i + k]) != Upper(word[k]))
            return false;
    if (i > 0) {
        char before = code[i - 1];
        if (IsNameChar(before) || before == '.' || before == '!')
            return false;
    }
    size_t end = i + word.size();
    return end == code.size() || !IsNameChar(code[end]);
}

// Position of the quote that closes the literal opened at `open`; the end of the code when the line
// ends first. A doubled quote closes the literal and opens the next one, which keeps it open.
size_t LiteralEnd(std::string_view code, size_t open) {
    const size_t close = code.find('"', open + 1);
    return close == npos ? code.size() : close;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Position of the "#" that closes a date literal opened at `open` ("#10:30:00 AM#", "#1/2/1999#",
// "#January 1, 1999#"); npos when the "#" there opens none. Other uses of "#" are told apart: a type
// character follows a name or a number ("x# = 1", "1.5#"), and a file number ("Print #1, x") or a
// directive ("#If") is not closed by a "#" around date text.
size_t DateLiteralEnd(std::string_view code, size_t open) {
    if (open > 0 && (IsNameChar(code[open - 1]) || code[open - 1] == '.'))
        return npos;
    if (open + 1 >= code.size() || !(IsDigit(code[open + 1]) || IsLetter(code[open + 1])))
        return npos;
    bool digit = false;
    bool separator = false;
    size_t letters = 0; // the longest run of letters: a month name, or AM and PM
    size_t run = 0;
    for (size_t i = open + 1; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '#') {
            const bool month = letters >= 3;
            return digit && (separator || month) ? i : npos;
        }
        run = IsLetter(c) ? run + 1 : 0;
        letters = std::max(letters, run);
        if (IsDigit(c))
            digit = true;
        else if (c == '/' || c == '-' || c == ':')
            separator = true;
        else if (!IsLetter(c) && c != ' ' && c != ',' && c != '.')
            return npos;
        // The time part of a date writes its colons between digits: a colon before a blank ends a
        // statement ("Seek #1, 5: Put #1, , r").
        if (c == ':' && (i + 1 >= code.size() || !IsDigit(code[i + 1])))
            return npos;
    }
    return npos;
}

// The position of the last character of the string or date literal that starts at `i`, or `i`
// itself when none starts there.
size_t LiteralAt(std::string_view code, size_t i) {
    if (code[i] == '"')
        return LiteralEnd(code, i);
    if (code[i] == '#') {
        const size_t end = DateLiteralEnd(code, i);
        return end == npos ? i : end;
    }
    return i;
}

bool OpensLiteral(char c) {
    return c == '"' || c == '#';
}

size_t SkipBlanks(std::string_view code, size_t i) {
    while (i < code.size() && IsBlank(code[i]))
        ++i;
    return i;
}

// The position after the blanks and the empty statements (lone colons) that start at `i`.
size_t SkipEmptyStatements(std::string_view code, size_t i) {
    i = SkipBlanks(code, i);
    while (i < code.size() && code[i] == ':' && !(i + 1 < code.size() && code[i + 1] == '='))
        i = SkipBlanks(code, i + 1);
    return i;
}

} // namespace

size_t FindWord(std::string_view code, std::string_view word, size_t from) {
    for (size_t i = 0; i < code.size(); ++i) {
        if (OpensLiteral(code[i])) {
            i = LiteralAt(code, i);
            continue;
        }
        // The first letter is compared here: most positions fail on it.
        if (i >= from && (word.empty() || Upper(code[i]) == Upper(word[0])) && WordAt(code, i, word))
            return i;
    }
    return npos;
}

bool StartsWithWord(std::string_view code, std::string_view word) {
    return WordAt(code, SkipBlanks(code, 0), word);
}

size_t ClosingParen(std::string_view code, size_t open) {
    int depth = 0;
    for (size_t i = open; i < code.size(); ++i) {
        char c = code[i];
        if (OpensLiteral(c))
            i = LiteralAt(code, i);
        else if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0)
            return i;
    }
    return npos;
}

std::vector<size_t> TopLevelCommas(std::string_view code) {
    // A parenthesised group is passed over whole; an unclosed one runs to the end of the line.
    std::vector<size_t> commas;
    for (size_t i = 0; i < code.size(); ++i) {
        char c = code[i];
        if (OpensLiteral(c))
            i = LiteralAt(code, i);
        else if (c == '(')
            i = std::min(ClosingParen(code, i), code.size());
        else if (c == ',')
            commas.push_back(i);
    }
    return commas;
}

namespace {

// Cuts `code` at `positions` (each a one-character separator), trims the pieces, and keeps empty
// pieces only when asked.
std::vector<std::string_view> CutAt(std::string_view code, const std::vector<size_t>& positions,
                                    bool keepEmpty) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    auto add = [&](size_t end) {
        std::string_view piece = Trim(code.substr(start, end - start));
        if (keepEmpty || !piece.empty())
            pieces.push_back(piece);
    };
    for (size_t p : positions) {
        add(p);
        start = p + 1;
    }
    add(code.size());
    return pieces;
}

} // namespace

std::vector<std::string_view> CommaItems(std::string_view code) {
    return CutAt(code, TopLevelCommas(code), true);
}

std::vector<size_t> StatementColons(std::string_view code) {
    std::vector<size_t> colons;
    bool statementStart = true;
    for (size_t i = 0; i < code.size(); ++i) {
        char c = code[i];
        if (c == '"' || (c == '#' && DateLiteralEnd(code, i) != npos)) {
            i = LiteralAt(code, i);
            statementStart = false;
            continue;
        }
        if (statementStart && !IsBlank(c)) {
            // A line number labels the first statement, which is what follows it ("100 If a Then").
            if (colons.empty() && IsDigit(c) && (i == 0 || IsBlank(code[i - 1]))) {
                while (i + 1 < code.size() && IsDigit(code[i + 1]))
                    ++i;
                continue;
            }
            if (WordAt(code, i, "Rem") || WordAt(code, i, "If"))
                break;
            statementStart = false;
        }
        if (c == ':' && !(i + 1 < code.size() && code[i + 1] == '=')) {
            colons.push_back(i);
            statementStart = true;
        }
    }
    return colons;
}

size_t RemStart(std::string_view code) {
    // Without a colon the code is one statement, and its start is the only place for a Rem.
    size_t start = 0;
    if (code.find(':') != npos) {
        std::vector<size_t> colons = StatementColons(code);
        start = colons.empty() ? 0 : colons.back() + 1;
    }
    start = SkipBlanks(code, start);
    return WordAt(code, start, "Rem") ? start : npos;
}

std::vector<std::string_view> Statements(std::string_view code) {
    return CutAt(code, StatementColons(code), false);
}

std::optional<SingleLineIf> CutSingleLineIf(std::string_view code) {
    code = Trim(code);
    if (!StartsWithWord(code, "If"))
        return std::nullopt;
    size_t thenPos = FindWord(code, "Then", 2);
    if (thenPos == npos)
        return std::nullopt;
    // A colon right after Then or Else ends an empty statement ("If x Then: y = 1"): it is dropped,
    // and the statements after it make the part.
    size_t restStart = SkipEmptyStatements(code, thenPos + 4);
    std::string_view rest = Trim(code.substr(restStart));
    if (rest.empty() || rest == "_")
        return std::nullopt;

    SingleLineIf parts;
    parts.head = "If" + std::string(code.substr(2, thenPos - 2)) + "Then";

    size_t elsePos = FindWord(code, "Else", restStart);
    if (elsePos == npos) {
        parts.thenPart = std::string(rest);
        return parts;
    }
    std::string_view thenPart = Trim(code.substr(restStart, elsePos - restStart));
    std::string_view elsePart = Trim(code.substr(SkipEmptyStatements(code, elsePos + 4)));
    if (elsePart.empty() || FindWord(thenPart, "If") != npos)
        return std::nullopt;
    parts.thenPart = std::string(thenPart);
    parts.elsePart = std::string(elsePart);
    parts.hasElse = true;
    return parts;
}

bool IsWordAsDeclaration(std::string_view code) {
    size_t i = SkipBlanks(code, 0);
    size_t start = i;
    while (i < code.size() && IsNameChar(code[i]))
        ++i;
    if (i == start)
        return false;
    i = SkipBlanks(code, i);
    if (i < code.size() && code[i] == '(') {
        i = ClosingParen(code, i);
        if (i == npos)
            return false;
        i = SkipBlanks(code, i + 1);
    }
    return WordAt(code, i, "As");
}

} // namespace kemptor::cuts
