#pragma once
// Runs the built kemptor-cli as a user runs it and splits its TSV output.

#include <cstdio>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "support/TempDir.h"

namespace kemptor::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

// `args` follow the program name as a shell would split them; stderr is captured separately.
inline CliResult RunCli(const std::string& args) {
    TempDir dir;
    CliResult result;
    const std::string command = std::string(KEMPTOR_CLI) + " " + args + " 2>" + dir.Path() + "err";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    int raw = ::pclose(pipe);
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

} // namespace kemptor::test
