// Modification times and attributes on Windows.
#include "platform/Host.h"

#include <windows.h>

#include "platform/win/Utf16.h"

namespace kemptor::host {

bool CopyStampAndPermissions(const std::string& hostFrom, const std::string& hostTo) {
    WIN32_FILE_ATTRIBUTE_DATA source;
    if (!::GetFileAttributesExW(SystemPath(hostFrom).c_str(), GetFileExInfoStandard, &source))
        return false;
    const std::wstring target = SystemPath(hostTo);
    HANDLE handle = ::CreateFileW(target.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool timed = ::SetFileTime(handle, nullptr, &source.ftLastAccessTime, &source.ftLastWriteTime) != 0;
    ::CloseHandle(handle);
    // The attributes that describe the file come along; read-only does not: the copy stays writable.
    const DWORD kept = source.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    ::SetFileAttributesW(target.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL);
    return timed;
}

} // namespace kemptor::host
