#include "platform/SafeFile.h"

#include <cstdlib>
#include <limits>

#include "platform/Host.h"
#include "platform/WinPath.h"

namespace kemptor {

int OpenRegularFileHost(const std::string& hostPath, std::int64_t maxBytes, std::int64_t* size) {
    // Looked at before opening: opening a FIFO waits for a writer, opening a device may do anything.
    if (hostPath.empty())
        return -1;
    host::FileStatus opened;
    const int fd = OpenRegularFileHost(hostPath, host::StatusOf(hostPath), maxBytes, &opened);
    if (fd >= 0 && size)
        *size = opened.size;
    return fd;
}

int OpenRegularFileHost(const std::string& hostPath, const host::FileStatus& looked, std::int64_t maxBytes,
                        host::FileStatus* opened) {
    if (hostPath.empty() || looked.kind != host::FileKind::Regular || looked.size > maxBytes)
        return -1;
    host::FileStatus status;
    host::UniqueFd f{host::OpenForReading(hostPath, &status)};
    // The name may have been replaced between the look and the open: what was opened is what counts.
    if (f.fd < 0 || status.kind != host::FileKind::Regular || status.size > maxBytes)
        return -1;
    if (opened)
        *opened = status;
    const int fd = f.fd;
    f.fd = -1;
    return fd;
}

FileProblem CheckTextFile(const std::string& path, std::int64_t maxBytes) {
    return CheckHostTextFile(MapToHostPath(path), maxBytes);
}

FileProblem CheckHostTextFile(const std::string& hostPath, std::int64_t maxBytes) {
    if (hostPath.empty())
        return FileProblem::Missing;
    const host::FileStatus status = host::StatusOf(hostPath);
    if (status.kind == host::FileKind::Missing)
        return status.denied ? FileProblem::Unreadable : FileProblem::Missing;
    if (status.kind != host::FileKind::Regular)
        return FileProblem::NotRegular;
    if (status.size > maxBytes)
        return FileProblem::TooLarge;
    // Opening a regular file is harmless, and it is the one test of readability every system agrees on.
    // What was opened decides: on Windows a device name ("NUL", "CON") may look like a file until then.
    host::FileStatus opened;
    host::UniqueFd f{host::OpenForReading(hostPath, &opened)};
    if (f.fd < 0)
        return FileProblem::Unreadable;
    return opened.kind == host::FileKind::Regular ? FileProblem::None : FileProblem::NotRegular;
}

ReplaceOutcome ReplaceFileContents(const std::string& path, std::string_view bytes, bool force) {
    return ReplaceHostFileContents(MapToHostPath(path), bytes, force);
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

bool WriteHostFileAtomicWith(const std::string& hostPath, const std::function<bool(int)>& write,
                             const host::ReplaceOptions& options) {
    if (!host::WriteReplacing(hostPath, write, options))
        return false;
    NoteFileCreated(hostPath);
    return true;
}

bool WriteHostFileAtomic(const std::string& hostPath, std::string_view bytes) {
    return WriteHostFileAtomicWith(hostPath, [bytes](int fd) { return host::WriteAll(fd, bytes); });
}

namespace {

bool CopyContents(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        const std::ptrdiff_t n = host::ReadSome(from, buffer, sizeof buffer);
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!host::WriteAll(to, std::string_view(buffer, static_cast<size_t>(n))))
            return false;
    }
}

} // namespace

bool CopyHostFileAtomic(const std::string& hostFrom, const std::string& hostTo, bool keepStamp) {
    return CopyHostFileAtomic(hostFrom, host::StatusOf(hostFrom), hostTo, host::StatusOf(hostTo), keepStamp);
}

bool CopyHostFileAtomic(const std::string& hostFrom, const host::FileStatus& fromStatus, const std::string& hostTo,
                        const host::FileStatus& toStatus, bool keepStamp) {
    host::UniqueFd in{OpenRegularFileHost(hostFrom, fromStatus, std::numeric_limits<std::int64_t>::max(), nullptr)};
    if (in.fd < 0)
        return false;
    // The copy is always writable by its owner, and no more readable than its source: a private file
    // stays private. With keepStamp it then takes the source's time and mode.
    host::ReplaceOptions options;
    options.target = &toStatus;
    options.ownerWritable = true;
    options.atMost = fromStatus.permissions;
    if (!WriteHostFileAtomicWith(hostTo, [&](int out) { return CopyContents(in.fd, out); }, options))
        return false;
    return !keepStamp || host::CopyStampAndPermissions(hostFrom, hostTo);
}

bool IsTemporaryName(std::string_view name) {
    return name.starts_with(host::kTemporaryPrefix);
}

int RemoveStaleTemporaries(const std::string& dir) {
    std::string hostDir = MapToHostPath(dir);
    if (!hostDir.empty() && !IsPathSeparator(hostDir.back()))
        hostDir += host::kSeparator;
    int removed = 0;
    for (const auto& entry : host::ListDirectory(hostDir)) {
        if (!IsTemporaryName(entry.name))
            continue;
        // ".~kemptor.<pid>.XXXXXX": the temporary of a process that no longer runs is stale.
        const std::string_view rest = std::string_view(entry.name).substr(host::kTemporaryPrefix.size());
        const std::string pidText(rest.substr(0, rest.find('.')));
        char* end = nullptr;
        const long pid = std::strtol(pidText.c_str(), &end, 10);
        if (pidText.empty() || *end != '\0' || pid <= 0 || pid == host::CurrentProcessId())
            continue;
        if (host::ProcessHasEnded(pid) && host::RemoveFile(hostDir + entry.name))
            ++removed;
    }
    return removed;
}

} // namespace kemptor
