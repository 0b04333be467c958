#pragma once
// The commands of kemptor-cli. Each command lives in its own source file and registers itself:
//
//     namespace {
//     class FormatCommand : public CliCommand {
//         void Setup(CLI::App& sub) override {
//             common.AddTo(sub);
//             sub.add_option("FILE", files)->required();
//         }
//         int Run() override { ... return kExitOk; }
//         CommonOptions common;
//         std::vector<std::string> files;
//     };
//     const bool registered = RegisterCliCommand<FormatCommand>("format", "Format source files");
//     } // namespace
//
// main() adds one subcommand per registered command, parses, and runs the chosen one.

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Prompter.h"
#include "project/TSourceMgt.h"
#include "settings/Settings.h"
#include "settings/SettingsOrigins.h"

namespace kemptor {

inline constexpr int kExitOk = 0;
inline constexpr int kExitWouldChange = 1; // --check found files that would change
inline constexpr int kExitBadInput = 2;    // bad usage or input; the message is on stderr
inline constexpr int kExitRefused = 3;     // a formatted text was refused by the code check
inline constexpr int kExitInternal = 4;    // an internal error (an exception caught at the top)

class CliCommand {
public:
    virtual ~CliCommand() = default;
    // Declares the command's options and arguments on its subcommand.
    virtual void Setup(CLI::App& sub) = 0;
    // Runs after a successful parse; returns the exit status.
    virtual int Run() = 0;
};

using CliCommandFactory = std::unique_ptr<CliCommand> (*)();

struct CliCommandEntry {
    std::string name;
    std::string description;
    CliCommandFactory factory;
};

// Adds a command; called from a static initialiser in the command's source file.
bool RegisterCliCommand(std::string name, std::string description, CliCommandFactory factory);
template <class Command> bool RegisterCliCommand(std::string name, std::string description) {
    return RegisterCliCommand(std::move(name), std::move(description),
                              []() -> std::unique_ptr<CliCommand> { return std::make_unique<Command>(); });
}
// Every registered command, sorted by name.
std::vector<CliCommandEntry> RegisteredCliCommands();

// The options every settings-dependent command shares: --ini FILE, --no-config, --set Section.Key=Value
// (repeatable, applied after the file), --tab-width N (instead of VB.INI).
class CommonOptions {
public:
    void AddTo(CLI::App& sub);
    // What LoadSettings would read for `path`, with the origin of every value.
    SettingsRequest RequestFor(const std::string& path) const;
    // Loads the settings in force for `path` (a source file or a project file) the same way for every
    // command: defaults, the settings file (--ini, else a kemptor.ini found upward from the path, else
    // the user's VBKEMPT3.INI), each --set in order, then the tab width. Prints a project file's ignored
    // keys as warnings on stderr; prints the problem and returns nullopt on a bad --ini or --set.
    std::optional<Settings> LoadSettings(const std::string& path) const;
    // --quiet: the settings files' warnings are not printed.
    void SetQuiet(bool quiet) { quiet_ = quiet; }
    bool Quiet() const { return quiet_; }
    bool NoConfig() const { return noConfig_; }
    // The settings file that --ini names (absolute), empty when none.
    std::string IniFile() const;

private:
    std::string ini_;
    bool noConfig_ = false;
    std::vector<std::string> sets_;
    int tabWidth_ = 0; // 0: read VB.INI
    bool quiet_ = false;
    mutable std::set<std::string> warned_; // a project file's warnings are printed once per command
};

// Selects only the entries named by `names` (file names compared without regard to case). Prints an
// error and returns false for a name the project lacks.
bool SelectOnlyNamed(TSourceMgt& project, const std::vector<std::string>& names);
// The same in steps, for the projects of a group, each of which may hold only some of the names: marks
// the project's entries and notes in `found` (one flag a name) the names it holds...
void MarkOnlyNamed(TSourceMgt& project, const std::vector<std::string>& names, std::vector<bool>& found);
// ...and, once every project has been marked, prints an error naming the first name none held
// ("the project group names no file X") and returns false.
bool AllNamesFound(const std::vector<std::string>& names, const std::vector<bool>& found,
                   std::string_view where);

// Opens a project for a command: messages go to stderr as "kind: text", OK/Yes answered. Returns nullptr
// when no project could be opened. `leftOut` (optional) receives the number of files the project names
// that were left out (missing, special or not text; each was warned about), `leftOutNames` (optional)
// their names.
std::unique_ptr<TSourceMgt> OpenProjectForCli(const std::string& path, Prompter& prompter,
                                              int* leftOut = nullptr,
                                              std::vector<std::string>* leftOutNames = nullptr);

// One field of a TSV row: TAB, CR, LF and backslash are written as \t, \r, \n and \\ so that every row
// keeps its columns whatever the text holds.
std::string TsvField(std::string_view text);
// The same, appended to `out`.
void AppendTsvField(std::string& out, std::string_view text);

// Flushes standard output at the end of a command. A write that failed (a full disk, a closed pipe) is
// reported on stderr and turns the exit status into 2: the output is incomplete.
int FinishStandardOutput(int status);

// A command that takes the common options and one PROJECT, opens it and reports on it: exit 2 when the
// settings or the project cannot be read, else what RunOnProject returns.
class ProjectReportCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override;
    int Run() override;

protected:
    virtual int RunOnProject(TSourceMgt& project) = 0;

private:
    CommonOptions common_;
    std::string project_;
};

} // namespace kemptor
