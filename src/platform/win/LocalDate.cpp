// Dates in the user's form on Windows, from the short date format of the user's locale.
#include "platform/Host.h"

#include <windows.h>

#include "platform/win/Utf16.h"

namespace kemptor::host {

std::tm LocalTime(std::time_t time) {
    std::tm local{};
    localtime_s(&local, &time);
    return local;
}

std::string UserShortDate(std::time_t time) {
    const std::tm local = LocalTime(time);
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(local.tm_year + 1900);
    date.wMonth = static_cast<WORD>(local.tm_mon + 1);
    date.wDay = static_cast<WORD>(local.tm_mday);
    date.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    wchar_t text[128] = {};
    const int length =
        ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, text, 128, nullptr);
    if (length > 1) // the date goes into a source file, whose text is in the ANSI code page
        return NarrowAnsi(std::wstring_view(text, static_cast<size_t>(length - 1)));
    char fallback[64];
    return std::string(fallback, std::strftime(fallback, sizeof fallback, "%m/%d/%Y", &local));
}

} // namespace kemptor::host
