// Paths on Windows are already host paths: drive letters, "\" and UNC names are the system's own, and
// the file system finds a name in any letter case by itself.
#include "platform/WinPath.h"

namespace kemptor {

std::string MapToHostPath(const std::string& path) {
    return path;
}

} // namespace kemptor
