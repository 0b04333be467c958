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

#include <filesystem>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/SafeFile.h"

namespace kemptor {

namespace fs = std::filesystem;

namespace {

bool Exists(const std::string& hostPath) {
    struct stat st;
    return ::lstat(hostPath.c_str(), &st) == 0;
}

// Directory listings used by the case-insensitive lookup. A project names each file several times
// (text test, size, line count, later loads), and a directory of a large project holds thousands of
// names, so each listing is kept as a map from the lower-case name to the first name in name order,
// for as long as the directory's modification time stays the same. The files this program creates or
// removes are entered into the listing as they come and go, so a run that writes thousands of files
// into one directory never reads it again.
class DirectoryCache {
public:
    // The entry of `dir` whose name equals `name` but for letter case; "" when there is none.
    std::string Find(const std::string& dir, const std::string& name) {
        struct stat st;
        if (::stat(dir.empty() ? "." : dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return {};
        std::lock_guard lock(mutex_);
        const Key key{st.st_dev, st.st_ino};
        auto it = cache_.find(key);
        if (it == cache_.end() || !SameTime(it->second, st)) {
            if (cache_.size() >= kMaxDirectories)
                cache_.clear();
            it = cache_.insert_or_assign(key, Listing{st.st_mtim, ReadNames(dir)}).first;
        }
        auto found = it->second.byLowerName.find(Lower(name));
        return found == it->second.byLowerName.end() ? std::string() : found->second;
    }

    // This program has just created or removed `name` in `dir`: a listing held for it takes the change
    // and the directory's new time. A change another process made at the same moment is missed until
    // the directory changes again; that only costs a case-insensitive match.
    void Changed(const std::string& dir, const std::string& name, bool created) {
        struct stat st;
        if (::stat(dir.empty() ? "." : dir.c_str(), &st) != 0)
            return;
        std::lock_guard lock(mutex_);
        auto it = cache_.find(Key{st.st_dev, st.st_ino});
        if (it == cache_.end())
            return;
        auto& names = it->second.byLowerName;
        const std::string lower = Lower(name);
        auto at = names.find(lower);
        if (created && at == names.end()) {
            names.emplace(lower, name);
        } else if (created && name < at->second) {
            at->second = name; // the first in name order stands for the names of the same letters
        } else if (!created && at != names.end() && at->second == name) {
            // Another name of the same letters may stand in now: read the directory at its next use.
            cache_.erase(it);
            return;
        }
        it->second.mtime = st.st_mtim;
    }

private:
    static constexpr size_t kMaxDirectories = 64;

    using Key = std::pair<dev_t, ino_t>;
    struct Listing {
        timespec mtime;
        std::unordered_map<std::string, std::string> byLowerName;
    };

    static bool SameTime(const Listing& listing, const struct stat& st) {
        return listing.mtime.tv_sec == st.st_mtim.tv_sec && listing.mtime.tv_nsec == st.st_mtim.tv_nsec;
    }

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
    std::map<Key, Listing> cache_;
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

bool IsUnmappableWindowsPath(const std::string& path) {
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]))
        return true;
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])) &&
           (path.size() == 2 || !IsPathSeparator(path[2]));
}

std::string ResolveHostDirectory(const std::string& path) {
    if (IsUnmappableWindowsPath(path))
        return {};
    std::error_code ec;
    const fs::path host = fs::absolute(path.empty() ? fs::path(".") : fs::path(MapToHostPath(path)), ec);
    if (ec)
        return {};
    // The existing part is resolved by the file system (links included), the rest lexically.
    fs::path resolved = fs::weakly_canonical(host, ec);
    if (ec)
        resolved = host.lexically_normal();
    std::string text = resolved.string();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}

bool SameHostDirectory(const std::string& a, const std::string& b) {
    const std::string ra = ResolveHostDirectory(a);
    const std::string rb = ResolveHostDirectory(b);
    if (ra.empty() || rb.empty())
        return false;
    std::error_code ec;
    return ra == rb || fs::equivalent(ra, rb, ec);
}

namespace {

void NoteFileChanged(const std::string& hostPath, bool created) {
    const size_t slash = hostPath.rfind('/');
    if (slash == std::string::npos)
        Directories().Changed("", hostPath, created);
    else
        Directories().Changed(hostPath.substr(0, slash + 1), hostPath.substr(slash + 1), created);
}

} // namespace

void NoteFileCreated(const std::string& hostPath) { NoteFileChanged(hostPath, true); }

void NoteFileRemoved(const std::string& hostPath) { NoteFileChanged(hostPath, false); }

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(MapToHostPath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool IsSamePath(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(MapToHostPath(a), MapToHostPath(b), ec) && !ec;
}

bool DirectoryExists(const std::string& path) {
    // "" is the directory part of a bare file name: the current directory.
    const std::string host = path.empty() ? "." : MapToHostPath(path);
    struct stat st;
    return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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
        // A temporary of this program is never one of the directory's files.
        if (!IsTemporaryName(e->d_name) && ::stat((host + e->d_name).c_str(), &st) == 0 &&
            S_ISREG(st.st_mode))
            files.emplace_back(e->d_name);
    }
    ::closedir(d);
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
    const std::string host = MapToHostPath(path);
    if (::unlink(host.c_str()) != 0)
        return false;
    NoteFileRemoved(host);
    return true;
}

} // namespace kemptor
