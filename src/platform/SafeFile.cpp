#include "platform/SafeFile.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <limits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/WinPath.h"

namespace kemptor {

namespace {

constexpr std::string_view kTemporaryPrefix = ".~kemptor.";

// Closes a descriptor on every path out of a function.
struct UniqueFd {
    int fd = -1;
    ~UniqueFd() {
        if (fd >= 0)
            ::close(fd);
    }
    // Closes now; false when the close reports an error (a delayed write failure).
    bool Close() {
        const int old = fd;
        fd = -1;
        return old < 0 || ::close(old) == 0;
    }
};

mode_t NewFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

// The directory of a host path with its trailing '/', "" for a bare name. Only '/' separates here: a
// host name may hold '\' or ':'.
std::string HostDir(const std::string& hostPath) {
    const size_t slash = hostPath.rfind('/');
    return slash == std::string::npos ? std::string() : hostPath.substr(0, slash + 1);
}

// A new temporary file beside `hostTarget`; its name goes to `temp`. The name is short whatever the
// target's length, and tells which process made it.
int CreateTemporaryBeside(const std::string& hostTarget, std::string& temp) {
    temp = HostDir(hostTarget);
    temp += kTemporaryPrefix;
    temp += std::to_string(::getpid());
    temp += ".XXXXXX";
    return ::mkostemp(temp.data(), O_CLOEXEC);
}

// Gives the temporary its final name; on failure the temporary goes.
bool Commit(UniqueFd& temp, const std::string& tempPath, const std::string& hostTarget, bool ok) {
    ok = temp.Close() && ok;
    if (ok && ::rename(tempPath.c_str(), hostTarget.c_str()) == 0) {
        NoteFileCreated(hostTarget);
        return true;
    }
    ::unlink(tempPath.c_str());
    return false;
}

bool CopyContents(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!WriteAll(to, std::string_view(buffer, static_cast<size_t>(n))))
            return false;
    }
}

// Rewrites an open regular file from its first byte and cuts it to the new length. The room is reserved
// first, so a full disk is found before any byte of the old text is overwritten.
bool RewriteInPlace(int fd, std::string_view bytes) {
    if (!bytes.empty()) {
        const int reserved = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
            return false;
    }
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

bool ReplaceInPlace(const std::string& hostPath, const struct stat& expected, std::string_view bytes) {
    UniqueFd f{::open(hostPath.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    struct stat st;
    if (f.fd < 0 || ::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_ino != expected.st_ino ||
        st.st_dev != expected.st_dev)
        return false;
    return RewriteInPlace(f.fd, bytes) && f.Close();
}

} // namespace

int OpenRegularFileHost(const std::string& hostPath, std::int64_t maxBytes, std::int64_t* size) {
    struct stat st;
    // Looked at before opening: opening a FIFO waits for a writer, opening a device may do anything.
    if (hostPath.empty() || ::stat(hostPath.c_str(), &st) != 0)
        return -1;
    if (!S_ISREG(st.st_mode) || st.st_size > maxBytes) {
        errno = S_ISREG(st.st_mode) ? EFBIG : EINVAL;
        return -1;
    }
    int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    // The name may have been replaced between the look and the open: what was opened is what counts.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxBytes) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (size)
        *size = static_cast<std::int64_t>(st.st_size);
    return fd;
}

FileProblem CheckTextFile(const std::string& path, std::int64_t maxBytes) {
    const std::string host = MapToHostPath(path);
    struct stat st;
    if (host.empty())
        return FileProblem::Missing;
    if (::stat(host.c_str(), &st) != 0)
        return errno == EACCES ? FileProblem::Unreadable : FileProblem::Missing;
    if (!S_ISREG(st.st_mode))
        return FileProblem::NotRegular;
    if (st.st_size > maxBytes)
        return FileProblem::TooLarge;
    return ::access(host.c_str(), R_OK) == 0 ? FileProblem::None : FileProblem::Unreadable;
}

std::string FileProblemText(const std::string& path, FileProblem problem) {
    switch (problem) {
    case FileProblem::None:
        return {};
    case FileProblem::Missing:
        return path + " does not exist.";
    case FileProblem::NotRegular:
        return path + " is not a regular file.";
    case FileProblem::TooLarge:
        return path + " is larger than " + std::to_string(kMaxTextFileBytes >> 20) + " MB.";
    case FileProblem::Unreadable:
        return "Unable to read " + path + ".";
    }
    return {};
}

bool WriteHostFileAtomicWith(const std::string& hostPath, const std::function<bool(int)>& write) {
    if (hostPath.empty() || hostPath.back() == '/')
        return false;
    std::string temp;
    UniqueFd f{CreateTemporaryBeside(hostPath, temp)};
    if (f.fd < 0)
        return false;
    struct stat st;
    const mode_t mode = ::stat(hostPath.c_str(), &st) == 0 ? (st.st_mode & 07777) : NewFileMode();
    return Commit(f, temp, hostPath, ::fchmod(f.fd, mode) == 0 && write(f.fd));
}

bool WriteHostFileAtomic(const std::string& hostPath, std::string_view bytes) {
    return WriteHostFileAtomicWith(hostPath, [bytes](int fd) { return WriteAll(fd, bytes); });
}

bool CopyHostFileAtomic(const std::string& hostFrom, const std::string& hostTo, bool keepStamp) {
    if (hostTo.empty() || hostTo.back() == '/')
        return false;
    UniqueFd in{OpenRegularFileHost(hostFrom, std::numeric_limits<std::int64_t>::max())};
    struct stat source;
    if (in.fd < 0 || ::fstat(in.fd, &source) != 0)
        return false;
    std::string temp;
    UniqueFd out{CreateTemporaryBeside(hostTo, temp)};
    if (out.fd < 0)
        return false;
    struct stat existing;
    mode_t mode = keepStamp                                ? (source.st_mode & 07777)
                  : ::stat(hostTo.c_str(), &existing) == 0 ? (existing.st_mode & 07777)
                                                           : NewFileMode();
    bool ok = CopyContents(in.fd, out.fd) && ::fchmod(out.fd, mode | S_IWUSR) == 0;
    if (ok && keepStamp) {
        const timespec times[2] = {source.st_atim, source.st_mtim};
        ok = ::futimens(out.fd, times) == 0;
    }
    return Commit(out, temp, hostTo, ok);
}

ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes, bool force) {
    // A link is followed: the file it names is the one to format, and the link stays a link.
    char* resolved = ::realpath(MapToHostPath(path).c_str(), nullptr);
    if (!resolved)
        return ReplaceOutcome::Failed;
    const std::string host = resolved;
    std::free(resolved);
    struct stat st;
    if (::stat(host.c_str(), &st) != 0)
        return ReplaceOutcome::Failed;
    if (!S_ISREG(st.st_mode))
        return ReplaceOutcome::NotRegular;
    // Write permission as the file states it: the superuser passes access() for a 0444 file.
    const bool writable = (st.st_mode & 0222) != 0 && ::access(host.c_str(), W_OK) == 0;
    if (!writable && !force)
        return ReplaceOutcome::ReadOnly;

    // A file with other names is rewritten where it is; a rename would part it from them.
    if (st.st_nlink > 1)
        return ReplaceInPlace(host, st, bytes) ? ReplaceOutcome::Replaced : ReplaceOutcome::Failed;

    std::string temp;
    UniqueFd f{CreateTemporaryBeside(host, temp)};
    if (f.fd < 0)
        return ReplaceOutcome::Failed;
    // The new file takes the old one's owner and group; when that is not allowed (another user's file
    // in a directory we may write), it is rewritten in place, which keeps them.
    if (::fchown(f.fd, st.st_uid, st.st_gid) != 0) {
        f.Close();
        ::unlink(temp.c_str());
        return writable && ReplaceInPlace(host, st, bytes) ? ReplaceOutcome::Replaced
                                                           : ReplaceOutcome::Failed;
    }
    const bool ok = ::fchmod(f.fd, st.st_mode & 07777) == 0 && WriteAll(f.fd, bytes);
    return Commit(f, temp, host, ok) ? ReplaceOutcome::Replaced : ReplaceOutcome::Failed;
}

bool IsTemporaryName(std::string_view name) {
    return name.starts_with(kTemporaryPrefix);
}

int RemoveStaleTemporaries(const std::string& dir) {
    std::string host = MapToHostPath(dir);
    if (!host.empty() && host.back() != '/')
        host += '/';
    DIR* d = ::opendir(host.empty() ? "." : host.c_str());
    if (!d)
        return 0;
    int removed = 0;
    while (dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (!IsTemporaryName(name))
            continue;
        // ".~kemptor.<pid>.XXXXXX": the temporary of a process that no longer runs is stale.
        const std::string_view rest = name.substr(kTemporaryPrefix.size());
        const std::string pidText(rest.substr(0, rest.find('.')));
        char* end = nullptr;
        const long pid = std::strtol(pidText.c_str(), &end, 10);
        if (pidText.empty() || *end != '\0' || pid <= 0 || pid == ::getpid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH &&
            ::unlink((host + std::string(name)).c_str()) == 0)
            ++removed;
    }
    ::closedir(d);
    return removed;
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

} // namespace kemptor
