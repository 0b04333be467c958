#pragma once
// Runs the built kemptor-cli as a user runs it: in a test's directory, with a settings directory of its
// own (DIR/config), its output and error output collected.

#include "support/TempDir.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace kemptor::test {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

// Runs `prefix kemptor-cli ARGS` in `workDir` with KEMPTOR_CONFIG_DIR set to DIR/config, its standard
// input from `stdinFile` (default: nothing).
inline CliResult RunCliIn(const TempDir& dir, const std::string& workDir, const std::string& args,
                          const std::string& prefix = "", const std::string& stdinFile = "/dev/null") {
    const std::string command = "cd '" + workDir + "' && KEMPTOR_CONFIG_DIR='" + dir.Path() + "config' " +
                                prefix + " '" + KEMPTOR_CLI + "' " + args + " >'" + dir.Path() +
                                "stdout' 2>'" + dir.Path() + "stderr' <'" + stdinFile + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, dir.Read("stdout"), dir.Read("stderr")};
}

// Runs `prefix kemptor-cli ARGS` in `dir` with KEMPTOR_CONFIG_DIR set to DIR/config.
inline CliResult RunCli(const TempDir& dir, const std::string& args, const std::string& prefix = "") {
    return RunCliIn(dir, dir.Path(), args, prefix);
}

} // namespace kemptor::test
