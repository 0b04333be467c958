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

// Inline, as the class tests below: the pass asks them of every line.
inline bool IsSubHeading(TStatementClass c) {
    using C = TStatementClass;
    return c == C::scSub || c == C::scPrivateSub || c == C::scStaticSub || c == C::scPublicSub;
}
inline bool IsFunctionHeading(TStatementClass c) { // property headings included
    using C = TStatementClass;
    return c == C::scFunction || c == C::scPrivateFunction || c == C::scStaticFunction ||
           c == C::scPublicFunction;
}
inline bool IsProcedureHeading(TStatementClass c) {
    return IsSubHeading(c) || IsFunctionHeading(c);
}
// Classes that open or close an indented block.
inline bool IsOpeningClass(TStatementClass c) {
    using C = TStatementClass;
    switch (c) {
    case C::scIf:
    case C::scSelectCase:
    case C::scDo:
    case C::scWhile:
    case C::scFor:
    case C::scType:
    case C::scWith:
        return true;
    default:
        return IsProcedureHeading(c);
    }
}
inline bool IsClosingClass(TStatementClass c) {
    using C = TStatementClass;
    switch (c) {
    case C::scEndSub:
    case C::scEndFunction:
    case C::scEndIf:
    case C::scEndSelect:
    case C::scLoop:
    case C::scWend:
    case C::scNext:
    case C::scEndType:
    case C::scEndWith:
        return true;
    default:
        return false;
    }
}

std::string_view StatementClassName(TStatementClass c);

} // namespace kemptor
