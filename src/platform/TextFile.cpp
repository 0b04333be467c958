#include "platform/TextFile.h"

#include <algorithm>
#include <cstring>

#include "platform/Host.h"
#include "platform/WinPath.h"

namespace kemptor {

namespace {

using host::WriteAll;

// Reads a file in chunks (never empty ones): onSize gets the size of a regular file first. False when
// the file cannot be opened or read; a directory cannot.
template <class OnSize, class OnChunk>
bool ReadChunks(const std::string& path, OnSize&& onSize, OnChunk&& onChunk) {
    host::FileStatus status;
    host::UniqueFd f{host::OpenForReading(MapToHostPath(path), &status)};
    if (f.fd < 0 || status.kind == host::FileKind::Directory)
        return false;
    if (status.kind == host::FileKind::Regular)
        onSize(static_cast<size_t>(status.size));
    char buffer[65536];
    for (;;) {
        const std::ptrdiff_t n = host::ReadSome(f.fd, buffer, sizeof buffer);
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        onChunk(std::string_view(buffer, static_cast<size_t>(n)));
    }
}

} // namespace

std::shared_ptr<const MappedFile> MappedFile::Open(const std::string& path) {
    std::shared_ptr<MappedFile> file(new MappedFile());
    host::FileStatus status;
    host::UniqueFd f{host::OpenForReading(MapToHostPath(path), &status)};
    if (f.fd < 0 || status.kind == host::FileKind::Directory)
        return nullptr;
    if (status.kind == host::FileKind::Regular && status.size > 0) {
        if (const char* at = host::MapReadOnly(f.fd, static_cast<size_t>(status.size))) {
            file->data_ = at;
            file->size_ = static_cast<size_t>(status.size);
            file->mapped_ = true;
            return file;
        }
    }
    // A pipe, a device, an empty file, or a file the system would not map: its bytes are read.
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        return nullptr;
    file->copy_ = std::move(*bytes);
    file->data_ = file->copy_.data();
    file->size_ = file->copy_.size();
    return file;
}

MappedFile::~MappedFile() {
    if (mapped_)
        host::Unmap(data_, size_);
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    std::string bytes;
    bool ok = ReadChunks(
        path, [&](size_t size) { bytes.reserve(size); }, [&](std::string_view chunk) { bytes += chunk; });
    return ok ? std::optional<std::string>(std::move(bytes)) : std::nullopt;
}

TextLines SplitTextLines(std::string_view text) {
    TextLines lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::optional<TextLines> ReadTextLines(const std::string& path) {
    auto bytes = ReadFileBytes(path);
    if (!bytes)
        return std::nullopt;
    return SplitTextLines(*bytes);
}

long CountTextLines(const std::string& path) {
    // Every CR and every LF ends a line, except an LF right after a CR (one CR LF line end).
    long count = 0;
    bool pendingText = false; // bytes seen since the last line end
    bool afterCr = false;     // the last byte read was a CR
    bool ok = ReadChunks(
        path, [](size_t) {},
        [&](std::string_view chunk) {
            const char* begin = chunk.data();
            const char* end = begin + chunk.size();
            count += std::count(begin, end, '\r') + std::count(begin, end, '\n');
            if (afterCr && *begin == '\n')
                --count;
            for (const char* cr = begin;
                 (cr = static_cast<const char*>(std::memchr(cr, '\r', end - cr))) != nullptr;)
                if (++cr < end && *cr == '\n')
                    --count;
            afterCr = end[-1] == '\r';
            pendingText = end[-1] != '\r' && end[-1] != '\n';
        });
    return ok ? count + (pendingText ? 1 : 0) : -1;
}

bool WriteCrLfLines(int fd, std::size_t count, const LineAt& line) {
    constexpr std::size_t kChunk = std::size_t{1} << 20;
    std::string buffer;
    buffer.reserve(kChunk);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view text = line(i);
        if (buffer.size() + text.size() + 2 > kChunk) {
            if (!WriteAll(fd, buffer))
                return false;
            buffer.clear();
            if (text.size() + 2 > kChunk) {
                if (!WriteAll(fd, text))
                    return false;
                buffer += "\r\n";
                continue;
            }
        }
        buffer += text;
        buffer += "\r\n";
    }
    return WriteAll(fd, buffer);
}

namespace {

// Writes through a temporary file in the target's directory that then takes the target's place.
bool WriteAtomicWith(const std::string& path, const std::function<bool(int)>& write) {
    return host::WriteReplacing(MapToHostPath(path), write);
}

} // namespace

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
    return WriteAtomicWith(path, [bytes](int fd) { return WriteAll(fd, bytes); });
}

bool WriteLinesAtomic(const std::string& path, std::size_t count, const LineAt& line) {
    return WriteAtomicWith(path, [&](int fd) { return WriteCrLfLines(fd, count, line); });
}

bool WriteTextLinesAtomic(const std::string& path, const TextLines& lines) {
    return WriteLinesAtomic(path, lines.size(),
                            [&lines](std::size_t i) { return std::string_view(lines[i]); });
}

} // namespace kemptor
