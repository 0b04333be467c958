// The user's settings directory on Windows: %APPDATA%\kemptor\ (the roaming application data folder).
#include "platform/Host.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/win/Utf16.h"

namespace kemptor::host {

namespace {

// The roaming application data folder as the environment names it, else as the shell knows it.
std::string ApplicationDataFolder() {
    if (auto appData = GetEnv("APPDATA"))
        return *appData;
    std::string folder;
    PWSTR known = nullptr;
    if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known) == S_OK)
        folder = Narrow(known);
    ::CoTaskMemFree(known);
    return folder;
}

} // namespace

std::string DefaultSettingsDirectory() {
    const std::string base = ApplicationDataFolder();
    if (base.empty())
        return ".\\kemptor\\";
    const bool separated = base.back() == '\\' || base.back() == '/';
    return base + (separated ? "kemptor\\" : "\\kemptor\\");
}

std::string UserHomeDirectory() {
    return GetEnv("USERPROFILE").value_or("");
}

// Files under a user's profile are protected by its access lists; ownership is not checked here.
bool IsOwnedByUserAlone(const std::string&) {
    return true;
}

} // namespace kemptor::host
