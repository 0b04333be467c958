#pragma once
// Where and what the code check refused, for a message in the compiler convention.

#include <cstddef>
#include <string>
#include <string_view>

#include "formatter/CodeTokenGuard.h"
#include "platform/TextFile.h"

namespace kemptor {

struct RefusalPlace {
    std::size_t line = 0;   // of the original, from 1
    std::size_t column = 0; // from 1
    std::string reason;     // what was refused, then `consequence`
};

// The place the code check names, with the original line quoted and what the formatted text makes of
// it. The column is the check's; where it gives none, the first character in which the two lines
// differ past their indentation.
RefusalPlace LocateRefusal(const TextLines& before, const TextLines& after, const CodeMismatch& mismatch,
                           std::string_view consequence);

} // namespace kemptor
