// File status, names, directories and open files on Windows. Names go to the system as UTF-16;
// descriptors are the C runtime's, opened in binary mode so bytes pass untranslated.
#include "platform/Host.h"

#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include "platform/win/Utf16.h"

namespace kemptor::host {

const char kSeparator = '\\';

namespace {

std::wstring WideOrDot(const std::string& hostPath) {
    return hostPath.empty() ? std::wstring(L".") : SystemPath(hostPath);
}

// Seconds since 1970 of a file time (100 ns steps since 1601).
std::int64_t UnixSeconds(const FILETIME& time) {
    const std::uint64_t ticks = (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / 10000000u) - 11644473600LL;
}

std::uint64_t StampOf(const FILETIME& written, std::uint64_t extra) {
    const std::uint64_t time =
        (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return time * 1000000007u + extra;
}

// True for a name the system gives to a device in every directory ("NUL", "CON", "COM1", "dir\AUX.bas")
// or a path into the device namespace ("\\.\PIPE\x"): the full path of such a name is "\\.\<device>".
bool IsDevicePath(const std::wstring& path) {
    // A device's full path is short; a longer one is no device (and needs no room here).
    wchar_t full[MAX_PATH];
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length >= 4 && length < MAX_PATH && std::wstring_view(full, 4) == L"\\\\.\\";
}

} // namespace

FileStatus StatusOf(const std::string& hostPath) {
    const std::wstring wide = WideOrDot(hostPath);
    WIN32_FILE_ATTRIBUTE_DATA data;
    const bool found = ::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data) != 0;
    const DWORD error = found ? 0 : ::GetLastError();
    FileStatus status;
    if (!found || !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (IsDevicePath(wide)) {
            status.kind = FileKind::Other;
            return status;
        }
    }
    if (!found) {
        status.denied = error == ERROR_ACCESS_DENIED;
        return status;
    }
    status.kind = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Directory
                  : (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE)  ? FileKind::Other
                                                                     : FileKind::Regular;
    status.size =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    status.stamp = StampOf(data.ftLastWriteTime, static_cast<std::uint64_t>(status.size));
    status.modified = UnixSeconds(data.ftLastWriteTime);
    return status;
}

// The paths are the system's own and MapToHostPath looks at no name: nothing is told here.
NameStatus LookAtName(const std::string&) {
    return {};
}

bool NameExists(const std::string& hostPath) {
    return ::GetFileAttributesW(SystemPath(hostPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsWritable(const std::string& hostPath) {
    const DWORD attributes = ::GetFileAttributesW(WideOrDot(hostPath).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    // On a directory the read-only attribute does not stop files being created; on a file it does.
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) || !(attributes & FILE_ATTRIBUTE_READONLY);
}

std::string RealPath(const std::string& hostPath) {
    if (::GetFileAttributesW(SystemPath(hostPath).c_str()) == INVALID_FILE_ATTRIBUTES)
        return {};
    const std::wstring wide = Widen(hostPath);
    const DWORD length = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return {};
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    full.resize(written);
    return Narrow(full);
}

namespace {

// The volume and file index of an existing file or directory.
bool FileIdOf(const std::string& hostPath, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE handle =
        ::CreateFileW(SystemPath(hostPath).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    return ok;
}

} // namespace

bool SameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION ia;
    BY_HANDLE_FILE_INFORMATION ib;
    return FileIdOf(a, ia) && FileIdOf(b, ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

// StatusOf reads no identity here: the files are opened to compare theirs.
bool SameFile(const std::string& a, const FileStatus&, const std::string& b, const FileStatus&) {
    return SameFile(a, b);
}

std::string ComparisonKey(const std::string& hostPath) {
    std::error_code ec;
    const std::filesystem::path path = FsPath(hostPath);
    std::filesystem::path key = std::filesystem::weakly_canonical(path, ec);
    if (ec)
        key = std::filesystem::absolute(path, ec).lexically_normal();
    std::wstring text = key.make_preferred().native();
    if (!text.empty())
        ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return Narrow(text);
}

std::string ComparisonKeys::Of(const std::string& hostPath, const NameStatus*) {
    return ComparisonKey(hostPath); // letter case and reparse points: resolved whole each time
}

std::filesystem::path FsPath(const std::string& hostPath) {
    return std::filesystem::path(Widen(hostPath));
}

std::string FromFsPath(const std::filesystem::path& path) {
    return Narrow(path.native());
}

bool MakeDirectory(const std::string& hostPath) {
    return ::CreateDirectoryW(SystemPath(hostPath).c_str(), nullptr) ||
           ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool RemoveFile(const std::string& hostPath) {
    return ::DeleteFileW(SystemPath(hostPath).c_str()) != 0;
}

std::vector<DirectoryEntry> ListDirectory(const std::string& hostDir) {
    std::vector<DirectoryEntry> entries;
    std::wstring pattern = WideOrDot(hostDir);
    if (pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const bool regular = !(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
        entries.push_back({Narrow(name), regular});
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return entries;
}

std::optional<std::string> GetEnv(const char* name) {
    const wchar_t* value = ::_wgetenv(Widen(name).c_str());
    if (!value || !*value)
        return std::nullopt;
    return Narrow(value);
}

int OpenForReading(const std::string& hostPath, FileStatus* status) {
    const int fd = ::_wopen(SystemPath(hostPath).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd >= 0 && status) {
        struct _stat64 st;
        if (::_fstat64(fd, &st) != 0) {
            ::_close(fd);
            return -1;
        }
        status->kind = (st.st_mode & _S_IFMT) == _S_IFREG   ? FileKind::Regular
                       : (st.st_mode & _S_IFMT) == _S_IFDIR ? FileKind::Directory
                                                            : FileKind::Other;
        status->size = static_cast<std::int64_t>(st.st_size);
        status->stamp = static_cast<std::uint64_t>(st.st_mtime);
        status->modified = static_cast<std::int64_t>(st.st_mtime);
    }
    return fd;
}

std::ptrdiff_t ReadSome(int fd, char* buffer, std::size_t size) {
    return ::_read(fd, buffer, static_cast<unsigned>(size > INT_MAX ? INT_MAX : size));
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const unsigned chunk = static_cast<unsigned>(bytes.size() > (1u << 30) ? (1u << 30) : bytes.size());
        const int n = ::_write(fd, bytes.data(), chunk);
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool Close(int fd) {
    return ::_close(fd) == 0;
}

} // namespace kemptor::host
