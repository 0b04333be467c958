#pragma once
// Runs the built kemptor-cli as a user runs it, collecting its output, its messages and its status.

#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "support/TempDir.h"

namespace kemptor::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// `arguments` are passed to the shell as written: quote paths that may hold blanks.
inline CliRun RunKemptorCli(const std::string& arguments) {
    TempDir dir;
    CliRun result;
    const std::string command = std::string(KEMPTOR_CLI) + " " + arguments + " 2>'" + dir.Path() + "err'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.err = dir.Read("err");
    return result;
}

} // namespace kemptor::test
