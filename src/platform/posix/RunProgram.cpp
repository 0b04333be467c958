// Running another program on POSIX systems: fork and exec, its output read through a pipe.
#include "platform/Host.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kemptor::host {

namespace {

// In the child between fork and exec: standard input from the null device, output to the pipe, error
// output discarded. Only async-signal-safe calls and environment edits (this process has one thread
// here) are made; an exec that fails reports its errno through `errorPipe`.
[[noreturn]] void ExecChild(const std::vector<const char*>& argv, const std::string& workDir,
                            const std::vector<std::string>& unset, int outPipe, int errorPipe) {
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDERR_FILENO);
    }
    ::dup2(outPipe, STDOUT_FILENO);
    for (const std::string& name : unset)
        ::unsetenv(name.c_str());
    if (workDir.empty() || ::chdir(workDir.c_str()) == 0)
        ::execvp(argv[0], const_cast<char* const*>(argv.data()));
    const int error = errno;
    [[maybe_unused]] const ssize_t n = ::write(errorPipe, &error, sizeof error);
    ::_exit(127);
}

} // namespace

std::optional<ProgramOutput> RunProgram(const std::vector<std::string>& args, const std::string& workDir,
                                        const std::vector<std::string>& unset) {
    if (args.empty())
        return std::nullopt;
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);

    int out[2];
    int error[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return std::nullopt;
    if (::pipe2(error, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return std::nullopt;
    }
    const pid_t pid = ::fork();
    if (pid == 0)
        ExecChild(argv, workDir, unset, out[1], error[1]);
    ::close(out[1]);
    ::close(error[1]);
    std::optional<ProgramOutput> result;
    if (pid > 0) {
        result.emplace();
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(out[0], buffer, sizeof buffer);
            if (n > 0)
                result->output.append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || errno != EINTR)
                break;
        }
        int execError = 0;
        const bool execFailed = ::read(error[0], &execError, sizeof execError) == sizeof execError;
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (execFailed)
            result.reset();
        else
            result->exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::close(out[0]);
    ::close(error[0]);
    return result;
}

} // namespace kemptor::host
