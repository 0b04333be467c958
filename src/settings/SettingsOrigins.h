#pragma once
// The settings a command works with and where each value came from: the built-in defaults, then one
// settings file (the file named by --ini, else a project's "kemptor.ini" found upward from the path being
// formatted, else the user's VBKEMPT3.INI), then each --set in order.
//
// A project settings file lives in the repository beside the code, so that every machine (a developer's
// desktop, a CI runner) formats the code alike: when one is found the user's own INI is not read, and only
// the formatting keys are taken from it (the output directory, the backup mode, the preview and the user's
// name stay the user's business and are ignored with a warning).

#include <optional>
#include <string>
#include <vector>

#include "settings/Settings.h"

namespace kemptor {

inline constexpr const char* kProjectSettingsFileName = "kemptor.ini";

// The directories searched for the project settings file of `path`, nearest first: the path's directory
// and its parents up to the root of its repository (the first that holds ".git"), else up to the user's
// home directory; outside both, the path's directory alone.
std::vector<std::string> SettingsSearchDirectories(const std::string& path);

// The project settings file that governs `path` (a source file, a project file or a directory): the
// first "kemptor.ini" of SettingsSearchDirectories. One owned by another user or writable by others is
// passed over, with a warning added to `warnings`: it may have been planted.
std::optional<std::string> FindProjectSettingsFile(const std::string& path,
                                                   std::vector<std::string>* warnings = nullptr);

// True for the settings that decide how code is formatted (not the output directory, backup mode,
// preview or user information).
bool IsFormattingSetting(const SettingDef& def);

enum class SettingOrigin { Default, UserIni, IniOption, ProjectFile, Override };
// "default", "user INI", "--ini", "project file", "--set".
const char* SettingOriginName(SettingOrigin origin);

struct SettingsRequest {
    std::string path;                   // what is formatted; empty: no project settings file is looked for
    std::string iniFile;                // --ini; empty: none
    std::string iniText;                // --ini as the user typed it, for messages
    bool noConfig = false;              // --no-config: never use a project settings file
    std::vector<std::string> overrides; // --set texts, applied in order
    int tabWidth = 0;                   // --tab-width; 0: the settings file's or VB.INI's TabStops
};

struct SettingsWithOrigins {
    Settings values;
    std::vector<SettingOrigin> origins; // one per catalogue row, in catalogue order
    SettingOrigin tabWidthOrigin = SettingOrigin::Default;
    SettingOrigin fileOrigin = SettingOrigin::UserIni; // the kind of settings file read
    std::string file;                                  // its host path
    // Settings files passed over, keys of a project file that are ignored and values not valid for
    // their key, each a whole message.
    std::vector<std::string> warnings;
};

// Loads the settings in force for a request. Returns the error text for a --ini file or a project settings
// file that is missing, not a regular file (a FIFO would block the read) or too large, and for a --set
// that names no setting or holds a bad value.
std::optional<SettingsWithOrigins> LoadSettingsWithOrigins(const SettingsRequest& request,
                                                           std::string& error);

// For the desktop program, whose settings come from the Options dialog: when a project settings file
// governs `projectPath`, replaces the formatting keys of `s` by the file's (defaults for the keys it does
// not hold) and, when it gives [Visual Basic] TabStops, the tab width. Returns the file's path.
std::optional<std::string> ApplyProjectSettingsFile(Settings& s, const std::string& projectPath);

} // namespace kemptor
