#pragma once
// The 8-bit text of Visual Basic files as it is shown and printed: bytes above 127 are Windows-1252.

#include <string>
#include <string_view>

namespace kemptor {

// Each byte as its Windows-1252 character (the five unassigned bytes keep their own code).
std::u16string Windows1252ToUtf16(std::string_view text);
// The reverse; characters Windows-1252 cannot hold become '?'.
std::string Utf16ToWindows1252(std::u16string_view text);

} // namespace kemptor
