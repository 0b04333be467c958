#pragma once
// Runs the built kemptor-cli as a user runs it: in a test's directory, with a settings directory of its
// own (DIR/config), its output and error output collected.

#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

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

// Runs `kemptor-cli ARGS` in the working directory with the environment as it is; `args` follow the
// program name as a shell would split them (quote paths that may hold blanks).
inline CliResult RunCli(const std::string& args) {
    TempDir dir;
    CliResult result{-1, {}, {}};
    const std::string command = std::string(KEMPTOR_CLI) + " " + args + " 2>'" + dir.Path() + "err'";
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

// The rows of a TSV text, each split at its tabs.
inline std::vector<std::vector<std::string>> Rows(const std::string& tsv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(tsv);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t'))
            fields.push_back(cell);
        rows.push_back(fields);
    }
    return rows;
}

// Runs `prefix kemptor-cli ARGS` in `dir` with KEMPTOR_CONFIG_DIR set to DIR/config.
inline CliResult RunCli(const TempDir& dir, const std::string& args, const std::string& prefix = "") {
    return RunCliIn(dir, dir.Path(), args, prefix);
}

} // namespace kemptor::test
