// kemptor-cli: the headless front end over the same core as the GUI.
#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"Kemptor/VB command line"};
    app.require_subcommand(1);
    app.add_subcommand("list", "List the files of a project");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    return 0;
}
