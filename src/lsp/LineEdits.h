#pragma once
// The edits that turn an open buffer into its formatted text, line by line, so that an editor keeps its
// cursor, marks and folds on the lines formatting leaves alone.
//
// The lines of the two texts are matched by the optimal diff on their text with blanks and tabs left
// out: indentation, alignment and comment columns change a line without unmatching it, so each such
// line is an edit of its own, and only what formatting restructures (a split line, a moved comment, an
// inserted header or blank line) forms a block of unmatched lines, which is replaced whole.

#include "lsp/TextDocument.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kemptor::lsp {

// Lines [oldStart, oldStart + oldCount) of the buffer become formatted lines [newStart, newStart +
// newCount) (0-based; a count may be 0).
struct LineChange {
    std::size_t oldStart = 0;
    std::size_t oldCount = 0;
    std::size_t newStart = 0;
    std::size_t newCount = 0;
};

// The changes from the buffer's lines to `formatted`, in buffer order; none when the texts are equal.
std::vector<LineChange> FindLineChanges(const TextDocument& document, const std::vector<std::string>& formatted);

// The buffer lines [first, last] (0-based) widened to whole statements: a line continued with " _"
// takes the next line with it.
void WidenToStatements(const TextDocument& document, std::size_t& first, std::size_t& last);

// The changes that touch the buffer lines [first, last]: those that replace one of them and those that
// insert lines before one of them. A change that reaches beyond the range is taken whole.
std::vector<LineChange> ChangesTouching(const std::vector<LineChange>& changes, std::size_t first,
                                        std::size_t last);

// One replacement of the buffer's bytes [start, end) by `text`.
struct ByteEdit {
    std::size_t start = 0;
    std::size_t end = 0;
    std::string text;
};

// The changes as byte edits. A line changed in place keeps its line end; the lines of a block take the
// buffer's line end (neighbouring blocks are joined into one edit); the lines the edits leave alone
// keep theirs, and the buffer's last line keeps having (or lacking) one.
std::vector<ByteEdit> EditsOf(const TextDocument& document, const std::vector<std::string>& formatted,
                              const std::vector<LineChange>& changes);

} // namespace kemptor::lsp
