#pragma once
// The settings in force loaded from and saved to the profile file, with the rules of the Options
// dialog's controls, so that the command line and the tests see the same values the dialog would hold.
// Also the main window's own keys (recent files, placement) and VB.INI's tab width.

#include <optional>
#include <string>
#include <vector>

#include "platform/Profile.h"
#include "settings/Settings.h"

namespace kemptor {

// Loads every catalogue key into `s`. The default of each read is the value `s` holds, so a missing key
// or an unreadable number keeps it. Spin values are clamped into their range, a choice index into its
// items; a boolean stored as any non-zero number is true. The buttons of a radio group are loaded in
// order like the dialog's buttons: one read as set clears the others, so the later set button wins, and
// when all read as clear none is selected.
void LoadSettings(Settings& s, const std::string& fileName = kSettingsFileName);

// Writes every catalogue key (booleans as "1"/"0"). On the first refused write the rest is abandoned and
// the error text "Unable to write to <fileName>" is returned for the caller to show.
std::optional<std::string> SaveSettings(const Settings& s, const std::string& fileName = kSettingsFileName);

// Applies one "Section.Key=Value" the way the dialog would take it: spin values clamped, choices kept
// within their items, typed text cut to the edit box's limit, a radio button set clearing its group.
// Booleans accept 1/0, true/false, yes/no, on/off. Returns an error text for an unknown key, a section
// that does not hold the key, a value that is not a number where one is needed, and a text with a line
// break (CR or LF).
std::optional<std::string> ApplySettingOverride(Settings& s, const std::string& assignment);

// The stored text of a setting's current value, as SaveSettings writes it.
std::string SettingValueText(const Settings& s, const SettingDef& def);

// Recent projects, top (most recent, "Item1") first; at most six.
inline constexpr int kRecentFilesCapacity = 6;
inline constexpr const char* kNothingFound = "Nothing Found";
// Reads "Item6" down to "Item1", skipping keys that hold "Nothing Found" or are absent.
std::vector<std::string> ReadRecentFiles(const std::string& fileName = kSettingsFileName);
// Writes entry n (from 1) to "Item"n, only when there is at least one; keys beyond the list's length are
// left as they are. Returns the error text on a refused write.
std::optional<std::string> WriteRecentFiles(const std::vector<std::string>& items,
                                            const std::string& fileName = kSettingsFileName);

// The main window's placement record, section "frmMain".
struct WindowPlacementRecord {
    int Flags = 0;
    int MinPosX = 0, MinPosY = 0;
    int MaxPosX = 0, MaxPosY = 0;
    int NormPosL = 0, NormPosT = 0, NormPosR = 0, NormPosB = 0; // the restored rectangle
    // A stored placement is applied only when its rectangle has width.
    bool Usable() const { return NormPosL < NormPosR; }
    bool operator==(const WindowPlacementRecord&) const = default;
};
WindowPlacementRecord ReadWindowPlacement(const std::string& fileName = kSettingsFileName);
std::optional<std::string> WriteWindowPlacement(const WindowPlacementRecord& placement,
                                                const std::string& fileName = kSettingsFileName);

// VB.INI [Visual Basic] TabStops, default 4. A width outside 1..80 reads as 4: a width of 0 or less
// would make tab expansion join the words around a tab.
int ReadTabStops(const std::string& fileName = kVbIniFileName);

} // namespace kemptor
