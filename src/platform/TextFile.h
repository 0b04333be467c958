#pragma once
// Text file reading and writing at the host boundary. Text is 8-bit: every byte other than the line
// ends is kept as it is. Paths given here are Windows-style or host paths; they are mapped with
// MapToHostPath first.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

namespace host {
struct NameStatus;
struct ReplaceOptions;
} // namespace host

using TextLines = std::vector<std::string>;

// Reads a whole file as lines; a line ends at CR LF, LF or a lone CR. A final line end does not add an
// empty line. std::nullopt when the file cannot be opened or read (also for a directory).
std::optional<TextLines> ReadTextLines(const std::string& path);

// Splits text the way ReadTextLines splits a file.
TextLines SplitTextLines(std::string_view text);
// The same lines as views into `text`.
std::vector<std::string_view> SplitTextLineViews(std::string_view text);

// Counts the lines the way ReadTextLines splits them, without keeping them; -1 when unreadable.
long CountTextLines(const std::string& path);
// What a file list shows of a file, from one reading of it.
struct TextFileSurvey {
    bool opened = false;   // a regular file that could be opened
    std::int64_t size = 0; // its size in bytes when opened
    int firstByte = -1;    // its first byte (0 to 255); -1 when empty or not opened
    long lines = -1;       // CountTextLines
};
TextFileSurvey SurveyTextFile(const std::string& path);

// Writes lines, each ending in CR LF, to a temporary file in the target's directory and renames it over
// the target, so no crash leaves half a file. False on any failure (nothing is left behind).
bool WriteTextLinesAtomic(const std::string& path, const TextLines& lines);

// The lines of a text, one at a time, for the writers below.
using LineAt = std::function<std::string_view(std::size_t)>;

// Writes `count` lines, each ending in CR LF, to a descriptor in large chunks. False on a write error.
bool WriteCrLfLines(int fd, std::size_t count, const LineAt& line);
// The same with another line end after each line ("\n" for a buffer piped in with LF line ends).
bool WriteLines(int fd, std::size_t count, const LineAt& line, std::string_view lineEnd);
// The first line end of a text ("\r\n", "\n" or "\r"); CR LF when it has none.
std::string_view FirstLineEnd(std::string_view text);

// WriteTextLinesAtomic for lines that are not held as strings.
bool WriteLinesAtomic(const std::string& path, std::size_t count, const LineAt& line);
// The same to a host path as it stands (no case mapping; see TargetDirectory.h), with the permissions
// `options` give the result (Host.h).
bool WriteHostLinesAtomic(const std::string& hostPath, std::size_t count, const LineAt& line,
                          const host::ReplaceOptions& options);

// True when a line holds a NUL byte: UTF-16 text or a binary file, which formatting (it rewrites the
// line ends) would damage.
bool HoldsNul(const TextLines& lines);

// The bytes WriteTextLinesAtomic writes: every line followed by CR LF.
std::string CrLfText(const TextLines& lines);

// A file's bytes, mapped read-only into memory when it is a regular file of at least
// kSmallestMappedFile bytes (read into memory otherwise), for readers that take the text where it
// stands. A file that another program shortens while it is mapped cannot be read safely; the
// formatter's own writes go to a new file renamed over the old one.
class MappedFile {
public:
    // nullptr when the file cannot be opened or read: only a regular file of at most kMaxTextFileBytes
    // can (not a directory, FIFO or device).
    static std::shared_ptr<const MappedFile> Open(const std::string& path);
    // The same for a host path as it stands, without the mapping of Windows paths. `seen`: the
    // caller's look at the name (MapToHostPath), whose status is not read again when it tells it.
    static std::shared_ptr<const MappedFile> OpenHost(const std::string& hostPath,
                                                      const host::NameStatus* seen = nullptr);
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();
    std::string_view Bytes() const { return {data_, size_}; }
    // The permission bits of the file opened (POSIX; 0 on Windows).
    std::uint32_t Permissions() const { return permissions_; }

private:
    MappedFile() = default;
    const char* data_ = "";
    std::size_t size_ = 0;
    bool mapped_ = false;
    std::uint32_t permissions_ = 0;
    std::string copy_; // the bytes of a file that could not be mapped
};

// Files below this size are read rather than mapped: a read costs a copy of the bytes, a mapping costs
// setting up page tables and, when it goes, a flush of the address translations on every processor
// that runs a thread of the program, which is dearer for a file of a few pages.
inline constexpr std::int64_t kSmallestMappedFile = std::int64_t{1} << 20;

// The raw bytes of a file; std::nullopt when it cannot be opened or read. Only regular files of at most
// kMaxTextFileBytes (SafeFile.h) are read: a FIFO or a device is refused without waiting on it.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Writes bytes through a short-named temporary file in the target's directory renamed over the target
// (WriteHostFileAtomic, after the case mapping). A new file
// gets the usual permissions (0666 less the umask); a replaced file keeps its permission bits. The
// rename protects against a crash of the program, not against a power cut (no fsync: a run writes
// thousands of files).
bool WriteFileAtomic(const std::string& path, std::string_view bytes);

} // namespace kemptor
