#include "spell/SpellWords.h"

namespace kemptor {

namespace {

bool IsAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
// Letters of the 8-bit set: ASCII and the accented letters of the upper half (not × and ÷).
bool IsLetter(unsigned char c) {
    return IsAsciiLetter(c) || (c >= 0xC0 && c != 0xD7 && c != 0xF7) || c == 0x8A || c == 0x8C || c == 0x8E ||
           c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}
bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsUpper(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}
bool IsLower(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 0xDF && c != 0xF7);
}
bool IsApostrophe(unsigned char c) {
    return c == '\'' || c == 0x92; // the typed one and the typographic one
}
bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == 0xA0;
}
// Punctuation that may stand around a word in prose ("(see", "done.", "\"quoted\"", "'this'").
bool IsOuterPunctuation(unsigned char c) {
    return c == '"' || c == '(' || c == ')' || c == '.' || c == ',' || c == ';' || c == ':' || c == '!' ||
           c == '?' || IsApostrophe(c) || c == 0x91 || c == 0x93 || c == 0x94 || c == '-' || c == 0x96 ||
           c == 0x97 || c == '*';
}
// What may stand inside a prose token besides letters: apostrophes, and hyphens and slashes that join
// words ("well-known", "and/or"). Digits are judged by the rules.
bool IsInnerAllowed(unsigned char c) {
    return IsLetter(c) || IsDigit(c) || IsApostrophe(c) || c == '-' || c == '/';
}

// Whether a word (letters, apostrophes, digits) is to be checked.
bool WantWord(std::string_view word, const SpellWordRules& rules) {
    bool letter = false, digit = false, lower = false, upper = false;
    for (std::size_t k = 0; k < word.size(); ++k) {
        const auto c = static_cast<unsigned char>(word[k]);
        letter |= IsLetter(c);
        digit |= IsDigit(c);
        upper |= IsUpper(c);
        lower |= IsLower(c);
        // A capital after a small letter marks an identifier ("vbCrLf", "MsgBox").
        if (k > 0 && IsUpper(c) && IsLower(static_cast<unsigned char>(word[k - 1])))
            return false;
    }
    if (!letter)
        return false; // a number
    // One letter repeated is a code of a date or number format ("yyyy-mm-dd"), not a word.
    if (word.size() > 1 && word.find_first_not_of(word[0]) == std::string_view::npos)
        return false;
    if (digit && rules.skipWithDigits)
        return false;
    if (upper && !lower && word.size() > 1 && rules.skipUpperCase)
        return false;
    return true;
}

void AddWords(std::string_view text, std::size_t begin, std::size_t end, const SpellWordRules& rules,
              std::vector<TextWord>& words) {
    // Surrounding punctuation is not part of the token.
    while (begin < end && IsOuterPunctuation(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && IsOuterPunctuation(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (begin == end)
        return;
    int slashes = 0;
    for (std::size_t k = begin; k < end; ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (!IsInnerAllowed(c))
            return; // code or data: "%s", "m_x", "a.b", "C:\x", "&Open", "#,##0"
        // One slash between two letters joins words ("and/or"); any other is a path ("/usr/lib").
        if (c == '/' && (++slashes > 1 || k == begin || k + 1 == end ||
                         !IsLetter(static_cast<unsigned char>(text[k - 1])) ||
                         !IsLetter(static_cast<unsigned char>(text[k + 1]))))
            return;
    }
    // A token that joins letters and digits ("x64", "2nd") is judged as a whole, not cut apart.
    std::size_t start = begin;
    for (std::size_t k = begin; k <= end; ++k) {
        if (k < end && text[k] != '-' && text[k] != '/')
            continue;
        std::size_t b = start, e = k;
        while (b < e && IsApostrophe(static_cast<unsigned char>(text[b])))
            ++b;
        while (e > b && IsApostrophe(static_cast<unsigned char>(text[e - 1])))
            --e;
        if (b < e && WantWord(text.substr(b, e - b), rules))
            words.push_back({b, e - b});
        start = k + 1;
    }
}

// The characters 0x80..0x9F of Windows-1252 that are letters or apostrophes, as Unicode.
char32_t Cp1252High(unsigned char c) {
    switch (c) {
    case 0x8A:
        return 0x160;
    case 0x8C:
        return 0x152;
    case 0x8E:
        return 0x17D;
    case 0x92:
        return 0x2019;
    case 0x9A:
        return 0x161;
    case 0x9C:
        return 0x153;
    case 0x9E:
        return 0x17E;
    case 0x9F:
        return 0x178;
    default:
        return c;
    }
}

} // namespace

std::vector<TextWord> SpellWords(std::string_view text, const SpellWordRules& rules) {
    std::vector<TextWord> words;
    std::size_t k = 0;
    while (k < text.size()) {
        while (k < text.size() && IsBlank(static_cast<unsigned char>(text[k])))
            ++k;
        const std::size_t begin = k;
        while (k < text.size() && !IsBlank(static_cast<unsigned char>(text[k])))
            ++k;
        if (begin < k)
            AddWords(text, begin, k, rules, words);
    }
    return words;
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char ch : text) {
        const char32_t c = Cp1252High(static_cast<unsigned char>(ch));
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string Utf8ToLatin1(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t k = 0; k < text.size();) {
        const auto c = static_cast<unsigned char>(text[k]);
        char32_t code = c;
        std::size_t length = 1;
        if (c >= 0xF0)
            length = 4, code = c & 0x07;
        else if (c >= 0xE0)
            length = 3, code = c & 0x0F;
        else if (c >= 0xC0)
            length = 2, code = c & 0x1F;
        for (std::size_t m = 1; m < length && k + m < text.size(); ++m)
            code = (code << 6) | (static_cast<unsigned char>(text[k + m]) & 0x3F);
        k += length;
        if (code < 0x100) {
            out += static_cast<char>(code);
            continue;
        }
        char mapped = '?';
        for (unsigned b = 0x80; b < 0xA0; ++b)
            if (Cp1252High(static_cast<unsigned char>(b)) == code)
                mapped = static_cast<char>(b);
        out += mapped;
    }
    return out;
}

} // namespace kemptor
