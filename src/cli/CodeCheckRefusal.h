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

// The code check reads statements token by token and may notice a difference a line or more after the
// line that was changed; the place given is the first line, in the changed stretch that leads up to
// the mismatch, that changed more than its indentation, and the column where it first differs.
RefusalPlace LocateRefusal(const TextLines& before, const TextLines& after, const CodeMismatch& mismatch,
                           std::string_view consequence);

} // namespace kemptor
