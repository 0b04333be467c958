// kemptor-cli: the headless front end over the same core as the GUI. The commands register themselves
// (see CliCommand.h); this file only builds the parser and runs the chosen one.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <memory>
#include <new>
#include <vector>

#include "KemptorVersion.h"
#include "cli/CliCommand.h"
#include "platform/Host.h"

int main(int argc, char** argv) {
    using namespace kemptor;
    // Arguments in UTF-8 on every system; stdout carries the formatted bytes untranslated.
    std::vector<std::string> args = host::PrepareConsole(argc, argv);
    CLI::App app{"Kemptor/VB command line", args.empty() ? std::string("kemptor-cli") : args.front()};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("kemptor-cli ") + KEMPTOR_VERSION_TEXT,
                         "Print the version and exit");
    // Options start with "-" on every system: on Windows "/x" is a path from the drive's root, as it
    // is a path on Linux, and the commands parse the same arguments the same way everywhere. Every
    // subcommand added below inherits this.
    app.allow_windows_style_options(false);

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
        if (!args.empty())
            args.erase(args.begin());
        std::reverse(args.begin(), args.end()); // the parser takes the arguments last first
        app.parse(args);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? kExitOk : kExitBadInput;
    }
    for (auto& p : prepared) {
        if (!p.sub->parsed())
            continue;
        // The commands catch an exhausted memory where they know the file in hand; this is the last
        // stop, so that no input ends the program with an abort.
        try {
            return FinishStandardOutput(p.command->Run());
        } catch (const std::bad_alloc&) {
            std::cerr << "error: not enough memory to run " << p.sub->get_name() << '\n';
            return kExitBadInput;
        }
    }
    return kExitBadInput;
}
