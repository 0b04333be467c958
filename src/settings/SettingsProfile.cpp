#include "settings/SettingsProfile.h"

#include "platform/Text.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <type_traits>

namespace kemptor {

namespace {

// The members of each radio group of `s`, in dialog order.
std::map<std::string, std::vector<bool*>> RadioGroups(Settings& s) {
    std::map<std::string, std::vector<bool*>> groups;
    ForEachSetting(s, [&](const SettingDef& def, auto& value) {
        if constexpr (std::is_same_v<std::decay_t<decltype(value)>, bool>)
            if (def.kind == SettingKind::Radio)
                groups[def.items].push_back(&value);
    });
    return groups;
}

// Sets one radio button as the dialog's button would be set: selecting it clears its group.
void SetRadio(std::map<std::string, std::vector<bool*>>& groups, const SettingDef& def, bool& button,
              bool on) {
    if (on)
        for (bool* other : groups[def.items])
            *other = false;
    button = on;
}

std::string ValueText(bool value) {
    return value ? "1" : "0";
}
std::string ValueText(int value) {
    return std::to_string(value);
}
std::string ValueText(const std::string& value) {
    return value;
}

int ClampChoice(const SettingDef& def, int value) {
    return std::clamp(value, 0, def.maximum);
}

std::optional<bool> ParseBool(const std::string& text) {
    static const char* const trueWords[] = {"true", "yes", "on"};
    static const char* const falseWords[] = {"false", "no", "off"};
    for (const char* w : trueWords)
        if (EqualNoCase(text, w))
            return true;
    for (const char* w : falseWords)
        if (EqualNoCase(text, w))
            return false;
    if (auto n = ParseProfileInteger(text))
        return *n != 0;
    return std::nullopt;
}

} // namespace

void LoadSettings(Settings& s, const std::string& fileName) {
    auto groups = RadioGroups(s);
    ForEachSetting(s, [&](const SettingDef& def, auto& value) {
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, bool>) {
            bool stored = GetProfileBool(def.section, def.key, value, fileName);
            if (def.kind == SettingKind::Radio)
                SetRadio(groups, def, value, stored);
            else
                value = stored;
        } else if constexpr (std::is_same_v<T, int>) {
            int stored = GetProfileInteger(def.section, def.key, value, fileName);
            value = def.kind == SettingKind::Choice ? ClampChoice(def, stored) : ClampSetting(def, stored);
        } else {
            value = GetPrivateProfileString(def.section, def.key, value, fileName);
        }
    });
}

std::string SettingValueText(const Settings& s, const SettingDef& def) {
    std::string text;
    ForEachSetting(s, [&](const SettingDef& row, const auto& value) {
        if (std::strcmp(row.key, def.key) == 0)
            text = ValueText(value);
    });
    return text;
}

std::optional<std::string> SaveSettings(const Settings& s, const std::string& fileName) {
    bool failed = false;
    ForEachSetting(s, [&](const SettingDef& def, const auto& value) {
        if (failed)
            return;
        failed = !WritePrivateProfileString(def.section, def.key, ValueText(value), fileName);
    });
    if (failed)
        return UnableToWriteMessage(fileName);
    return std::nullopt;
}

std::optional<std::string> ApplySettingOverride(Settings& s, const std::string& assignment) {
    size_t eq = assignment.find('=');
    size_t dot = assignment.find('.');
    if (eq == std::string::npos || dot == std::string::npos || dot > eq)
        return "setting \"" + assignment + "\" is not of the form Section.Key=Value";
    std::string section = assignment.substr(0, dot);
    std::string key = assignment.substr(dot + 1, eq - dot - 1);
    std::string text = assignment.substr(eq + 1);
    const SettingDef* row = FindSetting(key);
    if (!row)
        return "unknown setting \"" + key + "\"";
    if (!EqualNoCase(section, row->section))
        return "setting \"" + std::string(row->key) + "\" belongs to section \"" + row->section + "\"";

    auto groups = RadioGroups(s);
    std::optional<std::string> error;
    ForEachSetting(s, [&](const SettingDef& def, auto& value) {
        if (&def != row)
            return;
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, bool>) {
            auto on = ParseBool(text);
            if (!on)
                error = "setting \"" + std::string(def.key) + "\" needs 1 or 0, not \"" + text + "\"";
            else if (def.kind == SettingKind::Radio)
                SetRadio(groups, def, value, *on);
            else
                value = *on;
        } else if constexpr (std::is_same_v<T, int>) {
            auto n = ParseProfileInteger(text);
            if (!n)
                error = "setting \"" + std::string(def.key) + "\" needs a number, not \"" + text + "\"";
            else
                value = def.kind == SettingKind::Choice ? ClampChoice(def, *n) : ClampSetting(def, *n);
        } else if (text.find_first_of("\r\n") != std::string::npos) {
            // The engine writes some of these texts into the file (the user's name in a header, the
            // comment border): a line break there would start a line of code.
            error = "setting \"" + std::string(def.key) + "\" cannot hold a line break";
        } else {
            value = def.maximum > 0 ? text.substr(0, static_cast<size_t>(def.maximum)) : text;
        }
    });
    return error;
}

std::vector<std::string> ReadRecentFiles(const std::string& fileName) {
    std::vector<std::string> items;
    for (int n = kRecentFilesCapacity; n >= 1; --n) {
        std::string value =
            GetPrivateProfileString("RecentFiles", "Item" + std::to_string(n), kNothingFound, fileName);
        if (value != kNothingFound)
            items.insert(items.begin(), value);
    }
    return items;
}

std::optional<std::string> WriteRecentFiles(const std::vector<std::string>& items,
                                            const std::string& fileName) {
    const size_t count = std::min(items.size(), static_cast<size_t>(kRecentFilesCapacity));
    for (size_t i = 0; i < count; ++i)
        if (!WritePrivateProfileString("RecentFiles", "Item" + std::to_string(i + 1), items[i], fileName))
            return UnableToWriteMessage(fileName);
    return std::nullopt;
}

namespace {

struct PlacementKey {
    const char* key;
    int WindowPlacementRecord::*member;
};

constexpr PlacementKey kPlacementKeys[] = {
    {"PlaceFlags", &WindowPlacementRecord::Flags},       {"PlaceMinPosX", &WindowPlacementRecord::MinPosX},
    {"PlaceMinPosY", &WindowPlacementRecord::MinPosY},   {"PlaceMaxPosX", &WindowPlacementRecord::MaxPosX},
    {"PlaceMaxPosY", &WindowPlacementRecord::MaxPosY},   {"PlaceNormPosL", &WindowPlacementRecord::NormPosL},
    {"PlaceNormPosT", &WindowPlacementRecord::NormPosT}, {"PlaceNormPosR", &WindowPlacementRecord::NormPosR},
    {"PlaceNormPosB", &WindowPlacementRecord::NormPosB},
};

} // namespace

WindowPlacementRecord ReadWindowPlacement(const std::string& fileName) {
    WindowPlacementRecord placement;
    for (const auto& k : kPlacementKeys)
        placement.*k.member = GetProfileInteger("frmMain", k.key, 0, fileName);
    return placement;
}

std::optional<std::string> WriteWindowPlacement(const WindowPlacementRecord& placement,
                                                const std::string& fileName) {
    for (const auto& k : kPlacementKeys)
        if (!WritePrivateProfileString("frmMain", k.key, std::to_string(placement.*k.member), fileName))
            return UnableToWriteMessage(fileName);
    return std::nullopt;
}

int ReadTabStops(const std::string& fileName) {
    int width = GetProfileInteger("Visual Basic", "TabStops", 4, fileName);
    return (width < 1 || width > 80) ? 4 : width;
}

} // namespace kemptor
