// kemptor-cli report: the PDF report is drawn with Qt, which the command line does not link (it stays a
// small program with no GUI libraries for CI machines and hooks). The command remains to say where the
// report went.
#include <iostream>

#include "cli/CliCommand.h"

namespace kemptor {
namespace {

class ReportMovedCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        // Whatever followed "report" is taken, so that the message below appears instead of a parse error.
        sub.prefix_command();
    }

    int Run() override {
        std::cerr << "error: the report is written by the desktop program: kemptor report FILE -o OUT.pdf\n";
        return kExitBadInput;
    }
};

const bool registered = RegisterCliCommand<ReportMovedCommand>(
    "report", "Moved to the desktop program: kemptor report FILE -o OUT.pdf");

} // namespace
} // namespace kemptor
