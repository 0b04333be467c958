// Paths on Windows are already host paths: drive letters, "\" and UNC names are the system's own, and
// the file system finds a name in any letter case by itself. An existing path is given the letter case
// of the names on disk, so that copies and messages name files as the disk does, as on other systems.
#include "platform/WinPath.h"

#include <windows.h>

#include "platform/win/Utf16.h"

namespace kemptor {

std::string MapToHostPath(const std::string& path) {
    if (path.empty())
        return path;
    const std::wstring wide = host::Widen(path);
    wchar_t buffer[MAX_PATH];
    DWORD length = ::GetLongPathNameW(wide.c_str(), buffer, MAX_PATH);
    if (length == 0)
        return path; // missing: the name as written
    if (length < MAX_PATH)
        return host::Narrow(std::wstring_view(buffer, length));
    std::wstring longer(length, L'\0');
    length = ::GetLongPathNameW(wide.c_str(), longer.data(), length);
    if (length == 0 || length >= longer.size())
        return path;
    longer.resize(length);
    return host::Narrow(longer);
}

} // namespace kemptor
