#include "lsp/TextEncoding.h"

#include "platform/Windows1252.h"

#include <array>
#include <cstdint>

namespace kemptor::lsp {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The length of the UTF-8 sequence that starts with `lead`; 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Decodes the character at `at` and moves past it; kInvalid (moving one byte) for a bad sequence.
char32_t Decode(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = SequenceLength(lead);
    if (length == 0 || at + length > text.size()) {
        ++at;
        return kInvalid;
    }
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kInvalid;
        }
        c = (c << 6) | (next & 0x3F);
    }
    at += length;
    return c;
}

void Encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The characters of the bytes 0x80 to 0xFF, from the program's one Windows-1252 table.
const std::array<char16_t, 128>& UpperHalf() {
    static const std::array<char16_t, 128> table = [] {
        std::string bytes;
        for (int b = 0x80; b <= 0xFF; ++b)
            bytes += static_cast<char>(b);
        const std::u16string chars = Windows1252ToUtf16(bytes);
        std::array<char16_t, 128> t{};
        for (std::size_t k = 0; k < t.size(); ++k)
            t[k] = chars[k];
        return t;
    }();
    return table;
}

std::optional<char> Windows1252Byte(char32_t c) {
    if (c < 0x80)
        return static_cast<char>(c);
    const auto& table = UpperHalf();
    for (std::size_t k = 0; k < table.size(); ++k)
        if (table[k] == c)
            return static_cast<char>(0x80 + k);
    return std::nullopt;
}

} // namespace

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8) {
    if (IsAscii(utf8))
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = Decode(utf8, at);
        const std::optional<char> byte = c == kInvalid ? std::nullopt : Windows1252Byte(c);
        if (!byte)
            return std::nullopt;
        out += *byte;
    }
    return out;
}

std::string Windows1252ToUtf8(std::string_view text) {
    if (IsAscii(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    const auto& table = UpperHalf();
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        Encode(b < 0x80 ? char32_t(b) : char32_t(table[b - 0x80]), out);
    }
    return out;
}

std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = Decode(utf8, at);
        units += c != kInvalid && c >= 0x10000 ? 2 : 1;
    }
    return units;
}

std::size_t Utf8OffsetOfUtf16(std::string_view utf8, std::size_t units) {
    std::size_t at = 0;
    std::size_t counted = 0;
    while (at < utf8.size()) {
        std::size_t next = at;
        const char32_t c = Decode(utf8, next);
        counted += c != kInvalid && c >= 0x10000 ? 2 : 1;
        if (counted > units)
            break;
        at = next;
    }
    return at;
}

} // namespace kemptor::lsp
