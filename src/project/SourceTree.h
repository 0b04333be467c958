#pragma once
// The Visual Basic sources below a directory, for the commands that take a whole tree (`check DIR`,
// `format -i DIR`).
//
// In a git work tree the files are the ones git knows or would add: git itself lists them (tracked
// files and untracked ones that no ignore file excludes), so every ignore rule git has applies exactly
// as git applies it. Outside a work tree, or where git is not installed, the directory is walked and
// only ".git" folders are passed over. Then the Exclude= patterns of the [Files] section of the
// settings file that governs each file are applied, relative to that settings file's directory.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

// True for a name with one of the source extensions .bas, .cls, .frm, .ctl (any letter case).
bool IsVbSourceName(std::string_view name);

// The settings file that governs the files of a directory (host path), if any.
using SettingsFileFinder = std::function<std::optional<std::string>(const std::string& hostDir)>;

struct SourceTreeListing {
    std::vector<std::string> files; // `root` joined with each file's path below it, in byte order
    bool fromGit = false;           // git listed them (its ignore rules applied)
    std::vector<std::string> warnings;
};

// Lists the sources below the host directory `root`.
SourceTreeListing ListSourceTree(const std::string& root, const SettingsFileFinder& settingsFileFor);

// The Exclude= values of a settings file's [Files] section, in file order.
std::vector<std::string> ReadExcludeValues(const std::string& settingsFile);

} // namespace kemptor
