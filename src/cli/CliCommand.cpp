#include "cli/CliCommand.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "platform/Host.h"
#include "platform/SafeFile.h"
#include "platform/Text.h"
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
    sub.add_option(
        "--ini", ini_,
        "Settings file (default: a kemptor.ini found upward from the file, else the user's VBKEMPT3.INI)");
    sub.add_flag("--no-config", noConfig_, "Do not look for a project settings file (kemptor.ini)");
    sub.add_option("--set", sets_, "Section.Key=Value, applied after the settings file (repeatable)")
        ->allow_extra_args(false);
    sub.add_option("--tab-width", tabWidth_, "Tab width (instead of VB.INI TabStops)")
        ->check(CLI::Range(1, 80));
}

std::string CommonOptions::IniFile() const {
    // A relative --ini names a file from the working directory, as any command-line path does.
    return ini_.empty() ? std::string()
                        : host::FromFsPath(std::filesystem::absolute(host::FsPath(ini_)).lexically_normal());
}

SettingsRequest CommonOptions::RequestFor(const std::string& path) const {
    SettingsRequest request;
    request.path = path;
    request.iniFile = IniFile();
    request.iniText = ini_;
    request.noConfig = noConfig_;
    request.overrides = sets_;
    request.tabWidth = tabWidth_;
    return request;
}

std::optional<Settings> CommonOptions::LoadSettings(const std::string& path) const {
    std::string error;
    auto inForce = LoadSettingsWithOrigins(RequestFor(path), error);
    if (!inForce) {
        std::cerr << "error: " << error << '\n';
        return std::nullopt;
    }
    for (const auto& warning : inForce->warnings)
        if (warned_.insert(warning).second && !quiet_)
            std::cerr << warning << '\n';
    return inForce->values;
}

void MarkOnlyNamed(TSourceMgt& project, const std::vector<std::string>& names, std::vector<bool>& found) {
    found.resize(names.size(), false);
    for (auto& entry : project.Files()) {
        const auto it = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
            return EqualNoCase(name, entry.FileName);
        });
        entry.Selected = it != names.end();
        if (entry.Selected)
            found[it - names.begin()] = true;
    }
}

bool AllNamesFound(const std::vector<std::string>& names, const std::vector<bool>& found,
                   std::string_view where) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (i >= found.size() || !found[i]) {
            std::cerr << "error: the " << where << " names no file " << names[i] << '\n';
            return false;
        }
    }
    return true;
}

bool SelectOnlyNamed(TSourceMgt& project, const std::vector<std::string>& names) {
    std::vector<bool> found;
    MarkOnlyNamed(project, names, found);
    return AllNamesFound(names, found, "project");
}

namespace {

// The command line has no window to update; it counts the files left out.
class CliReaderObserver : public ProjectReaderObserver {
public:
    void FileLeftOut(const std::string& name) override {
        ++leftOut;
        names.push_back(name);
    }
    int leftOut = 0;
    std::vector<std::string> names;
};

} // namespace

std::unique_ptr<TSourceMgt> OpenProjectForCli(const std::string& path, Prompter& prompter, int* leftOut,
                                              std::vector<std::string>* leftOutNames) {
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
    if (leftOutNames)
        *leftOutNames = observer.names;
    return opened ? std::move(project) : nullptr;
}

void AppendTsvField(std::string& out, std::string_view text) {
    // The bytes to escape are looked for with memchr, which reads many bytes at a time; most texts
    // hold none (a line never holds CR or LF), and the run before each one is appended whole.
    const char* p = text.data();
    const char* const end = p + text.size();
    const auto next = [&end](const char* from, char c) {
        const void* at = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return at ? static_cast<const char*>(at) : end;
    };
    const char* tab = next(p, '\t');
    const char* backslash = next(p, '\\');
    const char* cr = next(p, '\r');
    const char* lf = next(p, '\n');
    while (true) {
        const char* at = std::min({tab, backslash, cr, lf});
        out.append(p, static_cast<std::size_t>(at - p));
        if (at == end)
            return;
        out += '\\';
        switch (*at) {
        case '\t':
            out += 't';
            tab = next(at + 1, '\t');
            break;
        case '\r':
            out += 'r';
            cr = next(at + 1, '\r');
            break;
        case '\n':
            out += 'n';
            lf = next(at + 1, '\n');
            break;
        default:
            out += '\\';
            backslash = next(at + 1, '\\');
            break;
        }
        p = at + 1;
    }
}

std::string TsvField(std::string_view text) {
    std::string field;
    field.reserve(text.size());
    AppendTsvField(field, text);
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
    if (!common_.LoadSettings(project_))
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
