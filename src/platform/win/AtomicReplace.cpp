// Replacing a file in one step on Windows. The new contents go to a temporary file beside the target,
// which then takes the target's place: ReplaceFileW when the target exists (it keeps the target's
// attributes, security and creation time, so permissions stay as they were), MoveFileExW otherwise;
// both write through to the disk before they return.
#include "platform/Host.h"

#include <atomic>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/win/Utf16.h"

namespace kemptor::host {

namespace {

// A new, empty temporary file beside the target, as a C runtime descriptor; its name goes to `temp`.
int CreateTemporaryBeside(const std::wstring& target, std::wstring& temp) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = target.find_last_of(L"\\/:");
    const std::wstring dir = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
    const std::wstring name = target.substr(dir.size());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = dir + L"." + name + L"." + std::to_wstring(::GetCurrentProcessId()) + L"." +
               std::to_wstring(counter++) + L".tmp";
        HANDLE handle = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            if (::GetLastError() == ERROR_FILE_EXISTS || ::GetLastError() == ERROR_ALREADY_EXISTS)
                continue;
            return -1;
        }
        const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
        if (fd < 0) {
            ::CloseHandle(handle);
            ::DeleteFileW(temp.c_str());
        }
        return fd;
    }
    return -1;
}

// Puts the finished temporary in the target's place.
bool Commit(const std::wstring& temp, const std::wstring& target) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    // A read-only file may be replaced, as a rename over it may on other systems, and stays read-only.
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !::SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
        return false;
    bool ok = ::ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                             REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS |
                                 REPLACEFILE_IGNORE_ACL_ERRORS,
                             nullptr, nullptr) != 0;
    if (!ok) // some file systems cannot replace; a plain move still replaces in one step
        ok = ::MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (readOnly)
        ::SetFileAttributesW(target.c_str(), attributes);
    return ok;
}

} // namespace

bool WriteReplacing(const std::string& hostTarget, const std::function<bool(int fd)>& write) {
    if (hostTarget.empty() || hostTarget.back() == '\\' || hostTarget.back() == '/')
        return false;
    const std::wstring target = Widen(hostTarget);
    std::wstring temp;
    UniqueFd f{CreateTemporaryBeside(target, temp)};
    if (f.fd < 0)
        return false;
    bool ok = write(f.fd);
    ok = f.Close() && ok;
    if (ok && Commit(temp, target))
        return true;
    ::DeleteFileW(temp.c_str());
    return false;
}

} // namespace kemptor::host
