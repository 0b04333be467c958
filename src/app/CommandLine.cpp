#include "app/CommandLine.h"

#include <cstring>
#include <iostream>

#include "KemptorVersion.h"

namespace kemptor {
namespace {

const char* const kUsage =
    "Usage: kemptor [--debug] [PROJECT]\n"
    "       kemptor report FILE -o OUT.pdf\n"
    "       kemptor --help | --version\n"
    "\n"
    "The Kemptor/VB desktop program: opens a Visual Basic project (.vbp, .mak, .vbg) and brings it to\n"
    "the house style.\n"
    "\n"
    "Options:\n"
    "  --debug            switch the debug output window on\n"
    "  -h, --help         print this help and exit\n"
    "  --version          print the version and exit\n"
    "\n"
    "Commands:\n"
    "  report FILE -o, --output OUT.pdf\n"
    "                     write the print report of a text file as PDF (no display needed)\n"
    "\n"
    "The command line without a window is kemptor-cli (kemptor-cli --help).\n";

} // namespace

std::optional<int> RunCommandLine(int argc, char** argv) {
    if (argc < 2)
        return std::nullopt;
    const char* first = argv[1];
    if (std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0) {
        std::cout << kUsage;
        return std::cout.flush() ? 0 : 2;
    }
    if (std::strcmp(first, "--version") == 0) {
        std::cout << "kemptor " << KEMPTOR_VERSION_TEXT << '\n';
        return std::cout.flush() ? 0 : 2;
    }
    if (std::strcmp(first, "report") == 0)
        return RunReportCommand(argc - 1, argv + 1);
    return std::nullopt;
}

} // namespace kemptor
