#include "formatter/LineSplits.h"

#include "formatter/LineHelpers.h"
#include "formatter/StatementCuts.h"

#include <algorithm>

namespace kemptor {

namespace {

// The comment of `line` behind `separator`, or nothing when the line has none. An apostrophe alone
// is a comment like any other.
std::string Note(std::string_view line, std::string_view separator) {
    if (CommentPos(line) == 0)
        return {};
    return std::string(separator) + std::string(CommentText(line));
}

// The code of `line`, trimmed, without its comment.
std::string_view Code(std::string_view line) {
    return Trim(StripComment(line));
}

// `prefixes` tried in order against the upper-cased start of `code`; the last match gives the keyword
// to write, and its length is what the keyword occupies in `code`.
struct Keyword {
    std::string_view upper;
    std::string_view written;
};

bool AnyEmpty(const std::vector<std::string_view>& items) {
    return std::any_of(items.begin(), items.end(), [](std::string_view s) { return s.empty(); });
}

constexpr Keyword kVarKeywords[] = {
    {"DIM ", "Dim "}, {"REDIM ", "Redim "}, {"GLOBAL ", "Global "}, {"STATIC ", "Static "}};
constexpr Keyword kConstKeywords[] = {{"CONST ", "Const "}, {"GLOBAL CONST ", "Global Const "}};

template <size_t N> const Keyword* FindKeyword(std::string_view code, const Keyword (&keywords)[N]) {
    const Keyword* match = nullptr;
    for (const Keyword& k : keywords)
        if (StartsWithUpper(code, k.upper))
            match = &k;
    return match;
}

} // namespace

bool EndsWithContinuation(std::string_view line) {
    std::string_view t = TrimRight(line);
    return !t.empty() && t.back() == '_' &&
           (t.size() == 1 || static_cast<unsigned char>(t[t.size() - 2]) <= 32);
}

bool IsRemComment(std::string_view line) {
    const std::string_view t = TrimLeft(line);
    if (t.empty() || (t.front() | 0x20) != 'r')
        return false; // most lines: told by their first letter
    return cuts::StartsWithWord(line, "Rem");
}

bool HasRemInCode(std::string_view line) {
    return cuts::RemStart(StripComment(line)) != cuts::npos;
}

bool HasContinuedComment(std::string_view line) {
    if (!EndsWithContinuation(line))
        return false;
    return CommentPos(line) > 0 || cuts::RemStart(StripComment(line)) != cuts::npos;
}

std::vector<std::string_view> JoinedStatements(std::string_view line) {
    return cuts::Statements(Code(line));
}

int LoopsClosedByNext(std::string_view nextStatement) {
    const std::string_view code = Code(nextStatement);
    const std::string_view vars = Trim(code.substr(std::min<size_t>(4, code.size())));
    return vars.empty() ? 1 : static_cast<int>(cuts::TopLevelCommas(vars).size()) + 1;
}

LinePieces SplitIfThenPieces(std::string_view line) {
    if (EndsWithContinuation(line))
        return std::nullopt;
    std::optional<cuts::SingleLineIf> cut = cuts::CutSingleLineIf(Code(line));
    if (!cut)
        return std::nullopt;
    std::string note = Note(line, kSplitNoteSeparator);
    // The If piece keeps the blank after Then, and the Then part the blank before Else, as the pieces
    // of the other splits keep their trailing blank.
    if (!cut->hasElse)
        return TextLines{"  " + cut->head + " " + note, "  " + cut->thenPart, "  End If"};
    TextLines pieces{cut->head + " " + note};
    if (!cut->thenPart.empty())
        pieces.push_back(cut->thenPart + " ");
    pieces.push_back("Else");
    pieces.push_back(cut->elsePart);
    pieces.push_back("End If");
    return pieces;
}

LinePieces SplitStatementPieces(std::string_view line) {
    if (StartsWithLabel(line) || EndsWithContinuation(line))
        return std::nullopt;
    std::vector<std::string_view> statements = JoinedStatements(line);
    if (statements.size() < 2)
        return std::nullopt;
    std::string note = Note(line, kSplitNoteSeparator);
    TextLines pieces;
    for (std::string_view statement : statements)
        pieces.push_back(std::string(statement) + note);
    return pieces;
}

std::string FirstVarName(std::string_view rest) {
    std::vector<std::string_view> items = cuts::CommaItems(Trim(rest));
    std::string_view first = items.front();
    size_t as = cuts::FindWord(first, "As");
    return std::string(Trim(first.substr(0, as)));
}

namespace {

// A name ending in a type character ("f%", "L$") has its type already and takes no As clause.
bool HasTypeCharacter(std::string_view name) {
    name = Trim(name);
    return !name.empty() && std::string_view("%&!#@$").find(name.back()) != std::string_view::npos;
}

} // namespace

std::string FirstVarType(std::string_view rest) {
    const std::vector<std::string_view> items = cuts::CommaItems(Trim(rest));
    if (!items.empty() && HasTypeCharacter(items.front()))
        return {};
    for (std::string_view item : items) {
        size_t as = cuts::FindWord(item, "As");
        if (as == cuts::npos)
            continue;
        std::string_view type = Trim(item.substr(as + 2));
        return type.empty() ? std::string(" As Variant ") : " As " + std::string(type) + " ";
    }
    return {};
}

void DropFirstVar(std::string& rest) {
    std::vector<size_t> commas = cuts::TopLevelCommas(rest);
    if (commas.empty())
        rest.clear();
    else
        rest.erase(0, commas.front() + 1);
}

LinePieces SplitMultiVarPieces(std::string_view line, bool correctAs) {
    if (!IsMultiVarDecl(line) || HasBoundsList(line) || EndsWithContinuation(line))
        return std::nullopt;
    std::string_view code = Code(line);
    const Keyword* keyword = FindKeyword(code, kVarKeywords);
    if (!keyword || !cuts::StatementColons(code).empty())
        return std::nullopt;
    std::string_view list = code.substr(keyword->upper.size());
    std::vector<std::string_view> items = cuts::CommaItems(list);
    if (items.size() < 2 || AnyEmpty(items))
        return std::nullopt;

    std::string note = Note(line, kVarSplitNoteSeparator);
    std::string k(keyword->written);
    TextLines pieces;
    if (correctAs) {
        // Each variable takes the type of the first item from it onwards that names one, unless its
        // name carries a type character (what FirstVarType gives for the rest of the list). The types
        // are found in one walk from the end, so a declaration of thousands of variables costs no more
        // than its length.
        std::vector<std::string> types(items.size());
        std::string type;
        for (size_t i = items.size(); i-- > 0;) {
            if (size_t as = cuts::FindWord(items[i], "As"); as != cuts::npos) {
                std::string_view written = Trim(items[i].substr(as + 2));
                type = written.empty() ? std::string(" As Variant ") : " As " + std::string(written) + " ";
            }
            types[i] = type;
        }
        for (size_t i = 0; i < items.size(); ++i)
            pieces.push_back(k + std::string(Trim(items[i].substr(0, cuts::FindWord(items[i], "As")))) +
                             (HasTypeCharacter(items[i]) ? std::string() : types[i]) + note);
    } else {
        for (std::string_view item : items)
            pieces.push_back(k + std::string(item) + note);
    }
    return pieces;
}

LinePieces SplitMultiConstPieces(std::string_view line) {
    if (!IsMultiConstDecl(line) || EndsWithContinuation(line))
        return std::nullopt;
    std::string_view code = Code(line);
    const Keyword* keyword = FindKeyword(code, kConstKeywords);
    if (!keyword || !cuts::StatementColons(code).empty())
        return std::nullopt;
    std::vector<std::string_view> items = cuts::CommaItems(code.substr(keyword->upper.size()));
    if (items.size() < 2 || AnyEmpty(items))
        return std::nullopt;
    std::string note = Note(line, kSplitNoteSeparator);
    TextLines pieces;
    for (std::string_view item : items)
        pieces.push_back(std::string(keyword->written) + std::string(item) + note);
    return pieces;
}

} // namespace kemptor
