#pragma once
// Word splitting for spell checking: the words of a comment or string literal that are prose, with
// the tokens that are code left out. Texts are the 8-bit (Windows-1252) text of a source line.
//
// A text is cut at blanks into tokens. A token is left out whole when it looks like code or data:
// an identifier with an underscore or an inner capital ("m_Count", "vbCrLf", "MsgBox"), a number, a
// format string, format code or placeholder ("%s", "#,##0.00", "yyyy-mm-dd", "{0}"), an escape-like sequence
// ("\n"), a path, address or dotted name ("C:\Temp", "www.x.org", "rs.Fields"), a menu caption with an
// accelerator
// ("&Open") or anything else that holds a character prose does not use inside a word. The rest is
// stripped of surrounding punctuation and split at hyphens and slashes into words.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

struct SpellWordRules {
    bool skipUpperCase = true;  // words in capitals only (HWND, TODO)
    bool skipWithDigits = true; // words holding a digit (Win32, x64)
};

struct TextWord {
    std::size_t offset = 0;
    std::size_t length = 0;
};

// The words of `text` to check, in order.
std::vector<TextWord> SpellWords(std::string_view text, const SpellWordRules& rules);

// An 8-bit (Windows-1252) word as UTF-8 and back; a character the 8-bit set lacks becomes '?'.
std::string Latin1ToUtf8(std::string_view text);
std::string Utf8ToLatin1(std::string_view text);

} // namespace kemptor
