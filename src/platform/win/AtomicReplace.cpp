// Replacing a file in one step on Windows. The new contents go to a temporary file beside the target,
// which then takes the target's place: ReplaceFileW when the target exists (it keeps the target's
// attributes, security and creation time, so permissions stay as they were), MoveFileExW otherwise;
// both write through to the disk before they return.
#include "platform/Host.h"
#include "platform/SafeFile.h"

#include <atomic>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/WinPath.h"
#include "platform/win/Utf16.h"

namespace kemptor::host {

namespace {

// A new, empty temporary file beside the target, as a C runtime descriptor; its name goes to `temp`.
int CreateTemporaryBeside(const std::wstring& target, std::wstring& temp) {
    static std::atomic<unsigned> counter{0};
    const size_t slash = target.find_last_of(L"\\/:");
    const std::wstring dir = slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = dir + Widen(kTemporaryPrefix) + std::to_wstring(::GetCurrentProcessId()) + L"." +
               std::to_wstring(counter++);
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

// Puts the finished temporary in the target's place; a read-only target's attribute stays on the result
// unless `ownerWritable`.
bool Commit(const std::wstring& temp, const std::wstring& target, bool ownerWritable) {
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
    if (readOnly && (!ok || !ownerWritable))
        ::SetFileAttributesW(target.c_str(), attributes);
    return ok;
}

} // namespace

// Permission bits have no place here; ReplaceFileW keeps the replaced file's attributes and security.
bool WriteReplacing(const std::string& hostTarget, const std::function<bool(int fd)>& write,
                    const ReplaceOptions& options) {
    if (hostTarget.empty() || hostTarget.back() == '\\' || hostTarget.back() == '/')
        return false;
    const std::wstring target = SystemPath(hostTarget);
    std::wstring temp;
    UniqueFd f{CreateTemporaryBeside(target, temp)};
    if (f.fd < 0)
        return false;
    bool ok = write(f.fd);
    ok = f.Close() && ok;
    if (ok && Commit(temp, target, options.ownerWritable))
        return true;
    ::DeleteFileW(temp.c_str());
    return false;
}

// Replaced files are let go of by the system's own replacement.
void ReleaseReplacedFiles() {}

} // namespace kemptor::host

namespace kemptor {

namespace {

// The number of names (hard links) of an existing file; 0 when it cannot be read.
DWORD LinkCount(const std::wstring& path) {
    HANDLE handle = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info;
    const DWORD links = ::GetFileInformationByHandle(handle, &info) ? info.nNumberOfLinks : 0;
    ::CloseHandle(handle);
    return links;
}

// Rewrites a file where it is, so that every name of it sees the new text. The room is reserved first
// (the new length is set before the bytes are written), so a full disk is found before any byte of
// the old text is overwritten.
bool RewriteInPlace(const std::wstring& path, std::string_view bytes) {
    HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const auto setLength = [handle](std::int64_t length) {
        LARGE_INTEGER at;
        at.QuadPart = length;
        return ::SetFilePointerEx(handle, at, nullptr, FILE_BEGIN) && ::SetEndOfFile(handle);
    };
    bool ok = setLength(static_cast<std::int64_t>(bytes.size()));
    LARGE_INTEGER start{};
    ok = ok && ::SetFilePointerEx(handle, start, nullptr, FILE_BEGIN);
    while (ok && !bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(bytes.size() > (1u << 30) ? (1u << 30) : bytes.size());
        DWORD written = 0;
        ok = ::WriteFile(handle, bytes.data(), chunk, &written, nullptr) && written > 0;
        bytes.remove_prefix(written);
    }
    ok = ok && ::FlushFileBuffers(handle);
    return ::CloseHandle(handle) && ok;
}

} // namespace

ReplaceOutcome ReplaceHostFileContents(const std::string& givenPath, std::string_view bytes, bool force) {
    const host::FileKind kind = host::StatusOf(givenPath).kind;
    if (kind == host::FileKind::Missing)
        return ReplaceOutcome::Failed;
    if (kind != host::FileKind::Regular) // a directory, or a device name such as "NUL"
        return ReplaceOutcome::NotRegular;
    const std::string hostPath = host::RealPath(givenPath);
    if (hostPath.empty())
        return ReplaceOutcome::Failed;
    const std::wstring wide = host::SystemPath(hostPath);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ReplaceOutcome::Failed;
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !force)
        return ReplaceOutcome::ReadOnly;

    // A file with other names is rewritten where it is; a replacement would part it from them. The
    // read-only attribute is lifted for the write and put back.
    if (LinkCount(wide) > 1) {
        if (readOnly && !::SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
            return ReplaceOutcome::Failed;
        const bool ok = RewriteInPlace(wide, bytes);
        if (readOnly)
            ::SetFileAttributesW(wide.c_str(), attributes);
        return ok ? ReplaceOutcome::Replaced : ReplaceOutcome::Failed;
    }
    // ReplaceFileW keeps the file's attributes, security and creation time.
    return host::WriteReplacing(hostPath, [bytes](int fd) { return host::WriteAll(fd, bytes); })
               ? ReplaceOutcome::Replaced
               : ReplaceOutcome::Failed;
}

} // namespace kemptor
