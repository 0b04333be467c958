#pragma once
// The changes between a file and its formatted text, as the command line reports them: blocks of
// changed lines (for counts and CI annotations) and a unified diff.

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
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

// How a diff writes its lines. `lineEnds` holds the line end of each original line ("\r\n", "\n",
// "\r", or "" for a last line without one); the lines of the original keep theirs and the new lines
// take the file's first one, so `git apply` and `patch` accept the diff of a CR LF file and give the
// file its line ends back. Without them every line ends in LF.
struct DiffStyle {
    std::vector<std::string> lineEnds;
    bool color = false; // ANSI colours: headers bold, hunk heads cyan, deleted red, inserted green
};

// A unified diff with three lines of context, "--- path" / "+++ path" headers (a name with a quote,
// backslash or control character written in double quotes with C escapes, as git writes it); nothing
// when equal.
void WriteUnifiedDiff(std::ostream& out, const std::string& path, const TextLines& before,
                      const TextLines& after, const DiffStyle& style = {});

// The line end of each line of a text split as ReadTextLines splits it (see DiffStyle).
std::vector<std::string> LineEndsOf(std::string_view bytes);

} // namespace kemptor
