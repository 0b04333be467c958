// The user's settings directory on POSIX systems: $XDG_CONFIG_HOME/kemptor, else ~/.config/kemptor.
#include "platform/Host.h"

#include <pwd.h>
#include <unistd.h>

namespace kemptor::host {

namespace {

std::string HomeDirectory() {
    if (auto home = GetEnv("HOME"))
        return *home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return ".";
}

} // namespace

std::string DefaultSettingsDirectory() {
    if (auto xdg = GetEnv("XDG_CONFIG_HOME"))
        return *xdg + "/kemptor/";
    return HomeDirectory() + "/.config/kemptor/";
}

} // namespace kemptor::host
