#include "cli/CliCommand.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

#include "platform/SafeFile.h"
#include "project/ProjectReader.h"
#include "settings/SettingsProfile.h"

namespace kemptor {

namespace {

std::vector<CliCommandEntry>& Registry() {
    static std::vector<CliCommandEntry> commands;
    return commands;
}

} // namespace

bool RegisterCliCommand(std::string name, std::string description, CliCommandFactory factory) {
    Registry().push_back({std::move(name), std::move(description), factory});
    return true;
}

std::vector<CliCommandEntry> RegisteredCliCommands() {
    auto commands = Registry();
    std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return commands;
}

void CommonOptions::AddTo(CLI::App& sub) {
    sub.add_option("--ini", ini_, "Settings file (default: the user's VBKEMPT3.INI)");
    sub.add_option("--set", sets_, "Section.Key=Value, applied after the settings file (repeatable)")
        ->allow_extra_args(false);
    sub.add_option("--tab-width", tabWidth_, "Tab width (instead of VB.INI TabStops)")
        ->check(CLI::Range(1, 80));
}

std::string CommonOptions::SettingsFile() const {
    if (ini_.empty())
        return kSettingsFileName;
    // A name given on the command line is a path like any other: "my.ini" is the working directory's,
    // not a file of the settings directory.
    return ini_.find('/') == std::string::npos ? "./" + ini_ : ini_;
}

std::optional<Settings> CommonOptions::LoadSettings() const {
    // A settings file named on the command line must be there: a mistyped name would silently give the
    // defaults. The user's own file may be missing (the defaults are meant then).
    if (!ini_.empty()) {
        if (const FileProblem problem = CheckTextFile(SettingsFile()); problem != FileProblem::None) {
            std::cerr << "error: the settings file " << FileProblemText(ini_, problem) << '\n';
            return std::nullopt;
        }
    }
    Settings settings;
    kemptor::LoadSettings(settings, SettingsFile());
    for (const auto& assignment : sets_) {
        if (auto error = ApplySettingOverride(settings, assignment)) {
            std::cerr << "error: " << *error << '\n';
            return std::nullopt;
        }
    }
    settings.TabWidth = tabWidth_ > 0 ? tabWidth_ : ReadTabStops();
    return settings;
}

namespace {

// The command line has no window to update; it counts the files left out.
class CliReaderObserver : public ProjectReaderObserver {
public:
    void FileLeftOut(const std::string&) override { ++leftOut; }
    int leftOut = 0;
};

} // namespace

std::unique_ptr<TSourceMgt> OpenProjectForCli(const std::string& path, Prompter& prompter, int* leftOut) {
    // A FIFO or a device given as the project is named as such rather than called an invalid project.
    if (const FileProblem problem = CheckTextFile(path);
        problem == FileProblem::NotRegular || problem == FileProblem::TooLarge) {
        std::cerr << "error: " << FileProblemText(path, problem) << '\n';
        return nullptr;
    }
    CliReaderObserver observer;
    std::unique_ptr<TSourceMgt> project;
    const bool opened = OpenProject(path, project, observer, prompter);
    if (leftOut)
        *leftOut = observer.leftOut;
    return opened ? std::move(project) : nullptr;
}

std::string TsvField(std::string_view text) {
    std::string field;
    field.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\t':
            field += "\\t";
            break;
        case '\r':
            field += "\\r";
            break;
        case '\n':
            field += "\\n";
            break;
        case '\\':
            field += "\\\\";
            break;
        default:
            field += c;
        }
    }
    return field;
}

int FinishStandardOutput(int status) {
    std::cout.flush();
    const bool failed = !std::cout.good() || std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!failed)
        return status;
    std::cerr << "error: cannot write to standard output; the output is incomplete\n";
    return kExitBadInput;
}

void ProjectReportCommand::Setup(CLI::App& sub) {
    common_.AddTo(sub);
    sub.add_option("PROJECT", project_, "Project file (*.vbp or *.mak)")->required();
}

int ProjectReportCommand::Run() {
    if (!common_.LoadSettings())
        return kExitBadInput;
    CliPrompter prompter;
    int leftOut = 0;
    auto project = OpenProjectForCli(project_, prompter, &leftOut);
    if (!project)
        return kExitBadInput;
    const int status = RunOnProject(*project);
    // Files the project names were left out (each warned about): the report is incomplete.
    return status == kExitOk && leftOut > 0 ? kExitBadInput : status;
}

} // namespace kemptor
