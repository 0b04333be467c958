#pragma once
// The pieces into which the splitters cut one source line. Pure functions of the line: the engine
// appends the pieces, marks them changed and asks for another pass so that they get indented.
//
// A result is given only when the line can be cut safely: at commas outside literals and parentheses,
// at statement colons, at the whole words If, Then and Else in any letter case. No character of code is
// dropped, repeated or moved; only the keyword a split needs again ("Dim", "Const", "End If", "Else")
// is written, in its usual capitalisation. The empty statement of a colon right after Then or Else
// ("If x Then: y = 1") is dropped; a comment that is an apostrophe alone is kept like any other. A line that ends in a line continuation (also in its
// comment) is never cut: the next source line belongs to it.

#include "platform/TextFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

using LinePieces = std::optional<TextLines>;

// The separators between a piece and the comment copied onto it.
inline constexpr std::string_view kSplitNoteSeparator = "     '";   // five blanks and an apostrophe
inline constexpr std::string_view kVarSplitNoteSeparator = "    '"; // four blanks and an apostrophe

// True when the line's last non-blank character is a "_" standing alone: a code line or a comment
// continued onto the next line.
bool EndsWithContinuation(std::string_view line);

// True when the line is a `Rem` comment from its first word on.
bool IsRemComment(std::string_view line);

// True when the code before the apostrophe comment holds a `Rem`: that comment belongs to the Rem's
// text, and the line is left as it is.
bool HasRemInCode(std::string_view line);

// True when the line's comment (apostrophe or `Rem`) ends in a continuation: the next source line is
// more of the comment's text, not code.
bool HasContinuedComment(std::string_view line);

// The statements of a line joined by ":", trimmed, without the comment: cut at the colons outside
// string literals that are not part of ":=", up to a Rem or an If statement, which own the rest of the
// line. One statement for a line without such a colon; none for a line without code.
std::vector<std::string_view> JoinedStatements(std::string_view line);

// How many loops a Next statement closes: one per variable it names ("Next j, i" closes two), one
// when it names none.
int LoopsClosedByNext(std::string_view nextStatement);

// A single-line If as a block: "If ... Then", the Then part, optionally "Else" and the Else part, and
// "End If". Without an Else part every piece begins with two blanks. The comment goes onto the first.
LinePieces SplitIfThenPieces(std::string_view line);

// Statements joined by ":" one per line, each with its own copy of the comment. Lines that start with a
// label (cut off, the label would become a call), Rem comments and single-line Ifs are not cut.
LinePieces SplitStatementPieces(std::string_view line);

// A Dim, ReDim, Global or Static declaration of several variables, one declaration per variable, each
// with the comment. With `correctAs`, a variable without a type takes the type of the next variable
// that has one. Declarations with parentheses (bounds) or followed by further statements are not cut.
LinePieces SplitMultiVarPieces(std::string_view line, bool correctAs);

// A Const or Global Const declaration of several constants, one per line, each with the comment; not
// when further statements follow on the line.
LinePieces SplitMultiConstPieces(std::string_view line);

// The variant that corrects the types, on the variable list `rest` (the declaration without its
// keyword): the first variable's name (with its bounds), the type it receives (" As T ", or empty when
// no later variable has one or when its name ends in a type character such as "%" or "$"), and the
// list without its first variable.
std::string FirstVarName(std::string_view rest);
std::string FirstVarType(std::string_view rest);
void DropFirstVar(std::string& rest);

} // namespace kemptor
