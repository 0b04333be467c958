// Modification times and permission bits on POSIX systems.
#include "platform/Host.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace kemptor::host {

bool CopyStampAndPermissions(const std::string& hostFrom, const std::string& hostTo) {
    struct stat st;
    if (::stat(hostFrom.c_str(), &st) != 0)
        return false;
    ::chmod(hostTo.c_str(), (st.st_mode & 07777) | S_IWUSR);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    return ::utimensat(AT_FDCWD, hostTo.c_str(), times, 0) == 0;
}

} // namespace kemptor::host
