// Windows paths on a POSIX host: "\\" becomes "/", a drive letter is dropped, and a name missing with
// its exact case is looked up case-insensitively, as a file system on Windows would find it.
#include "platform/WinPath.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <string_view>
#include <unordered_map>

#include <dirent.h>
#include <sys/stat.h>

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

} // namespace kemptor
