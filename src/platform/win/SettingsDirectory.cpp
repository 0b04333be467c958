// The user's settings directory on Windows: %APPDATA%\kemptor\ (the roaming application data folder).
#include "platform/Host.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/win/Utf16.h"

namespace kemptor::host {

std::string DefaultSettingsDirectory() {
    std::string base;
    if (auto appData = GetEnv("APPDATA")) {
        base = *appData;
    } else {
        PWSTR folder = nullptr;
        if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder) == S_OK)
            base = Narrow(folder);
        ::CoTaskMemFree(folder);
    }
    if (base.empty())
        base = ".";
    if (base.back() != '\\' && base.back() != '/')
        base += '\\';
    return base + "kemptor\\";
}

} // namespace kemptor::host
