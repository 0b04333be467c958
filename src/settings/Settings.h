#pragma once
// Access to the settings catalogue: the rows, lookup by key, and a visitor over the members of a
// `Settings` value so that loaders, savers and the dialog never list the keys again.

#include "settings/SettingsCatalogue.h"

#include <span>
#include <string>
#include <string_view>

namespace kemptor {

// Every catalogue row, in dialog order.
std::span<const SettingDef> SettingsCatalogue();

// The row of a key (case-insensitive), or nullptr.
const SettingDef* FindSetting(std::string_view key);

// Calls f(const SettingDef&, bool&|int&|std::string&) for every catalogue key of `s`, in catalogue order.
template <class S, class F> void ForEachSetting(S& s, F&& f) {
    const SettingDef* row = SettingsCatalogue().data();
#define KEMPTOR_SETTING_VISIT(kind, section, key, def, lo, hi, page, caption, items) f(*row++, s.key);
    KEMPTOR_SETTINGS(KEMPTOR_SETTING_VISIT)
#undef KEMPTOR_SETTING_VISIT
}

// Clamps an integer into a spin row's range; other rows pass through.
int ClampSetting(const SettingDef& def, int value);

} // namespace kemptor
