#include "settings/Settings.h"

#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kemptor {

namespace {

constexpr int DefaultInt(int value) {
    return value;
}
constexpr int DefaultInt(const char*) {
    return 0;
}
constexpr const char* DefaultText(int) {
    return "";
}
constexpr const char* DefaultText(const char* text) {
    return text;
}

constexpr SettingDef kCatalogue[] = {
#define KEMPTOR_SETTING_ROW(kind, section, key, def, lo, hi, page, caption, items)                           \
    {SettingKind::kind, section, #key, DefaultInt(def), DefaultText(def), lo, hi, page, caption, items},
    KEMPTOR_SETTINGS(KEMPTOR_SETTING_ROW)
#undef KEMPTOR_SETTING_ROW
};

} // namespace

std::span<const SettingDef> SettingsCatalogue() {
    return kCatalogue;
}

const SettingDef* FindSetting(std::string_view key) {
    for (const auto& def : kCatalogue)
        if (EqualNoCase(def.key, key))
            return &def;
    return nullptr;
}

int ClampSetting(const SettingDef& def, int value) {
    if (def.kind == SettingKind::Int)
        return std::clamp(value, def.minimum, def.maximum);
    return value;
}

} // namespace kemptor
