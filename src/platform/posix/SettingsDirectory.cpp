// The user's settings directory on POSIX systems: $XDG_CONFIG_HOME/kemptor, else ~/.config/kemptor.
#include "platform/Host.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kemptor::host {

std::string UserHomeDirectory() {
    if (auto home = GetEnv("HOME"))
        return *home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return {};
}

std::string DefaultSettingsDirectory() {
    if (auto xdg = GetEnv("XDG_CONFIG_HOME"))
        return *xdg + "/kemptor/";
    const std::string home = UserHomeDirectory();
    return (home.empty() ? "." : home) + "/.config/kemptor/";
}

bool IsOwnedByUserAlone(const std::string& hostPath) {
    struct stat st;
    if (::stat(hostPath.c_str(), &st) != 0)
        return false;
    const bool owner = st.st_uid == ::geteuid() || st.st_uid == 0;
    return owner && (st.st_mode & S_IWOTH) == 0;
}

} // namespace kemptor::host
