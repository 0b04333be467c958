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

// Runs `prefix kemptor-cli ARGS` in `dir` with KEMPTOR_CONFIG_DIR set to DIR/config.
inline CliResult RunCli(const TempDir& dir, const std::string& args, const std::string& prefix = "") {
    const std::string command = "cd '" + dir.Path() + "' && KEMPTOR_CONFIG_DIR='" + dir.Path() + "config' " +
                                prefix + " '" + KEMPTOR_CLI + "' " + args + " >'" + dir.Path() +
                                "stdout' 2>'" + dir.Path() + "stderr' </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, dir.Read("stdout"), dir.Read("stderr")};
}

} // namespace kemptor::test
