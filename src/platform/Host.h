#pragma once
// The operating system under the platform layer. Every call into the system goes through these
// functions; src/platform/posix/ implements them for Linux and the other POSIX systems, and
// src/platform/win/ for Windows. The build compiles one of the two folders, so callers need no
// conditional code.
//
// Paths here are host paths (MapToHostPath). Text in paths is UTF-8 on Windows, where it is converted
// to UTF-16 at the system call; on POSIX systems a path is the bytes the kernel takes. File contents
// are bytes on both.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor::host {

// The directory separator of host paths.
extern const char kSeparator;

// The start of the name of every temporary file this program writes (".~kemptor.<pid>.<unique>"): short
// whatever the target's length, and telling which process made it.
inline constexpr std::string_view kTemporaryPrefix = ".~kemptor.";

enum class FileKind { Missing, Regular, Directory, Other };

struct FileStatus {
    FileKind kind = FileKind::Missing;
    std::int64_t size = 0;
    // Changes whenever the file or directory is modified (time and identity together).
    std::uint64_t stamp = 0;
    // The modification time in whole seconds since 1970.
    std::int64_t modified = 0;
    // The status could not be read for want of permission (a directory on the way may not be searched);
    // `kind` is then Missing.
    bool denied = false;
    // The permission bits (07777) on POSIX systems; 0 on Windows, whose files have none.
    std::uint32_t permissions = 0;
    // The file's identity on POSIX systems (device and inode); 0 and 0 on Windows, where StatusOf does
    // not read it.
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};

// What one look at a name tells without following a final link: whether it is a link and, when it is
// not, the status StatusOf would give (links on the way are followed).
struct NameStatus {
    bool looked = false; // false: nothing below is known
    bool link = false;   // a symbolic link, whose target was not looked at
    FileStatus status;   // when looked and not a link (kind Missing: there is no such name)
    // The status of the file the name leads to, when this look tells it.
    bool TellsStatus() const { return looked && !link; }
    bool Exists() const { return looked && (link || status.kind != FileKind::Missing); }
};

// --- status and names (HostFile.cpp) ---

// The status of a path, links followed.
FileStatus StatusOf(const std::string& hostPath);
// The status the look at `hostPath` told, or, when it told none, the status read now.
inline FileStatus StatusOf(const std::string& hostPath, const NameStatus& seen) {
    return seen.TellsStatus() ? seen.status : StatusOf(hostPath);
}
// One look at a name, a final link not followed (NameStatus); a name found missing counts as looked at,
// one that could not be looked at (no permission) does not. Windows: nothing is looked at.
NameStatus LookAtName(const std::string& hostPath);
// True when a name exists, even a link that leads nowhere.
bool NameExists(const std::string& hostPath);
// True when this process may create and remove files in (directory) or write (file) `hostPath`.
bool IsWritable(const std::string& hostPath);
// The absolute path with links resolved; "" when it cannot be resolved.
std::string RealPath(const std::string& hostPath);
// True when both paths name the same existing file or directory (links and letter case resolved).
bool SameFile(const std::string& a, const std::string& b);
// The same for two paths whose statuses the caller has just read (StatusOf): where a status holds the
// file's identity, nothing more is asked of the system.
bool SameFile(const std::string& a, const FileStatus& aStatus, const std::string& b, const FileStatus& bStatus);
// The text under which two paths compare equal when they name the same file, existing or not:
// absolute, "." and ".." and links resolved as far as the path exists, and on a file system that
// ignores letter case (Windows) in one case.
std::string ComparisonKey(const std::string& hostPath);
// ComparisonKey for many paths in few directories: each directory is resolved once, a path's own name
// every time (a link there is followed as ComparisonKey follows it).
class ComparisonKeys {
public:
    // `seen`: what the caller's own look at the name told (MapToHostPath), so that it is not looked at
    // again.
    std::string Of(const std::string& hostPath, const NameStatus* seen = nullptr);

private:
    std::map<std::string, std::string, std::less<>> directories_;
};
// The std::filesystem path of a host path (UTF-16 on Windows).
std::filesystem::path FsPath(const std::string& hostPath);
// A std::filesystem path as a host path.
std::string FromFsPath(const std::filesystem::path& path);

// Creates one directory; true when it was created or already existed.
bool MakeDirectory(const std::string& hostPath);
bool RemoveFile(const std::string& hostPath);

struct DirectoryEntry {
    std::string name;
    bool regular = false;
};
// The entries of a directory ("." and ".." left out), in the order the system gives them.
std::vector<DirectoryEntry> ListDirectory(const std::string& hostDir);

// An environment variable (UTF-8), std::nullopt when unset or empty.
std::optional<std::string> GetEnv(const char* name);

// --- open files (HostFile.cpp) ---

// Opens an existing file for reading; -1 on failure. `status` receives what was opened: a directory
// opens on some systems and must then be refused by the caller.
int OpenForReading(const std::string& hostPath, FileStatus* status = nullptr);
// Reads up to `size` bytes: the count, 0 at the end, -1 on an error.
std::ptrdiff_t ReadSome(int fd, char* buffer, std::size_t size);
bool WriteAll(int fd, std::string_view bytes);
// Closes; false when the close reports an error (a delayed write failure).
bool Close(int fd);

// Closes a descriptor on every path out of a function.
struct UniqueFd {
    int fd = -1;
    UniqueFd() = default;
    explicit UniqueFd(int f) : fd(f) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() {
        if (fd >= 0)
            host::Close(fd);
    }
    bool Close() {
        const int old = fd;
        fd = -1;
        return old < 0 || host::Close(old);
    }
};

// --- memory-mapped files (MappedView.cpp) ---

// Maps `size` bytes of an open regular file read-only; nullptr when the system will not map it. The
// view outlives the descriptor.
const char* MapReadOnly(int fd, std::size_t size);
void Unmap(const char* data, std::size_t size);
// Asks the system to back the whole large pages inside [data, data + size) of memory the program
// allocated with large pages, where it can: a long list then costs a few page faults instead of one
// for every few kilobytes. Nothing where the system has no such request.
void AdviseLargePages(void* data, std::size_t size);

// --- atomic replacement (AtomicReplace.cpp, which also implements ReplaceFileContents of SafeFile.h) ---

// How WriteReplacing sets the permissions of the file it writes.
struct ReplaceOptions {
    // The permission bits the file gets (POSIX; Windows has none); std::nullopt: those of the file it
    // replaces, or the usual ones of a new file.
    std::optional<std::uint32_t> permissions;
    // The target's status as the caller has just read it (StatusOf), so that it is not read again;
    // nullptr: read here when needed.
    const FileStatus* target = nullptr;
    // The owner may write the result, whatever the permissions (or a read-only attribute) say.
    bool ownerWritable = false;
    // POSIX: the result is no more open than these bits (a copy than its source), before ownerWritable.
    std::optional<std::uint32_t> atMost;
};

// Writes a file through a temporary file (kTemporaryPrefix) in the target's directory that then takes
// the target's place in one step, so no crash leaves half a file. A new file gets the usual
// permissions; a replaced file keeps its permissions (unless `options` say otherwise). `write` fills
// the open temporary. False on any failure, and nothing is left behind.
bool WriteReplacing(const std::string& hostTarget, const std::function<bool(int fd)>& write,
                    const ReplaceOptions& options = {});

// A replaced file's last reference is dropped on a thread of its own (on a file system that discards
// freed blocks, dropping it waits for the disk); this waits until every replaced file is let go. What
// is still held when the program ends is let go of by the system.
void ReleaseReplacedFiles();

// --- file times and permissions (FileTimes.cpp) ---

// Gives `hostTo` the modification time and permissions of `hostFrom`, and leaves it writable by its
// owner.
bool CopyStampAndPermissions(const std::string& hostFrom, const std::string& hostTo);

// --- processes (Process.cpp) ---

long CurrentProcessId();
// True when no process of this id runs any more (its temporaries are then stale).
bool ProcessHasEnded(long pid);

// --- other programs (RunProgram.cpp) ---

struct ProgramOutput {
    int exitCode = -1;
    std::string output; // everything the program wrote on its standard output
};
// Runs a program found on the PATH (args[0]; the rest are its arguments, passed without a shell) in
// `workDir`, with an empty standard input and its error output discarded, and waits for it. The
// environment variables named in `unset` are removed for it. std::nullopt when it cannot be started
// (not installed).
std::optional<ProgramOutput> RunProgram(const std::vector<std::string>& args, const std::string& workDir,
                                        const std::vector<std::string>& unset = {});

// --- the user's settings directory (SettingsDirectory.cpp) ---

// Where the user's settings live when nothing else is asked for; ends with a separator.
std::string DefaultSettingsDirectory();
// The user's home directory; "" when the system names none.
std::string UserHomeDirectory();
// True when a settings file may be trusted: owned by this user (or the administrator) and writable by
// no one else. A file that another user could have planted or changed is not.
bool IsOwnedByUserAlone(const std::string& hostPath);

// --- dates in the user's form (LocalDate.cpp) ---

std::tm LocalTime(std::time_t time);
// The date in the user's short date format.
std::string UserShortDate(std::time_t time);

// --- the console (Console.cpp) ---

// Prepares the standard streams for bytes (no line end translation) and returns the program's
// arguments as UTF-8.
std::vector<std::string> PrepareConsole(int argc, char** argv);
bool StderrIsTerminal();
bool StdoutIsTerminal();

} // namespace kemptor::host
