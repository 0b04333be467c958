// File status, names, directories and open files on POSIX systems.
#include "platform/Host.h"

#include <cerrno>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kemptor::host {

const char kSeparator = '/';

namespace {

FileStatus FromStat(const struct stat& st) {
    FileStatus status;
    status.kind = S_ISREG(st.st_mode)   ? FileKind::Regular
                  : S_ISDIR(st.st_mode) ? FileKind::Directory
                                        : FileKind::Other;
    status.size = static_cast<std::int64_t>(st.st_size);
    status.modified = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    // Seconds, nanoseconds and the inode mixed: a replaced directory or a change within one second
    // gives another stamp.
    status.stamp = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000007u +
                   static_cast<std::uint64_t>(st.st_mtim.tv_nsec) * 31u +
                   static_cast<std::uint64_t>(st.st_ino);
    status.permissions = static_cast<std::uint32_t>(st.st_mode & 07777);
    status.device = static_cast<std::uint64_t>(st.st_dev);
    status.inode = static_cast<std::uint64_t>(st.st_ino);
    return status;
}

} // namespace

FileStatus StatusOf(const std::string& hostPath) {
    struct stat st;
    if (::stat(hostPath.empty() ? "." : hostPath.c_str(), &st) != 0) {
        FileStatus missing;
        missing.denied = errno == EACCES;
        return missing;
    }
    return FromStat(st);
}

NameStatus LookAtName(const std::string& hostPath) {
    NameStatus seen;
    struct stat st;
    if (::lstat(hostPath.empty() ? "." : hostPath.c_str(), &st) != 0) {
        seen.looked = errno == ENOENT;
        return seen;
    }
    seen.looked = true;
    seen.link = S_ISLNK(st.st_mode);
    if (!seen.link)
        seen.status = FromStat(st);
    return seen;
}

bool NameExists(const std::string& hostPath) {
    struct stat st;
    return ::lstat(hostPath.c_str(), &st) == 0;
}

bool IsWritable(const std::string& hostPath) {
    struct stat st;
    if (::stat(hostPath.c_str(), &st) != 0)
        return false;
    return ::access(hostPath.c_str(), S_ISDIR(st.st_mode) ? (W_OK | X_OK) : W_OK) == 0;
}

std::string RealPath(const std::string& hostPath) {
    char* real = ::realpath(hostPath.c_str(), nullptr);
    if (!real)
        return {};
    std::string result = real;
    std::free(real);
    return result;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa;
    struct stat sb;
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool SameFile(const std::string&, const FileStatus& aStatus, const std::string&, const FileStatus& bStatus) {
    return aStatus.kind != FileKind::Missing && bStatus.kind != FileKind::Missing &&
           aStatus.device == bStatus.device && aStatus.inode == bStatus.inode;
}

std::string ComparisonKey(const std::string& hostPath) {
    std::error_code ec;
    std::filesystem::path key = std::filesystem::weakly_canonical(hostPath, ec);
    if (ec)
        key = std::filesystem::absolute(hostPath, ec).lexically_normal();
    return key.string();
}

std::string ComparisonKeys::Of(const std::string& hostPath, const NameStatus* seen) {
    const std::size_t slash = hostPath.rfind('/');
    const std::string_view name = slash == std::string::npos ? std::string_view(hostPath)
                                                             : std::string_view(hostPath).substr(slash + 1);
    if (name.empty() || name == "." || name == ".." ||
        (seen && seen->looked ? seen->link : LookAtName(hostPath).link))
        return ComparisonKey(hostPath);
    const std::string dir = slash == std::string::npos ? std::string(".") : hostPath.substr(0, slash + 1);
    auto known = directories_.find(dir);
    if (known == directories_.end())
        known = directories_.emplace(dir, ComparisonKey(dir)).first;
    const std::string& dirKey = known->second;
    std::string key = dirKey;
    if (key.empty() || key.back() != '/')
        key += '/';
    key += name;
    return key;
}

std::filesystem::path FsPath(const std::string& hostPath) {
    return std::filesystem::path(hostPath);
}

std::string FromFsPath(const std::filesystem::path& path) {
    return path.string();
}

bool MakeDirectory(const std::string& hostPath) {
    return ::mkdir(hostPath.c_str(), 0777) == 0 || errno == EEXIST;
}

bool RemoveFile(const std::string& hostPath) {
    return ::unlink(hostPath.c_str()) == 0;
}

std::vector<DirectoryEntry> ListDirectory(const std::string& hostDir) {
    std::vector<DirectoryEntry> entries;
    std::string dir = hostDir.empty() ? "./" : hostDir;
    if (dir.back() != '/')
        dir += '/';
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return entries;
    while (dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..")
            continue;
        // The entry's type as the directory gives it; a link (followed) or an unknown type is looked up.
        bool regular = e->d_type == DT_REG;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st;
            regular = ::stat((dir + e->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
        }
        entries.push_back({std::string(name), regular});
    }
    ::closedir(d);
    return entries;
}

std::optional<std::string> GetEnv(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

int OpenForReading(const std::string& hostPath, FileStatus* status) {
    // Not blocking: opening a FIFO would otherwise wait for a writer. The caller refuses what is not a
    // regular file by the status; reads from a regular file are not affected by the flag, which is
    // taken off anyway.
    const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return -1;
    }
    // The flags F_SETFL changes are the access-mode modifiers; of those only O_NONBLOCK was given.
    if (S_ISREG(st.st_mode))
        ::fcntl(fd, F_SETFL, 0);
    if (status)
        *status = FromStat(st);
    return fd;
}

std::ptrdiff_t ReadSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool Close(int fd) {
    return ::close(fd) == 0;
}

} // namespace kemptor::host
