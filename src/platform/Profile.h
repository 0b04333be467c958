#pragma once
// Stand-ins for the Windows private-profile functions over one INI file.
//
// Semantics kept from the platform: section and key names compare case-insensitively; a read of an
// absent file, section or key gives the default; a write replaces the value of one key (adding the
// section or key at its end when absent) and keeps every other line of the file as it was; the file is
// created by the first write. Files named without a directory live in SettingsDirectory().
// Tolerated as the platform tolerates them: lines that are neither "[section]" nor "key=value", lines
// beginning with ';', a section that appears more than once (read as one; the first occurrence of a key
// wins and a write changes that occurrence or adds to the first section of the name).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor {

// $KEMPTOR_CONFIG_DIR, else $XDG_CONFIG_HOME/kemptor, else ~/.config/kemptor; ends with '/'.
std::string SettingsDirectory();

// The host path of a profile file: a bare name ("VBKEMPT3.INI") is placed in SettingsDirectory().
std::string ProfilePath(const std::string& fileName);

inline constexpr const char* kSettingsFileName = "VBKEMPT3.INI";
inline constexpr const char* kVbIniFileName = "VB.INI";

// The stored text of a key (without one pair of enclosing quotes, at most 1023 characters), or
// std::nullopt when the file, the section or the key is absent.
std::optional<std::string> ReadProfileValue(const std::string& section, const std::string& key,
                                            const std::string& fileName);

// Every key of a profile file as (section, key), in file order; empty when the file is absent. Each
// comes with its line (from 1) and its stored text, for messages about it.
struct ProfileKeyName {
    std::string section;
    std::string key;
    int line = 0;
    std::string value;
};
std::vector<ProfileKeyName> ListProfileKeys(const std::string& fileName);

// The integer rule of the profile: a text longer than 2 characters beginning "0x"/"0X" is hexadecimal
// (at most 32 bits), otherwise an optionally signed decimal that fits an int; anything else is nullopt.
std::optional<int> ParseProfileInteger(std::string_view text);

// String value, at most 1023 characters.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& fileName);

// Integer value: a text longer than 2 characters beginning "0x"/"0X" is hexadecimal, otherwise
// decimal; a text that is not a number gives the default.
int GetProfileInteger(const std::string& section, const std::string& key, int defaultValue,
                      const std::string& fileName);

// Boolean value: read as an integer with the default 1 or 0; any non-zero number is true.
bool GetProfileBool(const std::string& section, const std::string& key, bool defaultValue,
                    const std::string& fileName);

// Writes one key; false when the write is refused (read-only or unreadable file, unwritable directory,
// a section or key name that cannot be stored). Line breaks inside a value are stored as blanks. A bare
// file name creates SettingsDirectory() when it is missing.
bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& fileName);

// The text of the error shown when a write is refused: "Unable to write to %s".
std::string UnableToWriteMessage(const std::string& fileName);

} // namespace kemptor
