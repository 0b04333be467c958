#include "settings/SettingsOrigins.h"

#include "platform/Host.h"
#include "platform/PathBounds.h"
#include "platform/Profile.h"
#include "platform/SafeFile.h"
#include "platform/Text.h"
#include "platform/WinPath.h"
#include "settings/SettingsProfile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <type_traits>

namespace kemptor {

namespace fs = std::filesystem;

namespace {

// The catalogue rows, with the index of each row in catalogue order.
std::size_t RowIndex(const SettingDef& def) {
    return static_cast<std::size_t>(&def - SettingsCatalogue().data());
}

bool KeyIsIn(const std::vector<ProfileKeyName>& keys, const SettingDef& def) {
    for (const auto& k : keys)
        if (EqualNoCase(k.section, def.section) && EqualNoCase(k.key, def.key))
            return true;
    return false;
}

bool IsTabStopsKey(const ProfileKeyName& k) {
    return EqualNoCase(k.section, "Visual Basic") && EqualNoCase(k.key, "TabStops");
}

// A message about one line of a settings file, in the compiler convention editors and CI jobs read.
std::string LineWarning(const std::string& file, const ProfileKeyName& k, const std::string& text) {
    return file + ":" + std::to_string(k.line) + ":1: warning: " + text;
}

bool IsExcludeKey(const ProfileKeyName& k) {
    return EqualNoCase(k.section, "Files") && EqualNoCase(k.key, "Exclude");
}

// A project file's keys that it may not set: unknown keys and the user's own settings.
std::vector<std::string> IgnoredProjectKeys(const std::vector<ProfileKeyName>& keys,
                                            const std::string& file) {
    std::vector<std::string> warnings;
    for (const auto& k : keys) {
        if (IsTabStopsKey(k) || IsExcludeKey(k))
            continue;
        const SettingDef* def = FindSetting(k.key);
        const bool known = def && EqualNoCase(k.section, def->section);
        if (!known)
            warnings.push_back(
                LineWarning(file, k, "unknown setting " + k.section + "." + k.key + " is ignored"));
        else if (!IsFormattingSetting(*def))
            warnings.push_back(
                LineWarning(file, k,
                            k.section + "." + k.key +
                                " is not a formatting setting; the project settings file cannot set it"));
    }
    return warnings;
}

// The stored text of a key as the profile functions read it: one pair of enclosing quotes dropped.
std::string_view StoredText(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// What is wrong with a stored number or switch for its row; empty when the value is taken as written.
std::string ValueProblem(const SettingDef& def, std::string_view text) {
    if (def.kind == SettingKind::Str)
        return {};
    const std::optional<int> n = ParseProfileInteger(text);
    if (def.kind == SettingKind::Bool || def.kind == SettingKind::Radio)
        return n ? std::string() : "is not 1 or 0";
    if (!n)
        return "is not a number";
    const int low = def.kind == SettingKind::Choice ? 0 : def.minimum;
    if (*n < low || *n > def.maximum)
        return "is outside " + std::to_string(low) + " to " + std::to_string(def.maximum);
    return {};
}

// Values that the file holds but that are not valid for their key: each named with the value used
// instead (the default, or the nearest end of the range), since they are not silently changed.
std::vector<std::string> InvalidValues(const std::vector<ProfileKeyName>& keys, const std::string& file,
                                       const Settings& loaded) {
    std::vector<std::string> warnings;
    std::vector<const SettingDef*> seen; // the first occurrence of a key is the one read
    for (const auto& k : keys) {
        const SettingDef* def = FindSetting(k.key);
        if (!def || !EqualNoCase(k.section, def->section) ||
            std::find(seen.begin(), seen.end(), def) != seen.end())
            continue;
        seen.push_back(def);
        const std::string problem = ValueProblem(*def, StoredText(k.value));
        if (!problem.empty())
            warnings.push_back(LineWarning(file, k,
                                           k.section + "." + k.key + "=" + k.value + " " + problem + "; " +
                                               SettingValueText(loaded, *def) + " is used"));
    }
    return warnings;
}

// Copies the value of one catalogue row from `from` into `to`.
void CopySetting(Settings& to, const Settings& from, const SettingDef& def) {
    ForEachSetting(to, [&](const SettingDef& row, auto& value) {
        if (&row != &def)
            return;
        ForEachSetting(from, [&](const SettingDef& fromRow, const auto& fromValue) {
            if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::decay_t<decltype(fromValue)>>)
                if (&fromRow == &def)
                    value = fromValue;
        });
    });
}

bool HoldsGitDirectory(const fs::path& dir) {
    std::error_code ec;
    return fs::exists(dir / ".git", ec);
}

} // namespace

std::vector<std::string> SettingsSearchDirectories(const std::string& path) {
    std::error_code ec;
    fs::path start =
        fs::absolute(host::FsPath(MapToHostPath(path.empty() ? "." : path)), ec).lexically_normal();
    if (ec)
        return {};
    if (!fs::is_directory(start, ec) || !start.has_filename())
        start = start.parent_path();
    const std::string home = host::UserHomeDirectory();
    std::vector<std::string> dirs;
    for (fs::path dir = start;; dir = dir.parent_path()) {
        dirs.push_back(host::FromFsPath(dir));
        if (HoldsGitDirectory(dir) || (!home.empty() && host::SameFile(host::FromFsPath(dir), home)))
            return dirs;
        if (dir == dir.parent_path() || dir.empty())
            break;
    }
    // Neither a repository nor the home directory above: a directory shared with other users (/tmp)
    // may lie above, and none of its files may govern this one.
    dirs.resize(1);
    return dirs;
}

std::optional<std::string> FindProjectSettingsFile(const std::string& path,
                                                   std::vector<std::string>* warnings) {
    std::error_code ec;
    for (const std::string& dir : SettingsSearchDirectories(path)) {
        const fs::path candidate = host::FsPath(dir) / kProjectSettingsFileName;
        if (!fs::is_regular_file(candidate, ec))
            continue;
        const std::string file = host::FromFsPath(candidate);
        if (host::IsOwnedByUserAlone(file))
            return file;
        if (warnings)
            warnings->push_back("warning: " + file + " is owned by another user or writable by others; it is ignored");
    }
    return std::nullopt;
}

bool IsFormattingSetting(const SettingDef& def) {
    return std::strcmp(def.section, "BackupInformation") != 0 &&
           std::strcmp(def.section, "UserInformation") != 0 &&
           std::strcmp(def.key, "PreviewBeforeSaving") != 0;
}

const char* SettingOriginName(SettingOrigin origin) {
    switch (origin) {
    case SettingOrigin::Default:
        return "default";
    case SettingOrigin::UserIni:
        return "user INI";
    case SettingOrigin::IniOption:
        return "--ini";
    case SettingOrigin::ProjectFile:
        return "project file";
    case SettingOrigin::Override:
        return "--set";
    }
    return "default";
}

std::optional<SettingsWithOrigins> LoadSettingsWithOrigins(const SettingsRequest& request,
                                                           std::string& error) {
    SettingsWithOrigins result;
    result.origins.assign(SettingsCatalogue().size(), SettingOrigin::Default);

    // Which file: --ini, else a project settings file, else the user's own INI.
    std::optional<std::string> projectFile;
    if (!request.iniFile.empty()) {
        result.file = ProfilePath(request.iniFile);
        result.fileOrigin = SettingOrigin::IniOption;
    } else if (!request.noConfig && !request.path.empty() &&
               (projectFile = FindProjectSettingsFile(request.path, &result.warnings))) {
        result.file = *projectFile;
        result.fileOrigin = SettingOrigin::ProjectFile;
    } else {
        result.file = ProfilePath(kSettingsFileName);
        result.fileOrigin = SettingOrigin::UserIni;
    }
    // A settings file named or found must be a readable regular file: a mistyped name would silently
    // give the defaults. The user's own file may be missing (the defaults are meant then).
    if (result.fileOrigin != SettingOrigin::UserIni) {
        if (const FileProblem problem = CheckTextFile(result.file); problem != FileProblem::None) {
            const std::string shown =
                result.fileOrigin == SettingOrigin::IniOption && !request.iniText.empty() ? request.iniText
                                                                                          : result.file;
            error = "the settings file " + FileProblemText(shown, problem);
            return std::nullopt;
        }
    }

    const std::vector<ProfileKeyName> keys = ListProfileKeys(result.file);
    Settings fromFile;
    LoadSettings(fromFile, result.file);
    const bool projectOnly = result.fileOrigin == SettingOrigin::ProjectFile;
    if (projectOnly)
        for (std::string& warning : IgnoredProjectKeys(keys, result.file))
            result.warnings.push_back(std::move(warning));
    if (result.fileOrigin != SettingOrigin::UserIni)
        for (std::string& warning : InvalidValues(keys, result.file, fromFile))
            result.warnings.push_back(std::move(warning));
    for (const SettingDef& def : SettingsCatalogue()) {
        if (projectOnly && !IsFormattingSetting(def))
            continue;
        CopySetting(result.values, fromFile, def);
        if (KeyIsIn(keys, def))
            result.origins[RowIndex(def)] = result.fileOrigin;
    }
    // A settings file that travels with a project names its templates from where it lies.
    if (result.fileOrigin != SettingOrigin::UserIni)
        for (std::string* name :
             {&result.values.SubLevelCommentsFile, &result.values.FunctionLevelCommentsFile})
            if (!name->empty() && !IsAbsolutePath(*name))
                *name = ExtractFileDir(result.file) + *name;

    for (const std::string& assignment : request.overrides) {
        if (auto problem = ApplySettingOverride(result.values, assignment)) {
            error = *problem;
            return std::nullopt;
        }
        const std::string key =
            assignment.substr(assignment.find('.') + 1, assignment.find('=') - assignment.find('.') - 1);
        if (const SettingDef* def = FindSetting(key)) {
            result.origins[RowIndex(*def)] = SettingOrigin::Override;
            // A radio button set by --set decides its whole group.
            if (def->kind == SettingKind::Radio)
                for (const SettingDef& other : SettingsCatalogue())
                    if (other.kind == SettingKind::Radio && std::strcmp(other.items, def->items) == 0)
                        result.origins[RowIndex(other)] = SettingOrigin::Override;
        }
    }

    // The tab width: --tab-width, else the project file's [Visual Basic] TabStops, else VB.INI's.
    if (request.tabWidth > 0) {
        result.values.TabWidth = request.tabWidth;
        result.tabWidthOrigin = SettingOrigin::Override;
    } else if (projectOnly && std::any_of(keys.begin(), keys.end(), IsTabStopsKey)) {
        result.values.TabWidth = ReadTabStops(result.file);
        result.tabWidthOrigin = SettingOrigin::ProjectFile;
    } else {
        result.values.TabWidth = ReadTabStops();
        result.tabWidthOrigin =
            FileExists(ProfilePath(kVbIniFileName)) ? SettingOrigin::UserIni : SettingOrigin::Default;
    }
    return result;
}

std::optional<std::string> ApplyProjectSettingsFile(Settings& s, const std::string& projectPath) {
    if (projectPath.empty())
        return std::nullopt;
    std::string error;
    SettingsRequest request;
    request.path = projectPath;
    const auto loaded = LoadSettingsWithOrigins(request, error);
    if (!loaded || loaded->fileOrigin != SettingOrigin::ProjectFile)
        return std::nullopt;
    for (const SettingDef& def : SettingsCatalogue())
        if (IsFormattingSetting(def))
            CopySetting(s, loaded->values, def);
    if (loaded->tabWidthOrigin == SettingOrigin::ProjectFile)
        s.TabWidth = loaded->values.TabWidth;
    return loaded->file;
}

} // namespace kemptor
