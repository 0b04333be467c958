#pragma once
// The receiver of the rows of a comparison: a text viewer (TBigText) on screen, a recorder in tests.

#include "view/TColor.h"

#include <string>

namespace kemptor {

class DiffRowSink {
public:
    virtual ~DiffRowSink() = default;
    // Removes every row.
    virtual void ClearRows() = 0;
    // Appends one row without painting it.
    virtual void AppendRow(const std::string& text, TColor textColor, TColor backColor) = 0;
    // Called once after the last row: recompute the view and repaint it.
    virtual void RowsDone() = 0;
};

} // namespace kemptor
