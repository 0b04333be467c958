#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace kemptor {

// A 64-bit hash of one line of text, eight bytes at a time: the comparison gives lines their ids with it
// and the engine digests whole files with it, so it stays cheap per byte.
inline std::uint64_t LineHash(std::string_view s) {
    constexpr std::uint64_t kMul = 0x9E3779B97F4A7C15ULL;
    std::uint64_t h = s.size() * kMul;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        h = (std::rotl(h, 23) ^ word) * kMul;
    }
    std::uint64_t tail = 0;
    if (i < s.size())
        std::memcpy(&tail, s.data() + i, s.size() - i);
    h = (std::rotl(h, 23) ^ tail) * kMul;
    return h ^ (h >> 29);
}

} // namespace kemptor
