#pragma once
// The changes between a file and its formatted text, as the command line reports them: blocks of
// changed lines (for counts and CI annotations) and a unified diff.

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "platform/TextFile.h"

namespace kemptor {

// One run of changed lines: `leftCount` lines of the original from `leftStart` replaced by `rightCount`
// lines of the formatted text from `rightStart` (0-based; a count may be 0).
struct ChangeBlock {
    std::size_t leftStart = 0;
    std::size_t leftCount = 0;
    std::size_t rightStart = 0;
    std::size_t rightCount = 0;
    // The number of lines the block changes: a replaced line counts once.
    std::size_t ChangedLines() const { return leftCount > rightCount ? leftCount : rightCount; }
};

// The blocks of changed lines, in file order, lines matched by the optimal diff.
std::vector<ChangeBlock> FindChangeBlocks(const TextLines& before, const TextLines& after);

// A unified diff with three lines of context, "--- path" / "+++ path" headers; nothing when equal.
void WriteUnifiedDiff(std::ostream& out, const std::string& path, const TextLines& before,
                      const TextLines& after);

} // namespace kemptor
