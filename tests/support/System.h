#pragma once
// The few things a test asks of the system it runs on, answered here once for POSIX and Windows.

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include "support/Windows.h"
#include <stdlib.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kemptor::test {

inline void SetEnv(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    ::setenv(name, value.c_str(), 1);
#endif
}

inline void UnsetEnv(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");
#else
    ::unsetenv(name);
#endif
}

// True when a directory without write permission refuses new files to this process: not for the
// superuser, and not on Windows, where a directory's read-only mode only marks it.
inline bool DirectoryModesBind() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() != 0;
#endif
}

// A path as the program shows it in messages: with the host's separator ("\\" on Windows).
inline std::string Native(std::string path) {
#ifdef _WIN32
    for (char& c : path)
        if (c == '/')
            c = '\\';
#endif
    return path;
}

inline long CurrentProcess() {
#ifdef _WIN32
    return static_cast<long>(::GetCurrentProcessId());
#else
    return static_cast<long>(::getpid());
#endif
}

// The id of a process that runs no longer: a child that has ended (and, on POSIX, been reaped).
inline long EndedProcess() {
#ifdef _WIN32
    wchar_t command[] = L"cmd.exe /c exit 0";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        return -1;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess); // the id is free once the last handle is gone
    return static_cast<long>(process.dwProcessId);
#else
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<long>(child);
#endif
}

} // namespace kemptor::test
