#include "platform/WinPath.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/TextFile.h"

namespace kemptor {

namespace {

bool Exists(const std::string& hostPath) {
    struct stat st;
    return ::lstat(hostPath.c_str(), &st) == 0;
}

// Directory listings used by the case-insensitive lookup. A project names each file several times
// (text test, size, line count, later loads), and a directory of a large project holds thousands of
// names, so each listing is kept as a map from the lower-case name to the first name in name order,
// for as long as the directory's modification time stays the same.
class DirectoryCache {
public:
    // The entry of `dir` whose name equals `name` but for letter case; "" when there is none.
    std::string Find(const std::string& dir, const std::string& name) {
        struct stat st;
        if (::stat(dir.empty() ? "." : dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return {};
        std::lock_guard lock(mutex_);
        auto it = cache_.find(dir);
        if (it == cache_.end() || it->second.mtime != st.st_mtim.tv_sec ||
            it->second.mtimeNs != st.st_mtim.tv_nsec || it->second.inode != st.st_ino) {
            if (cache_.size() >= kMaxDirectories)
                cache_.clear();
            it = cache_
                     .insert_or_assign(
                         dir, Listing{st.st_mtim.tv_sec, st.st_mtim.tv_nsec, st.st_ino, ReadNames(dir)})
                     .first;
        }
        auto found = it->second.byLowerName.find(Lower(name));
        return found == it->second.byLowerName.end() ? std::string() : found->second;
    }

private:
    static constexpr size_t kMaxDirectories = 64;

    struct Listing {
        time_t mtime;
        long mtimeNs;
        ino_t inode;
        std::unordered_map<std::string, std::string> byLowerName;
    };

    static std::string Lower(std::string s) {
        for (auto& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    }

    static std::unordered_map<std::string, std::string> ReadNames(const std::string& dir) {
        std::vector<std::string> names;
        if (DIR* d = ::opendir(dir.empty() ? "." : dir.c_str())) {
            while (dirent* e = ::readdir(d)) {
                std::string_view name = e->d_name;
                if (name != "." && name != "..")
                    names.emplace_back(name);
            }
            ::closedir(d);
        }
        std::sort(names.begin(), names.end());
        std::unordered_map<std::string, std::string> byLowerName;
        for (auto& name : names)
            byLowerName.emplace(Lower(name), name); // the first in name order stays
        return byLowerName;
    }

    std::mutex mutex_;
    std::map<std::string, Listing> cache_;
};

DirectoryCache& Directories() {
    static DirectoryCache cache;
    return cache;
}

// A drive-letter prefix ("C:") has no meaning on the host; the rest of such a path is taken from the root.
std::string StripDrive(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
        return path.substr(2).empty() ? "/" : path.substr(2);
    return path;
}

} // namespace

bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAbsolutePath(const std::string& path) {
    return path.find(':') != std::string::npos || (!path.empty() && IsPathSeparator(path[0]));
}

std::string MapToHostPath(const std::string& path) {
    std::string text = StripDrive(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    if (text.empty() || Exists(text))
        return text; // the usual case: the name is right as written

    const bool absolute = text[0] == '/';
    std::string result = absolute ? "/" : "";
    bool missing = false; // once a component is not found, the rest cannot be found either
    size_t pos = absolute ? 1 : 0;
    while (pos <= text.size()) {
        size_t end = text.find('/', pos);
        if (end == std::string::npos)
            end = text.size();
        std::string part = text.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty())
            continue;
        std::string candidate = result + part;
        if (!missing && part != "." && part != ".." && !Exists(candidate)) {
            std::string match = Directories().Find(result, part);
            if (match.empty())
                missing = true;
            else
                candidate = result + match;
        }
        result = std::move(candidate);
        if (pos <= text.size())
            result += '/';
    }
    return result;
}

std::string ResolvedDisplayPath(const std::string& path) {
    const std::string host = MapToHostPath(path);
    if (host.empty())
        return host;
    std::string shown = std::filesystem::path(host).lexically_normal().string();
    if (IsPathSeparator(path.back()) && shown.back() != '/')
        shown += '/';
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

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(MapToHostPath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool IsSamePath(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(MapToHostPath(a), MapToHostPath(b), ec) && !ec;
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    return ::stat(MapToHostPath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::int64_t FileSizeOf(const std::string& path) {
    struct stat st;
    if (path.empty() || ::stat(MapToHostPath(path).c_str(), &st) != 0)
        return -1;
    return static_cast<std::int64_t>(st.st_size);
}

bool ForceDirectories(const std::string& path) {
    std::string host = MapToHostPath(path);
    if (host.empty())
        return false;
    while (host.size() > 1 && host.back() == '/')
        host.pop_back();
    struct stat st;
    if (::stat(host.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode);
    size_t slash = host.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !ForceDirectories(host.substr(0, slash)))
        return false;
    if (::mkdir(host.c_str(), 0777) != 0 && errno != EEXIST)
        return false;
    return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> ListDirectoryFiles(const std::string& dir) {
    std::string host = MapToHostPath(dir);
    if (!host.empty() && host.back() != '/')
        host += '/';
    std::vector<std::string> files;
    DIR* d = ::opendir(host.empty() ? "." : host.c_str());
    if (!d)
        return files;
    while (dirent* e = ::readdir(d)) {
        struct stat st;
        if (::stat((host + e->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode))
            files.emplace_back(e->d_name);
    }
    ::closedir(d);
    std::sort(files.begin(), files.end());
    return files;
}

bool CopyFilePlain(const std::string& from, const std::string& to) {
    auto bytes = ReadFileBytes(from);
    return bytes && WriteFileAtomic(to, *bytes);
}

bool CopyFileKeepStamp(const std::string& from, const std::string& to) {
    struct stat st;
    if (::stat(MapToHostPath(from).c_str(), &st) != 0)
        return false;
    auto bytes = ReadFileBytes(from);
    if (!bytes || !WriteFileAtomic(to, *bytes))
        return false;
    const std::string target = MapToHostPath(to);
    ::chmod(target.c_str(), (st.st_mode & 07777) | S_IWUSR);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    return ::utimensat(AT_FDCWD, target.c_str(), times, 0) == 0;
}

bool DeleteFileAt(const std::string& path) {
    return ::unlink(MapToHostPath(path).c_str()) == 0;
}

} // namespace kemptor
