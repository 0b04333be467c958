#pragma once
// Small text helpers of the platform layer: the profile, the settings and the reader compare names
// without regard to letter case and trim blanks (space and tab) the same way, and every reader of
// lines finds their ends the same way.

#include <algorithm>
#include <bit>
#include <cctype>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Two views of the very same bytes: equal texts, known without reading them (a line passed on as it
// was read shares the bytes of its input).
inline bool SameView(std::string_view a, std::string_view b) {
    return a.data() == b.data() && a.size() == b.size();
}

// Equal texts, the same bytes first.
inline bool SameText(std::string_view a, std::string_view b) {
    return SameView(a, b) || a == b;
}

// The first CR or LF at or after `p`, or `end` when there is none: where the line that starts at `p`
// ends. Sixteen bytes are looked at a time where the processor allows it; the lines of a file are
// short, and a call per byte kind per line (memchr) would cost more than the search.
inline const char* FindLineBreak(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (mask != 0)
            return p + std::countr_zero(static_cast<unsigned>(mask));
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

// Where the line after the line end at `at` (a CR or LF before `end`) starts: a CR LF is one end.
inline const char* AfterLineBreak(const char* at, const char* end) {
    return at + ((*at == '\r' && at + 1 < end && at[1] == '\n') ? 2 : 1);
}

} // namespace kemptor
