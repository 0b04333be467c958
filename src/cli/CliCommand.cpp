#include "cli/CliCommand.h"

#include <algorithm>
#include <iostream>

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
    return ini_.empty() ? std::string(kSettingsFileName) : ini_;
}

std::optional<Settings> CommonOptions::LoadSettings() const {
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

std::unique_ptr<TSourceMgt> OpenProjectForCli(const std::string& path, Prompter& prompter) {
    ProjectReaderObserver observer; // the command line has no window to update
    std::unique_ptr<TSourceMgt> project;
    if (!OpenProject(path, project, observer, prompter))
        return nullptr;
    return project;
}

void ProjectReportCommand::Setup(CLI::App& sub) {
    common_.AddTo(sub);
    sub.add_option("PROJECT", project_, "Project file (*.vbp or *.mak)")->required();
}

int ProjectReportCommand::Run() {
    if (!common_.LoadSettings())
        return kExitBadInput;
    CliPrompter prompter;
    auto project = OpenProjectForCli(project_, prompter);
    if (!project)
        return kExitBadInput;
    return RunOnProject(*project);
}

} // namespace kemptor
