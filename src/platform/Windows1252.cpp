#include "platform/Windows1252.h"

#include <algorithm>
#include <iterator>

namespace kemptor {

namespace {

// Windows-1252 code points of the bytes 0x80 to 0x9F; the bytes above them are Latin-1.
constexpr char16_t kWindows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

std::u16string Windows1252ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : static_cast<char16_t>(byte);
    }
    return out;
}

std::string Utf16ToWindows1252(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t code : text) {
        char byte = '?';
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            byte = static_cast<char>(code);
        } else {
            const auto* at = std::find(std::begin(kWindows1252High), std::end(kWindows1252High), code);
            if (at != std::end(kWindows1252High))
                byte = static_cast<char>(0x80 + (at - std::begin(kWindows1252High)));
        }
        out += byte;
    }
    return out;
}

} // namespace kemptor
