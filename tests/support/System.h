#pragma once
// The few things a test asks of the system it runs on, answered here once for POSIX and Windows.

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <stdlib.h>
#else
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

} // namespace kemptor::test
