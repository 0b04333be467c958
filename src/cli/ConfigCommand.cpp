// kemptor-cli config [common] [PATH]: the settings in force for PATH (default: the working directory)
// and where each value came from. The first lines, beginning with "# ", name the settings file read;
// then one line per setting, "Section.Key=Value<TAB>origin", origin being "default", "user INI",
// "--ini", "project file" or "--set".
#include "cli/CliCommand.h"

#include "settings/SettingsProfile.h"

#include <iostream>

namespace kemptor {
namespace {

const char* FileKindText(SettingOrigin origin) {
    switch (origin) {
    case SettingOrigin::ProjectFile:
        return "project settings file";
    case SettingOrigin::IniOption:
        return "settings file (--ini)";
    default:
        return "user settings file";
    }
}

class ConfigCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        sub.add_option("PATH", path_,
                       "A source file, project file or directory (default: the working directory)");
    }

    int Run() override {
        std::string error;
        const auto inForce = LoadSettingsWithOrigins(common_.RequestFor(path_), error);
        if (!inForce) {
            std::cerr << "error: " << error << '\n';
            return kExitBadInput;
        }
        for (const auto& warning : inForce->warnings)
            std::cerr << warning << '\n';

        std::cout << "# " << FileKindText(inForce->fileOrigin) << ": " << inForce->file << '\n';
        std::size_t row = 0;
        for (const SettingDef& def : SettingsCatalogue()) {
            std::cout << def.section << '.' << def.key << '=' << SettingValueText(inForce->values, def)
                      << '\t' << SettingOriginName(inForce->origins[row++]) << '\n';
        }
        std::cout << "Visual Basic.TabStops=" << inForce->values.TabWidth << '\t'
                  << SettingOriginName(inForce->tabWidthOrigin) << '\n';
        return kExitOk;
    }

private:
    CommonOptions common_;
    std::string path_ = ".";
};

const bool registered = RegisterCliCommand<ConfigCommand>(
    "config", "Show the settings in force for a path and where each came from");

} // namespace
} // namespace kemptor
