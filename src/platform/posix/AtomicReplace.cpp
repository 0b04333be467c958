// Replacing a file in one step on POSIX systems: a temporary file beside the target, renamed over it.
#include "platform/Host.h"

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace kemptor::host {

namespace {

// 0666 less the umask, read once: setting the umask to look at it is not safe while other threads
// create files.
mode_t NewFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    return mode;
}

} // namespace

bool WriteReplacing(const std::string& hostTarget, const std::function<bool(int fd)>& write) {
    if (hostTarget.empty() || hostTarget.back() == '/')
        return false;
    const size_t slash = hostTarget.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : hostTarget.substr(0, slash + 1);
    const std::string name = hostTarget.substr(dir.size());
    std::string temp = dir + "." + name + ".XXXXXX";
    UniqueFd f{::mkstemp(temp.data())};
    if (f.fd < 0)
        return false;

    // The rename protects against a crash of the program, not against a power cut (no fsync: a run
    // writes thousands of files).
    struct stat st;
    const mode_t mode = ::stat(hostTarget.c_str(), &st) == 0 ? (st.st_mode & 07777) : NewFileMode();
    bool ok = ::fchmod(f.fd, mode) == 0 && write(f.fd);
    ok = f.Close() && ok;
    if (ok && ::rename(temp.c_str(), hostTarget.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

} // namespace kemptor::host
