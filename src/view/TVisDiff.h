#pragma once
// TVisDiff: the line-by-line visual comparison of two texts. It matches the texts by the optimal diff
// (fix the longest run of equal consecutive lines, then repeat above and below it) and writes an
// aligned, coloured side-by-side rendering: both sides get the same number of rows, and row k of the
// left side faces row k of the right side.

#include "view/DiffRowSink.h"
#include "view/TColor.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

class Prompter;

// The per-line link record. Partner is the index of the matched line in the other text, -1 when the
// line is unmatched; RunLength is the length of the matched run the line belongs to (-1 unmatched).
struct TDiffObject {
    std::int32_t Partner = -1;
    std::int32_t RunLength = -1;
};

struct DiffLinks {
    std::vector<TDiffObject> left;
    std::vector<TDiffObject> right;
};

enum class DiffRowKind { Same, Changed, Deleted, Inserted };

// One row of the side-by-side rendering; an index of -1 is the empty filler row on that side.
struct DiffRow {
    DiffRowKind kind;
    int left;
    int right;
};

const char* DiffRowKindName(DiffRowKind kind); // "same", "changed", "deleted", "inserted"

class TVisDiff {
public:
    // Receivers of the left (first) and right (second) text; not owned. Compare does nothing while either
    // is unset.
    DiffRowSink* LeftText = nullptr;
    DiffRowSink* RightText = nullptr;
    // When on, an empty line never starts a matched run (it may still lie inside one).
    bool IgnoreBlankAnchors = false;
    // Receives the internal-error message of the row walk; may be null.
    Prompter* prompter = nullptr;

    // Clears both receivers and refills them with the aligned comparison of lines1 and lines2.
    void Compare(const std::vector<std::string>& lines1, const std::vector<std::string>& lines2,
                 bool ignoreBlankAnchors);

    // The matching alone: links every line of both texts to its partner or to -1. The longest run of
    // equal lines inside a pair of ranges wins; ties go to the lowest left line, then the lowest right line.
    static DiffLinks FindOptimalDiff(const std::vector<std::string>& lines1,
                                     const std::vector<std::string>& lines2, bool ignoreBlankAnchors);
    static DiffLinks FindOptimalDiff(const std::vector<std::string_view>& lines1,
                                     const std::vector<std::string_view>& lines2, bool ignoreBlankAnchors);

    // The row walk over linked texts. Unmatched blocks facing each other pair up as changed rows, the
    // surplus becomes deleted or inserted rows. `internalError` is set when a link points backwards.
    static std::vector<DiffRow> DisplayOptimalDiff(const DiffLinks& links, bool* internalError = nullptr);

    // Matching and row walk together, without receivers (the command line and tests use it).
    static std::vector<DiffRow> Rows(const std::vector<std::string>& lines1,
                                     const std::vector<std::string>& lines2, bool ignoreBlankAnchors = false);
    static std::vector<DiffRow> Rows(const std::vector<std::string_view>& lines1,
                                     const std::vector<std::string_view>& lines2, bool ignoreBlankAnchors = false);

    static TColor RowTextColor(DiffRowKind kind);
    static TColor RowBackColor(DiffRowKind kind);

    struct LineIds;

private:
    // The matching of two texts whose lines have been given ids (equal lines, equal ids).
    static DiffLinks LinkLines(const LineIds& ids, bool ignoreBlankAnchors);
};

} // namespace kemptor
