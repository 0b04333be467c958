#pragma once
// Text at the Windows system boundary. The program keeps names as 8-bit text; Windows takes UTF-16.
// A name that is valid UTF-8 (everything typed on a command line, every name the system handed out)
// is read as UTF-8; any other byte string (a name written into an old project file) is read in the
// system's ANSI code page, as the programs that wrote the file meant it.

#include <string>
#include <string_view>

namespace kemptor::host {

std::wstring Widen(std::string_view text);
// A host path as the file system functions take it. A path too long for the classic limit of 260
// characters is made absolute and given the "\\?\" prefix ("\\?\UNC\" for a share), which lifts the
// limit; shorter paths pass as they are.
std::wstring SystemPath(const std::string& hostPath);
// UTF-8 for text that goes back into names and messages.
std::string Narrow(std::wstring_view text);
// The ANSI code page, for text that goes into the contents of a source file.
std::string NarrowAnsi(std::wstring_view text);

} // namespace kemptor::host
