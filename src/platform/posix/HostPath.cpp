// Windows paths on a POSIX host: "\\" becomes "/", a drive letter is dropped, and a name missing with
// its exact case is looked up case-insensitively, as a file system on Windows would find it. UNC and
// drive-relative paths have no place here.
#include "platform/WinPath.h"

#include "platform/Host.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

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
            if (cache_.size() >= kMaxDirectories) {
                cache_.clear();
                listedAs_.clear();
            }
            it = cache_.insert_or_assign(key, Listing{st.st_mtim, ReadNames(dir)}).first;
        }
        listedAs_.insert(dir);
        auto found = it->second.byLowerName.find(Lower(name));
        return found == it->second.byLowerName.end() ? std::string() : found->second;
    }

    // This program has just created or removed `name` in `dir`: a listing held for it takes the change
    // and the directory's new time. A change another process made at the same moment is missed until
    // the directory changes again; that only costs a case-insensitive match.
    // A directory never looked up under this text has no listing to keep current here; should it have
    // one under another text, its new time has that listing read again at its next use.
    void Changed(const std::string& dir, const std::string& name, bool created) {
        {
            std::lock_guard lock(mutex_);
            if (!listedAs_.count(dir))
                return;
        }
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
    std::unordered_set<std::string> listedAs_; // the directory texts whose listings were asked for
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

// True when no component of a path is empty, "." or "..": the path is then its own mapping, as the
// walk over its components below would write it.
bool PlainComponents(std::string_view path) {
    if (!path.empty() && path.front() == '/')
        path.remove_prefix(1);
    if (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    for (size_t start = 0;;) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (end == path.size())
            return true;
        start = end + 1;
    }
}

// The mapping of a name that is missing as written: each component missing with its exact case is
// looked up case-insensitively.
std::string MapMissingName(const std::string& text) {
    // A name missing in a directory that exists as written (a new file): only that name is looked up.
    const size_t lastSlash = text.rfind('/');
    if (lastSlash == std::string::npos) {
        if (text == "." || text == "..")
            return text;
        const std::string match = Directories().Find("", text);
        return match.empty() ? text : match;
    }
    if (lastSlash > 0 && lastSlash + 1 < text.size()) {
        const std::string dir = text.substr(0, lastSlash + 1);
        const std::string name = text.substr(lastSlash + 1);
        if (name != "." && name != ".." && PlainComponents(dir) && Exists(dir.substr(0, lastSlash))) {
            const std::string match = Directories().Find(dir, name);
            return match.empty() ? text : dir + match;
        }
    }

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

} // namespace

std::string MapToHostPath(const std::string& path) {
    return MapToHostPath(path, nullptr);
}

std::string MapToHostPath(const std::string& path, host::NameStatus* seen) {
    std::string text = StripDrive(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    if (text.empty())
        return text;
    const host::NameStatus look = host::LookAtName(text);
    if (look.Exists()) {
        if (seen)
            *seen = look;
        return text; // the usual case: the name is right as written
    }
    std::string result = MapMissingName(text);
    // Mapped to itself: the name is missing, as the look found.
    if (seen && result == text)
        *seen = look;
    return result;
}

bool IsUnmappableWindowsPath(const std::string& path) {
    if (path.size() >= 2 && IsPathSeparator(path[0]) && IsPathSeparator(path[1]))
        return true;
    // A drive letter, with or without a directory after it: this system has no drives ("C:\" would
    // become the root of the file system).
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
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

void NoteFileCreated(const std::string& hostPath) {
    NoteFileChanged(hostPath, true);
}

void NoteFileRemoved(const std::string& hostPath) {
    NoteFileChanged(hostPath, false);
}

} // namespace kemptor
