#include "platform/TextFile.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/Host.h"
#include "platform/SafeFile.h"
#include "platform/Text.h"
#include "platform/WinPath.h"

namespace kemptor {

namespace {

using host::WriteAll;

// Reads a file in chunks (never empty ones): onSize gets its size first. False when the file cannot be
// opened or read: only a regular file of at most kMaxTextFileBytes can (one that grows past the limit
// while it is read fails too).
// `seen`: the caller's look at the name, when it tells the file's status.
template <class OnSize, class OnChunk>
bool ReadHostChunks(const std::string& hostPath, const host::NameStatus& seen, OnSize&& onSize,
                    OnChunk&& onChunk) {
    if (hostPath.empty())
        return false;
    host::FileStatus opened;
    host::UniqueFd f{OpenRegularFileHost(hostPath, host::StatusOf(hostPath, seen), kMaxTextFileBytes, &opened)};
    if (f.fd < 0)
        return false;
    const std::int64_t size = opened.size;
    onSize(static_cast<size_t>(size));
    std::int64_t total = 0;
    char buffer[65536];
    for (;;) {
        const std::ptrdiff_t n = host::ReadSome(f.fd, buffer, sizeof buffer);
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if ((total += n) > kMaxTextFileBytes)
            return false;
        onChunk(std::string_view(buffer, static_cast<size_t>(n)));
    }
}

// Reads the `size` bytes an open file had when it was opened into `bytes`, as a mapping of that size
// would show them (fewer when it has shrunk since). False on a read error.
bool ReadOpenFile(int fd, std::size_t size, std::string& bytes) {
    bytes.resize(size);
    std::size_t used = 0;
    while (used < size) {
        const std::ptrdiff_t n = host::ReadSome(fd, bytes.data() + used, size - used);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    return true;
}

// A host file's bytes, read whole.
std::optional<std::string> ReadHostFileBytes(const std::string& hostPath) {
    std::string bytes;
    bool ok = ReadHostChunks(
        hostPath, host::NameStatus{}, [&](size_t size) { bytes.reserve(size); },
        [&](std::string_view chunk) { bytes += chunk; });
    return ok ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
}

} // namespace

std::shared_ptr<const MappedFile> MappedFile::Open(const std::string& path) {
    host::NameStatus seen;
    const std::string hostPath = MapToHostPath(path, &seen);
    return OpenHost(hostPath, &seen);
}

std::shared_ptr<const MappedFile> MappedFile::OpenHost(const std::string& hostPath, const host::NameStatus* seen) {
    std::shared_ptr<MappedFile> file(new MappedFile());
    // Only a regular file of at most kMaxTextFileBytes is opened: a FIFO would block, a device never end.
    if (hostPath.empty())
        return nullptr;
    host::FileStatus opened;
    host::UniqueFd f{OpenRegularFileHost(
        hostPath, seen ? host::StatusOf(hostPath, *seen) : host::StatusOf(hostPath), kMaxTextFileBytes, &opened)};
    if (f.fd < 0)
        return nullptr;
    const std::int64_t size = opened.size;
    file->permissions_ = opened.permissions;
    if (size >= kSmallestMappedFile) {
        if (const char* at = host::MapReadOnly(f.fd, static_cast<size_t>(size))) {
            file->data_ = at;
            file->size_ = static_cast<size_t>(size);
            file->mapped_ = true;
            return file;
        }
    }
    // A small file, or one the system would not map: its bytes are read from the descriptor opened.
    if (!ReadOpenFile(f.fd, static_cast<size_t>(size), file->copy_))
        return nullptr;
    file->data_ = file->copy_.data();
    file->size_ = file->copy_.size();
    return file;
}

MappedFile::~MappedFile() {
    if (mapped_)
        host::Unmap(data_, size_);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    return ReadHostFileBytes(MapToHostPath(path));
}

std::vector<std::string_view> SplitTextLineViews(std::string_view text) {
    std::vector<std::string_view> lines;
    // Room for every LF-ended line at once: the vector is not copied as it grows.
    lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* start = begin;
    for (const char* at; (at = FindLineBreak(start, end)) != end;) {
        lines.emplace_back(start, static_cast<size_t>(at - start));
        start = AfterLineBreak(at, end);
    }
    if (start < end)
        lines.emplace_back(start, static_cast<size_t>(end - start));
    return lines;
}

TextLines SplitTextLines(std::string_view text) {
    const std::vector<std::string_view> views = SplitTextLineViews(text);
    return TextLines(views.begin(), views.end());
}

std::optional<TextLines> ReadTextLines(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return SplitTextLines(*bytes);
}

namespace {

// Counts lines chunk by chunk: every CR and every LF ends a line, except an LF right after a CR (one
// CR LF line end).
class LineCounter {
public:
    void Add(std::string_view chunk) {
        const char* begin = chunk.data();
        const char* end = begin + chunk.size();
        count_ += std::count(begin, end, '\r') + std::count(begin, end, '\n');
        if (afterCr_ && *begin == '\n')
            --count_;
        for (const char* cr = begin;
             (cr = static_cast<const char*>(std::memchr(cr, '\r', end - cr))) != nullptr;)
            if (++cr < end && *cr == '\n')
                --count_;
        afterCr_ = end[-1] == '\r';
        pendingText_ = end[-1] != '\r' && end[-1] != '\n';
    }
    long Count() const { return count_ + (pendingText_ ? 1 : 0); }

private:
    long count_ = 0;
    bool pendingText_ = false; // bytes seen since the last line end
    bool afterCr_ = false;     // the last byte read was a CR
};

} // namespace

TextFileSurvey SurveyTextFile(const std::string& path) {
    TextFileSurvey survey;
    LineCounter counter;
    host::NameStatus seen;
    const std::string hostPath = MapToHostPath(path, &seen);
    const bool ok = ReadHostChunks(
        hostPath, seen,
        [&](size_t size) {
            survey.opened = true;
            survey.size = static_cast<std::int64_t>(size);
        },
        [&](std::string_view chunk) {
            if (survey.firstByte < 0)
                survey.firstByte = static_cast<unsigned char>(chunk.front());
            counter.Add(chunk);
        });
    if (ok)
        survey.lines = counter.Count();
    return survey;
}

long CountTextLines(const std::string& path) {
    return SurveyTextFile(path).lines;
}

bool WriteCrLfLines(int fd, std::size_t count, const LineAt& line) {
    return WriteLines(fd, count, line, "\r\n");
}

bool WriteLines(int fd, std::size_t count, const LineAt& line, std::string_view lineEnd) {
    // Lines are gathered into a buffer of a megabyte that is written whole: copied with memcpy, not
    // appended to a string, whose checks would cost more than the copy for a short line.
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kChunk);
    std::size_t used = 0;
    const auto put = [&](std::string_view text) {
        std::memcpy(buffer.get() + used, text.data(), text.size());
        used += text.size();
    };
    const auto flush = [&] {
        const bool written = WriteAll(fd, std::string_view(buffer.get(), used));
        used = 0;
        return written;
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view text = line(i);
        if (used + text.size() + lineEnd.size() > kChunk) {
            if (!flush())
                return false;
            if (text.size() + lineEnd.size() > kChunk) {
                if (!WriteAll(fd, text))
                    return false;
                put(lineEnd);
                continue;
            }
        }
        put(text);
        put(lineEnd);
    }
    return flush();
}

std::string_view FirstLineEnd(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos || (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n'))
        return "\r\n";
    return text[at] == '\n' ? "\n" : "\r";
}

namespace {

// Writes through a short-named temporary file in the target's directory that is renamed over the
// target (SafeFile.h).
bool WriteAtomicWith(const std::string& path, const std::function<bool(int)>& write) {
    return WriteHostFileAtomicWith(MapToHostPath(path), write);
}

} // namespace

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
    return WriteAtomicWith(path, [bytes](int fd) { return WriteAll(fd, bytes); });
}

bool WriteLinesAtomic(const std::string& path, std::size_t count, const LineAt& line) {
    return WriteAtomicWith(path, [&](int fd) { return WriteCrLfLines(fd, count, line); });
}

bool WriteHostLinesAtomic(const std::string& hostPath, std::size_t count, const LineAt& line,
                          const host::ReplaceOptions& options) {
    return WriteHostFileAtomicWith(
        hostPath, [&](int fd) { return WriteCrLfLines(fd, count, line); }, options);
}

bool HoldsNul(const TextLines& lines) {
    return std::any_of(lines.begin(), lines.end(),
                       [](const std::string& line) { return line.find('\0') != std::string::npos; });
}

std::string CrLfText(const TextLines& lines) {
    std::string bytes;
    size_t total = 0;
    for (const auto& line : lines)
        total += line.size() + 2;
    bytes.reserve(total);
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

bool WriteTextLinesAtomic(const std::string& path, const TextLines& lines) {
    return WriteLinesAtomic(path, lines.size(),
                            [&lines](std::size_t i) { return std::string_view(lines[i]); });
}

} // namespace kemptor
