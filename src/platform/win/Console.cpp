// The console on Windows: the arguments are taken in UTF-16 and handed on as UTF-8, and the standard
// streams are switched to binary so that formatted text keeps its CR LF bytes exactly as on Linux
// (text mode would turn every LF into CR LF, and CR LF into CR CR LF).
#include "platform/Host.h"

#include <cstdio>
#include <cstdlib>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include "platform/win/Utf16.h"

namespace kemptor::host {

namespace {

UINT originalOutputCodePage = 0;

void RestoreOutputCodePage() {
    ::SetConsoleOutputCP(originalOutputCodePage);
}

// Messages name files in UTF-8: a console window shows them right only in the UTF-8 code page. The
// console's own code page is put back when the program ends, as the console outlives it.
void ShowUtf8InConsole() {
    if (!::_isatty(::_fileno(stdout)) && !::_isatty(::_fileno(stderr)))
        return;
    originalOutputCodePage = ::GetConsoleOutputCP();
    if (originalOutputCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8))
        std::atexit(RestoreOutputCodePage);
}

} // namespace

std::vector<std::string> PrepareConsole(int argc, char** argv) {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    ShowUtf8InConsole();

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

bool StdoutIsTerminal() {
    return ::_isatty(::_fileno(stdout)) != 0;
}

} // namespace kemptor::host
