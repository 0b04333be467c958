#pragma once
// What the desktop program does before it opens a window: `--help` and `--version` print and end, and
// `report FILE -o OUT.pdf` writes the print report of a file as PDF without a display. Anything else
// (`[--debug] [PROJECT]` and Qt's own options) starts the program as usual.

#include <optional>

namespace kemptor {

// The exit status when the arguments asked for a command that ran without a window; nullopt when the
// program is to start its windows.
std::optional<int> RunCommandLine(int argc, char** argv);

// kemptor report FILE -o OUT.pdf (ReportCommand.cpp): the arguments after "report".
int RunReportCommand(int argc, char** argv);

} // namespace kemptor
