// The console on Windows: the arguments are taken in UTF-16 and handed on as UTF-8, and the standard
// streams are switched to binary so that formatted text keeps its CR LF bytes exactly as on Linux
// (text mode would turn every LF into CR LF, and CR LF into CR CR LF).
#include "platform/Host.h"

#include <cstdio>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include "platform/win/Utf16.h"

namespace kemptor::host {

std::vector<std::string> PrepareConsole(int argc, char** argv) {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);

    std::vector<std::string> args;
    int count = 0;
    if (LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            args.push_back(Narrow(wide[i]));
        ::LocalFree(wide);
        return args;
    }
    return std::vector<std::string>(argv, argv + argc);
}

bool StderrIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

} // namespace kemptor::host
