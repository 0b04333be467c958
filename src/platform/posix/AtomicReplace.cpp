// Replacing a file in one step on POSIX systems: a temporary file beside the target, renamed over it.
// An existing file given new contents keeps its owner, group, mode and hard links.
#include "platform/Host.h"
#include "platform/SafeFile.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/WinPath.h"

namespace kemptor::host {

namespace {

// 0666 less the umask, read once: setting the umask to look at it is not safe while other threads
// create files.
mode_t NewFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

// A new temporary file beside `hostTarget`; its name goes to `temp`. Only '/' separates here: a host
// name may hold '\' or ':'.
int CreateTemporaryBeside(const std::string& hostTarget, std::string& temp) {
    const size_t slash = hostTarget.rfind('/');
    temp = slash == std::string::npos ? std::string() : hostTarget.substr(0, slash + 1);
    temp += kTemporaryPrefix;
    temp += std::to_string(::getpid());
    temp += ".XXXXXX";
    return ::mkostemp(temp.data(), O_CLOEXEC);
}

// Lets go of replaced files on a thread of its own. The last reference to a file that lost its name
// frees its blocks, and a file system that discards blocks as it frees them waits for the disk there:
// a run replacing a thousand files would wait a thousand times. A reference is taken before the
// rename (a path reference, which opens nothing: no device or FIFO is touched) and dropped here.
class ReplacedFiles {
public:
    // Never destroyed, so that a write made while the program ends still finds it; what it holds then
    // is let go of by the system with the program.
    static ReplacedFiles& Instance() {
        static ReplacedFiles* const instance = new ReplacedFiles;
        return *instance;
    }
    void Release(int fd) {
        {
            const std::lock_guard lock(mutex_);
            if (held_.size() < kMaxHeld && Started()) {
                held_.push_back(fd);
                // Woken by the first file of a batch and when the batch is full, not for each file.
                if (held_.size() == 1 || held_.size() % kBatch == 0)
                    changed_.notify_one();
                return;
            }
        }
        ::close(fd); // too many waiting, or no thread to wait: this one is let go at once
    }
    void WaitUntilReleased() {
        std::unique_lock lock(mutex_);
        changed_.notify_one();
        released_.wait(lock, [this] { return held_.empty() && !closing_; });
    }

private:
    static constexpr std::size_t kMaxHeld = 256;
    static constexpr std::size_t kBatch = 16;

    // Starts the thread that lets go when it does not run yet; false when the system gives none.
    bool Started() {
        if (!started_) {
            try {
                std::thread([this] { Work(); }).detach();
                started_ = true;
            } catch (const std::system_error&) {
            }
        }
        return started_;
    }

    void Work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return !held_.empty(); });
            // A batch, or what came within a moment: a file is never held for long.
            changed_.wait_for(lock, std::chrono::milliseconds(20), [this] { return held_.size() >= kBatch; });
            std::vector<int> batch;
            batch.swap(held_);
            closing_ = true;
            lock.unlock();
            for (const int fd : batch)
                ::close(fd);
            lock.lock();
            closing_ = false;
            released_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::condition_variable released_;
    std::vector<int> held_;
    bool closing_ = false; // a batch taken from held_ is being let go
    bool started_ = false; // the thread that lets go runs
};

// Gives the finished temporary the target's name; on failure the temporary goes. `mayExist`: the
// target may exist (false when the caller has just found it missing).
bool Commit(UniqueFd& temp, const std::string& tempPath, const std::string& hostTarget, bool ok,
            bool mayExist = true) {
    ok = temp.Close() && ok;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
#ifdef O_PATH
    const int replaced = mayExist ? ::open(hostTarget.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC) : -1;
#else
    const int replaced = -1;
#endif
    const bool renamed = ::rename(tempPath.c_str(), hostTarget.c_str()) == 0;
    if (replaced >= 0) {
        if (renamed)
            ReplacedFiles::Instance().Release(replaced);
        else
            ::close(replaced);
    }
    if (renamed)
        return true;
    ::unlink(tempPath.c_str());
    return false;
}

} // namespace

bool WriteReplacing(const std::string& hostTarget, const std::function<bool(int fd)>& write,
                    const ReplaceOptions& options) {
    if (hostTarget.empty() || hostTarget.back() == '/')
        return false;
    std::string temp;
    UniqueFd f{CreateTemporaryBeside(hostTarget, temp)};
    if (f.fd < 0)
        return false;
    // The rename protects against a crash of the program, not against a power cut (no fsync: a run
    // writes thousands of files).
    mode_t mode = 0;
    if (options.permissions) {
        mode = static_cast<mode_t>(*options.permissions & 07777);
    } else {
        const FileStatus target = options.target ? *options.target : StatusOf(hostTarget);
        mode = target.kind != FileKind::Missing ? static_cast<mode_t>(target.permissions) : NewFileMode();
    }
    if (options.atMost)
        mode &= static_cast<mode_t>(*options.atMost);
    if (options.ownerWritable)
        mode |= S_IWUSR;
    const bool mayExist = !options.target || options.target->kind != FileKind::Missing ||
                          options.target->denied;
    return Commit(f, temp, hostTarget, ::fchmod(f.fd, mode) == 0 && write(f.fd), mayExist);
}

void ReleaseReplacedFiles() {
    ReplacedFiles::Instance().WaitUntilReleased();
}

} // namespace kemptor::host

namespace kemptor {

namespace {

// Rewrites an open regular file from its first byte and cuts it to the new length. The room is reserved
// first, so a full disk is found before any byte of the old text is overwritten.
bool RewriteInPlace(int fd, std::string_view bytes) {
    if (!bytes.empty()) {
        const int reserved = ::posix_fallocate(fd, 0, static_cast<off_t>(bytes.size()));
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
            return false;
    }
    return ::lseek(fd, 0, SEEK_SET) == 0 && host::WriteAll(fd, bytes) &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

bool ReplaceInPlace(const std::string& hostPath, const struct stat& expected, std::string_view bytes) {
    host::UniqueFd f{::open(hostPath.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
    struct stat st;
    if (f.fd < 0 || ::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_ino != expected.st_ino ||
        st.st_dev != expected.st_dev)
        return false;
    return RewriteInPlace(f.fd, bytes) && f.Close();
}

} // namespace

ReplaceOutcome ReplaceHostFileContents(const std::string& givenPath, std::string_view bytes, bool force) {
    // A link is followed: the file it names is the one to format, and the link stays a link.
    const std::string hostPath = host::RealPath(givenPath);
    if (hostPath.empty())
        return ReplaceOutcome::Failed;
    struct stat st;
    if (::stat(hostPath.c_str(), &st) != 0)
        return ReplaceOutcome::Failed;
    if (!S_ISREG(st.st_mode))
        return ReplaceOutcome::NotRegular;
    // Write permission as the file states it: the superuser passes access() for a 0444 file.
    const bool writable = (st.st_mode & 0222) != 0 && ::access(hostPath.c_str(), W_OK) == 0;
    if (!writable && !force)
        return ReplaceOutcome::ReadOnly;

    // A file with other names is rewritten where it is; a rename would part it from them.
    if (st.st_nlink > 1)
        return ReplaceInPlace(hostPath, st, bytes) ? ReplaceOutcome::Replaced : ReplaceOutcome::Failed;

    std::string temp;
    host::UniqueFd f{host::CreateTemporaryBeside(hostPath, temp)};
    if (f.fd < 0)
        return ReplaceOutcome::Failed;
    // The new file takes the old one's owner and group; when that is not allowed (another user's file
    // in a directory we may write), it is rewritten in place, which keeps them.
    if (::fchown(f.fd, st.st_uid, st.st_gid) != 0) {
        f.Close();
        ::unlink(temp.c_str());
        return writable && ReplaceInPlace(hostPath, st, bytes) ? ReplaceOutcome::Replaced
                                                               : ReplaceOutcome::Failed;
    }
    const bool ok = ::fchmod(f.fd, st.st_mode & 07777) == 0 && host::WriteAll(f.fd, bytes);
    return host::Commit(f, temp, hostPath, ok) ? ReplaceOutcome::Replaced : ReplaceOutcome::Failed;
}

} // namespace kemptor
