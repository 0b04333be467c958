#include "platform/WinPath.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/Host.h"
#include "platform/SafeFile.h"
#include "platform/TextFile.h"

namespace kemptor {

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAbsolutePath(const std::string& path) {
    return path.find(':') != std::string::npos || (!path.empty() && IsPathSeparator(path[0]));
}

std::string ResolvedDisplayPath(const std::string& path) {
    const std::string hostPath = MapToHostPath(path);
    if (hostPath.empty())
        return hostPath;
    std::string shown = host::FromFsPath(host::FsPath(hostPath).lexically_normal());
    if (IsPathSeparator(path.back()) && !IsPathSeparator(shown.back()))
        shown += host::kSeparator;
    return shown;
}

std::string ExtractFileDir(const std::string& path) {
    size_t i = path.find_last_of("\\/:");
    return i == std::string::npos ? std::string() : path.substr(0, i + 1);
}

std::string ExtractFileName(const std::string& path) {
    size_t i = path.find_last_of("\\/:");
    return i == std::string::npos ? path : path.substr(i + 1);
}

std::string ExtractUpperExtension(const std::string& path) {
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos)
        return {};
    size_t sep = path.find_last_of("\\/:");
    if (sep != std::string::npos && sep > dot)
        return {};
    std::string ext = path.substr(dot);
    for (auto& c : ext)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

std::string ResolveHostDirectory(const std::string& path) {
    if (IsUnmappableWindowsPath(path))
        return {};
    std::error_code ec;
    const std::filesystem::path hostPath = std::filesystem::absolute(
        path.empty() ? std::filesystem::path(".") : host::FsPath(MapToHostPath(path)), ec);
    if (ec)
        return {};
    // The existing part is resolved by the file system (links included), the rest lexically.
    std::filesystem::path resolved = std::filesystem::weakly_canonical(hostPath, ec);
    if (ec)
        resolved = hostPath.lexically_normal();
    std::string text = host::FromFsPath(resolved);
    if (text.empty() || !IsPathSeparator(text.back()))
        text += host::kSeparator;
    return text;
}

bool IsFileSystemRoot(const std::string& hostDir) {
    const std::filesystem::path p = host::FsPath(hostDir);
    return p.has_root_directory() && p.relative_path().empty();
}

bool SameHostDirectory(const std::string& a, const std::string& b) {
    const std::string ra = ResolveHostDirectory(a);
    const std::string rb = ResolveHostDirectory(b);
    if (ra.empty() || rb.empty())
        return false;
    return host::ComparisonKey(ra) == host::ComparisonKey(rb) || host::SameFile(ra, rb);
}

bool FileExists(const std::string& path) {
    const host::FileKind kind = host::StatusOf(MapToHostPath(path)).kind;
    return kind != host::FileKind::Missing && kind != host::FileKind::Directory;
}

bool IsSamePath(const std::string& a, const std::string& b) {
    return host::SameFile(MapToHostPath(a), MapToHostPath(b));
}

bool DirectoryExists(const std::string& path) {
    // "" is the directory part of a bare file name: the current directory (StatusOf takes "" as ".").
    return host::StatusOf(path.empty() ? std::string() : MapToHostPath(path)).kind ==
           host::FileKind::Directory;
}

std::int64_t FileSizeOf(const std::string& path) {
    if (path.empty())
        return -1;
    const host::FileStatus status = host::StatusOf(MapToHostPath(path));
    return status.kind == host::FileKind::Missing ? -1 : status.size;
}

bool ForceDirectories(const std::string& path) {
    std::string hostPath = MapToHostPath(path);
    if (hostPath.empty())
        return false;
    while (hostPath.size() > 1 && IsPathSeparator(hostPath.back()))
        hostPath.pop_back();
    const host::FileKind kind = host::StatusOf(hostPath).kind;
    if (kind != host::FileKind::Missing)
        return kind == host::FileKind::Directory;
    // A drive ("C:") or a share ("\\server\share") has no parent to create.
    size_t slash = hostPath.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0 && hostPath[slash - 1] != ':' &&
        !ForceDirectories(hostPath.substr(0, slash)))
        return false;
    return host::MakeDirectory(hostPath) && host::StatusOf(hostPath).kind == host::FileKind::Directory;
}

std::vector<std::string> ListDirectoryFiles(const std::string& dir) {
    std::vector<std::string> files;
    for (auto& entry : host::ListDirectory(MapToHostPath(dir)))
        // A temporary of this program is never one of the directory's files.
        if (entry.regular && !IsTemporaryName(entry.name))
            files.push_back(std::move(entry.name));
    std::sort(files.begin(), files.end());
    return files;
}

bool CopyFilePlain(const std::string& from, const std::string& to) {
    return CopyHostFileAtomic(MapToHostPath(from), MapToHostPath(to), false);
}

bool CopyFileKeepStamp(const std::string& from, const std::string& to) {
    return CopyHostFileAtomic(MapToHostPath(from), MapToHostPath(to), true);
}

bool DeleteFileAt(const std::string& path) {
    const std::string hostPath = MapToHostPath(path);
    if (!host::RemoveFile(hostPath))
        return false;
    NoteFileRemoved(hostPath);
    return true;
}

} // namespace kemptor
