#pragma once
// Windows paths as project files write them, mapped to the host file system.
//
// The path arithmetic of the program stays Windows-style (directory texts end with a separator and are
// joined by concatenation). At the file-system boundary MapToHostPath turns "\" into "/" and, for each
// component that does not exist with its exact case, looks the directory up case-insensitively.

#include <cstdint>
#include <string>
#include <vector>

namespace kemptor {

namespace host {
struct NameStatus;
} // namespace host

// Host path for a Windows-style or host path; components missing with their exact case are matched
// case-insensitively against the directory's entries (first match in name order).
std::string MapToHostPath(const std::string& path);
// The same, telling in `seen` what the mapping's own look at the name it returns found (nothing when it
// did not look at that name), so that the caller need not look again.
std::string MapToHostPath(const std::string& path, host::NameStatus* seen);

// The path as the host writes it, for what the user reads (messages, window captions): separators
// mapped, letter case as found on disk, "." and ".." folded. A directory text keeps its trailing
// separator: "/home/u/proj/.\STYLED\" gives "/home/u/proj/STYLED/". Settings keep the text as typed.
std::string ResolvedDisplayPath(const std::string& path);

// True for "\" and "/".
bool IsPathSeparator(char c);

// A path that contains ":" or begins with "/" or "\" is absolute.
bool IsAbsolutePath(const std::string& path);

// The directory part of a path, up to and including its last separator or ":" ("" when none).
std::string ExtractFileDir(const std::string& path);

// The file name part of a path, after its last separator or ":".
std::string ExtractFileName(const std::string& path);

// The upper-case extension including the dot (".FRM"), "" when none; a dot before the last separator
// does not count.
std::string ExtractUpperExtension(const std::string& path);

// A Windows path that has no place on this host: a UNC path ("\\SERVER\SHARE\OUT\", also written with
// "/") and, on a system without drive letters, any path that starts with one ("C:\OUT\", "D:OUT\").
bool IsUnmappableWindowsPath(const std::string& path);

// True when a resolved host directory (ResolveHostDirectory) is the root of a file system ("/", "C:\").
bool IsFileSystemRoot(const std::string& hostDir);

// The absolute host directory that a directory text names, as the kernel will reach it once it is
// created: mapped to the host, links in its existing part resolved, "." and ".." in the rest taken
// lexically ("P\NEW\..\" is P even while NEW does not exist). "" names the current directory. Ends
// with '/'; "" when the text cannot be mapped.
std::string ResolveHostDirectory(const std::string& path);

// True when two directory texts name the same directory once resolved (existing or not).
bool SameHostDirectory(const std::string& a, const std::string& b);

// Tells the case-insensitive lookup that this program created or removed a file (host path), so that
// its listing of the directory stays current without being read again.
void NoteFileCreated(const std::string& hostPath);
void NoteFileRemoved(const std::string& hostPath);

bool FileExists(const std::string& path);
// True when both paths name the same existing file or directory (links and letter case resolved).
bool IsSamePath(const std::string& a, const std::string& b);
// "" is the current directory (the directory part of a bare file name).
bool DirectoryExists(const std::string& path);
// Size in bytes, -1 when the file does not exist.
std::int64_t FileSizeOf(const std::string& path);

// Creates a directory and every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& path);

// The ordinary files (not directories) directly in a directory, names only, sorted; temporaries of this
// program are left out.
std::vector<std::string> ListDirectoryFiles(const std::string& dir);

// Copies a file; with keepStamp the modification time and the permission bits come along, except that
// the copy is always writable by its owner. False on failure.
bool CopyFilePlain(const std::string& from, const std::string& to);
bool CopyFileKeepStamp(const std::string& from, const std::string& to);

bool DeleteFileAt(const std::string& path);

} // namespace kemptor
