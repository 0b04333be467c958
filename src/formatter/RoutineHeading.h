#pragma once
// The name, parameters and return type of a sub or function heading, as header comments show them.

#include <string>
#include <string_view>

namespace kemptor {

// The name of a heading of any form (Public, Private or Friend, then Static, then Sub, Function or
// Property Get/Let/Set, any letter case) up to "(" or the comment: for a property, the property's
// name. "Unknown" for a line that is no heading.
std::string SubName(std::string_view line);
std::string FunctionName(std::string_view line);
// The text inside the heading's outermost parentheses, trimmed; empty without "(".
std::string SubParams(std::string_view line);
std::string FunctionParams(std::string_view line);
// The text after the last ")" of the code ("As Long"), trimmed; empty without ")".
std::string FunctionReturnType(std::string_view line);

} // namespace kemptor
