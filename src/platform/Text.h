#pragma once
// Small text helpers of the platform layer: the profile, the settings and the reader compare names
// without regard to letter case and trim blanks (space and tab) the same way.

#include <algorithm>
#include <cctype>
#include <string_view>

namespace kemptor {

// True when a and b are equal but for ASCII letter case. Other bytes compare as they are, whatever
// the locale; the code check calls this for every word of a file.
inline bool EqualNoCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return x == y || lower(x) == lower(y); });
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
