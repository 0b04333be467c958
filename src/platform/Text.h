#pragma once
// Small text helpers of the platform layer: the profile, the settings and the reader compare names
// without regard to letter case and trim blanks (space and tab) the same way.

#include <algorithm>
#include <cctype>
#include <string_view>

namespace kemptor {

// True when a and b are equal but for ASCII letter case.
inline bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The text without leading and trailing blanks and tabs.
inline std::string_view TrimBlanks(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

} // namespace kemptor
