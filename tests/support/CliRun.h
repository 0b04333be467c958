#pragma once
// Runs the built kemptor-cli as a user runs it from a shell, in a given working directory.

#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "support/TempDir.h"

namespace kemptor::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs `kemptor-cli ARGUMENTS` (a shell text: quote paths) in `workDir` ("" for the current directory),
// with the variables of `environment` ("NAME='value' ...") and standard input from `stdinFile` when
// given. The output is caught in files of a scratch directory.
inline CliResult RunCliIn(const std::string& workDir, const std::string& arguments,
                          const std::string& environment = "", const std::string& stdinFile = "") {
    TempDir scratch;
    std::string command = workDir.empty() ? std::string() : "cd '" + workDir + "' && ";
    command += environment.empty() ? std::string() : "env " + environment + " ";
    command += std::string("'") + KEMPTOR_CLI + "' " + arguments;
    if (!stdinFile.empty())
        command += " <'" + stdinFile + "'";
    command += " >'" + scratch.Path() + "stdout' 2>'" + scratch.Path() + "stderr'";
    const int raw = std::system(command.c_str());
    CliResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = scratch.Read("stdout");
    result.err = scratch.Read("stderr");
    return result;
}

} // namespace kemptor::test
