#pragma once
// Reading and replacing files without surprises at the host boundary.
//
// Only regular files are read: a FIFO, a device node or a socket is refused before it is opened (and the
// open itself never waits), so no read blocks or runs forever. A file above kMaxTextFileBytes is refused
// rather than read into memory. Writes go to a short temporary name in the target's directory
// (".~kemptor.<pid>.XXXXXX", so a file name of 255 bytes can still be written) that is renamed over the
// target; a temporary left behind by a killed process is recognised by its name and removed by
// RemoveStaleTemporaries. The functions named Host take host paths and do no case mapping.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Host.h"

namespace kemptor {

// Largest text file the program reads (source, project, settings, template): 256 MiB.
inline constexpr std::int64_t kMaxTextFileBytes = std::int64_t{256} << 20;

enum class FileProblem {
    None,
    Missing,    // no such file (or a directory on the way is missing)
    NotRegular, // a directory, FIFO, device node or socket
    TooLarge,   // above the size limit
    Unreadable, // exists but cannot be opened for reading
};

// What stands in the way of reading `path` (Windows-style or host path) as a text file.
FileProblem CheckTextFile(const std::string& path, std::int64_t maxBytes = kMaxTextFileBytes);
// The same for a host path as it stands (a name given on the command line is not a Windows path).
FileProblem CheckHostTextFile(const std::string& hostPath, std::int64_t maxBytes = kMaxTextFileBytes);
// A sentence naming the file and the problem ("X is not a regular file."); empty for None.
std::string FileProblemText(const std::string& path, FileProblem problem);

// Opens a host path for reading when it is a regular file of at most maxBytes; -1 otherwise. Never
// blocks on a FIFO and never opens a device. `size` (optional) receives the file's size.
int OpenRegularFileHost(const std::string& hostPath, std::int64_t maxBytes = kMaxTextFileBytes,
                        std::int64_t* size = nullptr);
// The same when the caller has just read the path's status (`looked`, StatusOf or a look at the name
// that tells it), which is not read again; `opened` (optional) receives the status of what was opened.
int OpenRegularFileHost(const std::string& hostPath, const host::FileStatus& looked, std::int64_t maxBytes,
                        host::FileStatus* opened);

// Writes `bytes` to a temporary file beside `hostPath` and renames it over it. A new file gets the usual
// permissions (0666 less the umask); a replaced file keeps its permission bits. False on any failure,
// and nothing is left behind.
bool WriteHostFileAtomic(const std::string& hostPath, std::string_view bytes);
// The same with the writing left to `write`, which gets the temporary's descriptor and answers success.
bool WriteHostFileAtomicWith(const std::string& hostPath, const std::function<bool(int)>& write,
                             const host::ReplaceOptions& options = {});

// Copies a regular file through a temporary file renamed over the target, in blocks (the file is never
// held in memory whole, so its size does not matter). The copy is always writable by its owner; with
// keepStamp it also takes the source's modification time and permission bits.
bool CopyHostFileAtomic(const std::string& hostFrom, const std::string& hostTo, bool keepStamp);
// The same when the caller has just read both statuses (StatusOf), which are not read again.
bool CopyHostFileAtomic(const std::string& hostFrom, const host::FileStatus& fromStatus, const std::string& hostTo,
                        const host::FileStatus& toStatus, bool keepStamp);

enum class ReplaceOutcome {
    Replaced,
    NotRegular, // not a regular file (after following links): nothing written
    ReadOnly,   // the file has no write permission for us and force was not given: nothing written
    Failed,     // could not be written; the file is as it was
};

// Gives an existing file new contents the way an editor saving in place would: a symbolic link is
// followed and its target written, the owner, group and mode stay, and a file with several hard links
// is rewritten in place (after its room is reserved) so that every name sees the new text. A file
// without write permission is refused unless `force`.
ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes, bool force);
// The same for a host path as it stands (a name given on the command line).
ReplaceOutcome ReplaceHostFileContents(const std::string& hostPath, std::string_view bytes, bool force);

// Removes the temporaries that processes of this program left in a directory when they were killed
// (their process no longer runs). Returns how many were removed.
int RemoveStaleTemporaries(const std::string& dir);

// True for a name this program gives its temporary files.
bool IsTemporaryName(std::string_view name);

} // namespace kemptor
