#pragma once
// Colour values of the text views: a direct colour (red, green, blue) or one of the two system colours
// whose actual value the front end takes from the platform's current palette when it paints.

#include <cstdint>

namespace kemptor {

struct TColor {
    enum class Kind : std::uint8_t { Rgb, SysWindow, SysWindowText };

    Kind kind = Kind::Rgb;
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    static constexpr TColor Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        return TColor{Kind::Rgb, r, g, b};
    }
    friend constexpr bool operator==(const TColor&, const TColor&) = default;
};

inline constexpr TColor clBlack = TColor::Rgb(0, 0, 0);
inline constexpr TColor clWhite = TColor::Rgb(255, 255, 255);
inline constexpr TColor clBlue = TColor::Rgb(0, 0, 255);
inline constexpr TColor clYellow = TColor::Rgb(255, 255, 0);
inline constexpr TColor clSilver = TColor::Rgb(192, 192, 192);
inline constexpr TColor clNavy = TColor::Rgb(0, 0, 128);
inline constexpr TColor clWindow = TColor{TColor::Kind::SysWindow, 0, 0, 0};
inline constexpr TColor clWindowText = TColor{TColor::Kind::SysWindowText, 0, 0, 0};

} // namespace kemptor
