#pragma once
// The colours attached to each line the engine emits: black on yellow for a changed line, black on the
// user's window background for an unchanged one. Viewers paint with them; later passes read BackColor
// back to keep a line changed that an earlier pass altered.

#include "view/TColor.h"

namespace kemptor {

struct TColorObject {
    TColor FontColor = clBlack;
    TColor BackColor = clWindow;

    static constexpr TColorObject Changed() { return {clBlack, clYellow}; }
    static constexpr TColorObject Unchanged() { return {clBlack, clWindow}; }
    constexpr bool IsChanged() const { return BackColor == clYellow; }
    friend constexpr bool operator==(const TColorObject&, const TColorObject&) = default;
};

} // namespace kemptor
