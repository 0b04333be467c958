#pragma once
// Text as the protocol carries it and as the engine reads it. The protocol sends UTF-8 and counts
// positions in UTF-16 code units; the engine works on the 8-bit (Windows-1252) text that Visual Basic
// files hold on disk, so that a column counts one byte per character.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kemptor::lsp {

// The text in Windows-1252; nullopt when it holds a character that set lacks (or is not UTF-8).
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8);
// Each byte as its Windows-1252 character, in UTF-8.
std::string Windows1252ToUtf8(std::string_view text);

// UTF-16 code units of a UTF-8 text (a byte that starts no valid sequence counts as one unit).
std::size_t Utf16Length(std::string_view utf8);
// The byte offset in `utf8` that lies `units` UTF-16 code units from its start; the text's size when it
// is shorter. A position inside a character moves to the character's start.
std::size_t Utf8OffsetOfUtf16(std::string_view utf8, std::size_t units);

} // namespace kemptor::lsp
