#pragma once
// Runs the built kemptor-cli as a user runs it: in a test's directory, with a settings directory of its
// own (DIR/config), its output and error output collected.

#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include "support/Windows.h"

#include "platform/win/Utf16.h"
#else
#include <sys/wait.h>
#endif

namespace kemptor::test {

struct CliResult {
    int status;
    std::string out;
    std::string err;
};

#ifdef _WIN32
// The null device; a test's standard input when it gives none.
inline const std::string kNoInput = "NUL";

namespace detail {

inline HANDLE OpenInherited(const std::string& path, bool write) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(host::Widen(path).c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, write ? CREATE_ALWAYS : OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs kemptor-cli.exe with `args`, written as for a POSIX shell: single quotes group as double quotes
// do on Windows (the test paths hold neither). The settings directory is passed in the environment the
// program inherits; its standard streams are files.
inline int RunWindows(const std::string& workDir, const std::string& args, const std::string& configDir,
                      const std::string& in, const std::string& out, const std::string& err,
                      DWORD killAfterMs = 60000) {
    std::string line = std::string("\"") + KEMPTOR_CLI + "\" " + args;
    for (char& c : line)
        if (c == '\'')
            c = '"';
    std::wstring command = host::Widen(line);
    if (!configDir.empty())
        ::SetEnvironmentVariableW(L"KEMPTOR_CONFIG_DIR", host::Widen(configDir).c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = OpenInherited(in, false);
    startup.hStdOutput = OpenInherited(out, true);
    startup.hStdError = OpenInherited(err, true);
    PROCESS_INFORMATION process{};
    const std::wstring dir = host::Widen(workDir);
    const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                          workDir.empty() ? nullptr : dir.c_str(), &startup, &process);
    for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
    if (!configDir.empty())
        ::SetEnvironmentVariableW(L"KEMPTOR_CONFIG_DIR", nullptr);
    if (!started)
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(process.hProcess, killAfterMs) == WAIT_TIMEOUT)
        ::TerminateProcess(process.hProcess, code);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    return static_cast<int>(code);
}

} // namespace detail
#else
inline const std::string kNoInput = "/dev/null";
#endif

// Runs `prefix kemptor-cli ARGS` in `workDir` with KEMPTOR_CONFIG_DIR set to DIR/config, its standard
// input from `stdinFile` (default: nothing) and its standard output into `stdoutFile` when one is given
// (the result's `out` is then empty). `prefix` is shell text run before the program on POSIX systems (a
// `ulimit`, a `timeout` wrapper); Windows has no such shell and runs the program alone. A program that
// runs for more than a minute is ended: a hang fails the test instead of stopping the suite.
inline CliResult RunCliIn(const TempDir& dir, const std::string& workDir, const std::string& args,
                          const std::string& prefix = "", const std::string& stdinFile = kNoInput,
                          const std::string& stdoutFile = "") {
    const std::string out = stdoutFile.empty() ? dir.Path() + "stdout" : stdoutFile;
#ifdef _WIN32
    (void)prefix;
    const int status =
        detail::RunWindows(workDir, args, dir.Path() + "config", stdinFile, out, dir.Path() + "stderr");
#else
    const std::string wrapper = prefix.find("timeout") == std::string::npos ? " timeout 60" : "";
    const std::string command = "cd '" + workDir + "' && export HOME='" + dir.Path() + "' KEMPTOR_CONFIG_DIR='" +
                                dir.Path() + "config' && " + prefix + wrapper + " '" + KEMPTOR_CLI + "' " + args + " >'" +
                                out + "' 2>'" + dir.Path() + "stderr' <'" + stdinFile + "'";
    const int raw = std::system(command.c_str());
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    return {status, stdoutFile.empty() ? dir.Read("stdout") : std::string(), dir.Read("stderr")};
}

#ifndef _WIN32
// Runs `program ARGS` in the working directory with the environment as it is, as RunCli does.
inline CliResult RunProgram(const std::string& program, const std::string& args) {
    TempDir dir;
    CliResult result{-1, {}, {}};
    const std::string command = "'" + program + "' " + args + " 2>'" + dir.Path() + "err'";
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
#endif

// Runs `kemptor-cli ARGS` in the working directory with the environment as it is; `args` follow the
// program name as a shell would split them (quote paths that may hold blanks).
inline CliResult RunCli(const std::string& args) {
#ifdef _WIN32
    TempDir dir;
    const int status = detail::RunWindows("", args, "", kNoInput, dir.Path() + "out", dir.Path() + "err");
    return {status, dir.Read("out"), dir.Read("err")};
#else
    return RunProgram(KEMPTOR_CLI, args);
#endif
}

// How a test cuts a run short: an interrupt the program handles as Ctrl+C, or a kill it cannot see.
struct Interruption {
    bool kill;
    double seconds; // after the start
    std::string Describe() const {
        return (kill ? "kill after " : "Ctrl+C after ") + std::to_string(seconds) + " s";
    }
};

// Runs `kemptor-cli ARGS` in `dir` as RunCli(dir, ARGS) does and interrupts it. Windows has no signal a
// test can send to a program without a console of its own, so there every interruption is a kill
// (TerminateProcess).
#ifdef _WIN32
inline constexpr bool kInterruptsAreKills = true;
#else
inline constexpr bool kInterruptsAreKills = false;
#endif

inline CliResult RunCliInterrupted(const TempDir& dir, const std::string& args, const Interruption& how) {
#ifdef _WIN32
    const int status =
        detail::RunWindows(dir.Path(), args, dir.Path() + "config", kNoInput, dir.Path() + "stdout",
                           dir.Path() + "stderr", static_cast<DWORD>(how.seconds * 1000));
    return {status, dir.Read("stdout"), dir.Read("stderr")};
#else
    // --foreground: the interrupt goes to the program alone, once, as one Ctrl+C would; without it
    // timeout signals its process group as well, and the program gets a second interrupt.
    const std::string prefix =
        (how.kill ? "timeout -s KILL " : "timeout --foreground --preserve-status -s INT ") +
        std::to_string(how.seconds);
    return RunCliIn(dir, dir.Path(), args, prefix);
#endif
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
