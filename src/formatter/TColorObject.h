#pragma once
// The colours attached to each line the engine emits: black on yellow for a changed line, black on the
// user's window background for an unchanged one. Viewers paint with them; later passes read BackColor
// back to keep a line changed that an earlier pass altered.

#include <cstdint>

namespace kemptor {

using TColor = std::uint32_t;

// Colour values are 0x00BBGGRR. Values with the top bit set name a system colour that the viewer
// resolves from the user's colour scheme.
constexpr TColor clBlack = 0x000000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clWindow = 0x80000005;

struct TColorObject {
    TColor FontColor = clBlack;
    TColor BackColor = clWindow;

    static constexpr TColorObject Changed() { return {clBlack, clYellow}; }
    static constexpr TColorObject Unchanged() { return {clBlack, clWindow}; }
    constexpr bool IsChanged() const { return BackColor == clYellow; }
    bool operator==(const TColorObject&) const = default;
};

} // namespace kemptor
