// Dates in the user's form on POSIX systems, from the environment's LC_TIME.
#include "platform/Host.h"

#include <langinfo.h>
#include <locale.h>

namespace kemptor::host {

std::tm LocalTime(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return local;
}

std::string UserShortDate(std::time_t time) {
    const std::tm local = LocalTime(time);
    // The bare C locale has a two-digit year, so it gets month/day/year with four digits instead.
    std::string format = "%m/%d/%Y";
    char text[64] = {};
    if (locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0))) {
        std::string userFormat = nl_langinfo_l(D_FMT, user);
        if (!userFormat.empty() && userFormat != "%m/%d/%y")
            format = userFormat;
        size_t n = strftime_l(text, sizeof text, format.c_str(), &local, user);
        freelocale(user);
        return std::string(text, n);
    }
    return std::string(text, std::strftime(text, sizeof text, format.c_str(), &local));
}

} // namespace kemptor::host
