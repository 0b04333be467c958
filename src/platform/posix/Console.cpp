// The console on POSIX systems: the arguments are bytes already and the streams do no translation.
#include "platform/Host.h"

#include <unistd.h>

namespace kemptor::host {

std::vector<std::string> PrepareConsole(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

bool StderrIsTerminal() {
    return ::isatty(STDERR_FILENO) != 0;
}

bool StdoutIsTerminal() {
    return ::isatty(STDOUT_FILENO) != 0;
}

} // namespace kemptor::host
