#include "formatter/StatementCuts.h"

namespace kemptor::cuts {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

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

size_t SkipBlanks(std::string_view code, size_t i) {
    while (i < code.size() && IsBlank(code[i]))
        ++i;
    return i;
}

} // namespace

bool IsNameChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_' || u >= 128;
}

std::string_view TrimView(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b]))
        ++b;
    size_t e = s.size();
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

size_t FindWord(std::string_view code, std::string_view word, size_t from) {
    bool inLiteral = false;
    for (size_t i = 0; i < code.size(); ++i) {
        if (code[i] == '"') {
            inLiteral = !inLiteral;
            continue;
        }
        // The first letter is compared here: most positions fail on it.
        if (!inLiteral && i >= from && (word.empty() || Upper(code[i]) == Upper(word[0])) &&
            WordAt(code, i, word))
            return i;
    }
    return npos;
}

bool StartsWithWord(std::string_view code, std::string_view word) {
    return WordAt(code, SkipBlanks(code, 0), word);
}

size_t ClosingParen(std::string_view code, size_t open) {
    int depth = 0;
    bool inLiteral = false;
    for (size_t i = open; i < code.size(); ++i) {
        char c = code[i];
        if (c == '"')
            inLiteral = !inLiteral;
        else if (inLiteral)
            continue;
        else if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0)
            return i;
    }
    return npos;
}

std::vector<size_t> TopLevelCommas(std::string_view code) {
    std::vector<size_t> commas;
    bool inLiteral = false;
    int depth = 0;
    for (size_t i = 0; i < code.size(); ++i) {
        char c = code[i];
        if (c == '"')
            inLiteral = !inLiteral;
        else if (inLiteral)
            continue;
        else if (c == '(')
            ++depth;
        else if (c == ')' && depth > 0)
            --depth;
        else if (c == ',' && depth == 0)
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
        std::string_view piece = TrimView(code.substr(start, end - start));
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

std::vector<std::string_view> CommaItems(std::string_view code) { return CutAt(code, TopLevelCommas(code), true); }

std::vector<size_t> StatementColons(std::string_view code) {
    std::vector<size_t> colons;
    bool inLiteral = false;
    bool statementStart = true;
    for (size_t i = 0; i < code.size(); ++i) {
        char c = code[i];
        if (c == '"') {
            inLiteral = !inLiteral;
            statementStart = false;
            continue;
        }
        if (inLiteral)
            continue;
        if (statementStart && !IsBlank(c)) {
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

std::vector<std::string_view> Statements(std::string_view code) { return CutAt(code, StatementColons(code), false); }

std::optional<SingleLineIf> CutSingleLineIf(std::string_view code) {
    code = TrimView(code);
    if (!StartsWithWord(code, "If"))
        return std::nullopt;
    size_t thenPos = FindWord(code, "Then", 2);
    if (thenPos == npos)
        return std::nullopt;
    size_t afterThen = thenPos + 4;
    std::string_view rest = TrimView(code.substr(afterThen));
    if (rest.empty() || rest == "_")
        return std::nullopt;

    SingleLineIf parts;
    parts.head = "If" + std::string(code.substr(2, thenPos - 2)) + "Then";

    size_t restStart = SkipBlanks(code, afterThen);
    size_t elsePos = FindWord(code, "Else", restStart);
    if (elsePos == npos) {
        parts.thenPart = std::string(rest);
        return parts;
    }
    std::string_view thenPart = TrimView(code.substr(restStart, elsePos - restStart));
    std::string_view elsePart = TrimView(code.substr(elsePos + 4));
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
