#pragma once
// Where a line of code may be cut into several statements without changing what it does.
//
// Every search here skips string literals and date literals ("#10:30:00 AM#"), matches keywords as whole
// words in any letter case, and reports nothing when a cut would not be safe; callers then leave the line as
// it is. Positions are 0-based indexes into the text given (std::string_view::npos when absent), unlike the
// 1-based line helpers, because they only ever feed substr().

#include "formatter/LineHelpers.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor::cuts {

inline constexpr size_t npos = std::string_view::npos;

// The characters of a name, as the line helpers define them.
using kemptor::IsNameChar;

// Position of `word` (letters only) at or after `from` as a whole word outside string literals, in any
// letter case. A word directly after "." or "!" is a member name and does not count.
size_t FindWord(std::string_view code, std::string_view word, size_t from = 0);

// True when `code` (leading blanks allowed) begins with `word` as a whole word, in any letter case.
bool StartsWithWord(std::string_view code, std::string_view word);

// Position of the ")" that closes the "(" at `open`, skipping literals and nested pairs; npos when the
// line ends first.
size_t ClosingParen(std::string_view code, size_t open);

// Every comma outside string literals and parentheses.
std::vector<size_t> TopLevelCommas(std::string_view code);

// The items of a comma list, cut at TopLevelCommas and trimmed.
std::vector<std::string_view> CommaItems(std::string_view code);

// The colons that separate statements: outside literals, not part of ":=". Cutting stops at a
// statement that begins with `Rem` (the rest of the line is its comment) and at one that begins with
// `If` (a single-line If owns every statement after its Then).
std::vector<size_t> StatementColons(std::string_view code);

// Position of a `Rem` that begins a statement of `code` (its comment runs to the end of the line).
size_t RemStart(std::string_view code);

// The statements of `code`, cut at StatementColons, trimmed; empty statements are left out.
std::vector<std::string_view> Statements(std::string_view code);

// A single-line If taken apart. `head` runs from "If" through "Then", the keywords written "If" and
// "Then"; `thenPart` and `elsePart` are trimmed, without the empty statements (lone colons) that may
// follow Then and Else.
struct SingleLineIf {
    std::string head;
    std::string thenPart;
    std::string elsePart;
    bool hasElse = false;
};

// Takes apart `code` (comment already removed) when it is a single-line If: it begins with the word
// If, has a Then outside literals and a statement after it. No result when the line is a block If,
// when the statement after Then is a line continuation, when an Else part is empty, or when the
// Then part holds a nested If while an Else follows (the Else would belong to the inner If).
std::optional<SingleLineIf> CutSingleLineIf(std::string_view code);

// True when the first word of `code` is followed by `As` (after optional bounds in parentheses), in
// any spacing and case: a declaration such as a Type member, whatever keyword names it.
bool IsWordAsDeclaration(std::string_view code);

} // namespace kemptor::cuts
