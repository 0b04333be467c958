// kemptor-cli: the headless front end over the same core as the GUI. The commands register themselves
// (see CliCommand.h); this file only builds the parser and runs the chosen one.
#include <CLI/CLI.hpp>

#include <memory>
#include <vector>

#include "cli/CliCommand.h"

int main(int argc, char** argv) {
    using namespace kemptor;
    CLI::App app{"Kemptor/VB command line"};
    app.require_subcommand(1);

    struct Prepared {
        CLI::App* sub;
        std::unique_ptr<CliCommand> command;
    };
    std::vector<Prepared> prepared;
    for (const auto& entry : RegisteredCliCommands()) {
        CLI::App* sub = app.add_subcommand(entry.name, entry.description);
        auto command = entry.factory();
        command->Setup(*sub);
        prepared.push_back({sub, std::move(command)});
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitOk : kExitBadInput;
    }
    for (auto& p : prepared)
        if (p.sub->parsed())
            return FinishStandardOutput(p.command->Run());
    return kExitBadInput;
}
