#pragma once
// The class of a statement by its leading keyword, on which indentation, blank-line rules and header
// comments rest.

#include <string_view>

namespace kemptor {

enum class TStatementClass {
    scOther,
    // Function headings (property headings share them) and their end.
    scFunction,
    scPrivateFunction,
    scStaticFunction,
    scPublicFunction,
    scEndFunction,
    // Sub headings and their end.
    scSub,
    scPrivateSub,
    scStaticSub,
    scPublicSub,
    scEndSub,
    scWith,
    scEndWith,
    scType,
    scEndType,
    scIf, // also #If
    scElse,
    scElseIf,
    scEndIf,
    scSelectCase,
    scCase, // also Case Else
    scEndSelect,
    scDo,
    scLoop,
    scWhile,
    scWend,
    scFor,
    scNext,
};

// Classifies a line by its keyword. The keyword is compared in any letter case at the start of the
// line trimmed at its left (after a leading line number, which is a label), followed by a blank or by
// the ":" of a further statement; closing keywords may also end the line. When several keywords match the
// last one of the table wins. A first word followed by As ("Type As Integer", "Next  As Long") is a
// declaration of that name, class other.
TStatementClass ClassifyLine(std::string_view s);

bool IsSubHeading(TStatementClass c);
bool IsFunctionHeading(TStatementClass c); // property headings included
inline bool IsProcedureHeading(TStatementClass c) {
    return IsSubHeading(c) || IsFunctionHeading(c);
}
// Classes that open or close an indented block.
bool IsOpeningClass(TStatementClass c);
bool IsClosingClass(TStatementClass c);

std::string_view StatementClassName(TStatementClass c);

} // namespace kemptor
