#pragma once
// The name, parameters and return type of a sub or function heading, as header comments show them.

#include <string>
#include <string_view>

namespace kemptor {

// The name after "Public Sub ", "Private Sub " or "Sub " (any case) up to "(" or the comment;
// "Unknown" for any other heading (Static Sub, Friend Sub, a property).
std::string SubName(std::string_view line);
// The same for "Public Function ", "Private Function " and "Function ".
std::string FunctionName(std::string_view line);
// The text inside the heading's outermost parentheses, trimmed; empty without "(".
std::string SubParams(std::string_view line);
std::string FunctionParams(std::string_view line);
// The text after the last ")" of the code ("As Long"), trimmed; empty without ")".
std::string FunctionReturnType(std::string_view line);

} // namespace kemptor
