// Paths on Windows are already host paths: drive letters, "\" and UNC names are the system's own, and
// the file system finds a name in any letter case by itself. An existing file is given the letter case
// its name has on disk, so that copies are named as the disk names their sources, as on other systems.
#include "platform/WinPath.h"

#include "platform/Host.h"

#include <windows.h>

#include "platform/win/Utf16.h"

namespace kemptor {

// No name is looked at in a way that tells its status: `seen` stays empty.
std::string MapToHostPath(const std::string& path, host::NameStatus*) {
    return MapToHostPath(path);
}

std::string MapToHostPath(const std::string& path) {
    const size_t nameStart = path.find_last_of("\\/:") + 1; // 0 when there is no directory part
    if (nameStart >= path.size() || path.find_first_of("*?") != std::string::npos)
        return path;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(host::SystemPath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return path; // missing: the name as written
    ::FindClose(search);
    // Only a name that differs in letter case is taken: "dir\." finds the directory's own name, and a
    // short name ("PROGRA~1") finds the long one, which are other texts for the same file.
    const std::wstring written = host::Widen(std::string_view(path).substr(nameStart));
    const std::wstring_view onDisk = found.cFileName;
    if (written == onDisk ||
        ::CompareStringOrdinal(written.data(), static_cast<int>(written.size()), onDisk.data(),
                               static_cast<int>(onDisk.size()), TRUE) != CSTR_EQUAL)
        return path;
    return path.substr(0, nameStart) + host::Narrow(onDisk);
}

// Drive letters, drive-relative and UNC paths are the system's own here.
bool IsUnmappableWindowsPath(const std::string&) {
    return false;
}

// The system finds names in any letter case by itself: there is no listing to keep current.
void NoteFileCreated(const std::string&) {}

void NoteFileRemoved(const std::string&) {}

} // namespace kemptor
