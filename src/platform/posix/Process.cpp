// Process ids on POSIX systems.
#include "platform/Host.h"

#include <cerrno>
#include <csignal>

#include <unistd.h>

namespace kemptor::host {

long CurrentProcessId() {
    return static_cast<long>(::getpid());
}

bool ProcessHasEnded(long pid) {
    // Signal 0 only asks whether the process exists; EPERM means it does, under another user.
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace kemptor::host
