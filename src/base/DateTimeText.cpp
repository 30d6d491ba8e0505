#include "base/DateTimeText.h"

#ifdef _WIN32
#include <windows.h>

#include <iterator>
#include <string>

#include "base/WindowsSystem.h"
#else
#include <langinfo.h>
#include <locale.h>
#include <time.h>
#endif

namespace kestrune {

#ifdef _WIN32

std::string LocalDateTimeText(std::time_t when) {
    std::tm local{};
    localtime_s(&local, &when);
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(local.tm_year + 1900);
    time.wMonth = static_cast<WORD>(local.tm_mon + 1);
    time.wDay = static_cast<WORD>(local.tm_mday);
    time.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time.wHour = static_cast<WORD>(local.tm_hour);
    time.wMinute = static_cast<WORD>(local.tm_min);
    time.wSecond = static_cast<WORD>(local.tm_sec);
    wchar_t date[128] = {};
    wchar_t clock[128] = {};
    // Read as UTF-16 and kept as UTF-8, as every other text of the core: a desktop's formats
    // may hold words of its language ("上午").
    const int dateLength = GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date,
                                          static_cast<int>(std::size(date)));
    const int clockLength = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock,
                                           static_cast<int>(std::size(clock)));
    std::string text = windows::Narrow(
        std::wstring(date, dateLength > 0 ? static_cast<std::size_t>(dateLength - 1) : 0));
    text += ' ';
    text += windows::Narrow(
        std::wstring(clock, clockLength > 0 ? static_cast<std::size_t>(clockLength - 1) : 0));
    return text;
}

#else

std::string DateTimeTextIn(const std::tm& local, const char* localeName) {
    locale_t locale = newlocale(LC_TIME_MASK, localeName, static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
        if (locale == static_cast<locale_t>(nullptr)) {
            return {};
        }
    }
    // The locale's own short date and time formats, as "%x %X" would give with that locale
    // set, without touching the program's global locale.
    std::string format = nl_langinfo_l(D_FMT, locale);
    format += ' ';
    format += nl_langinfo_l(T_FMT, locale);
    char buffer[256];
    const std::size_t length = strftime_l(buffer, sizeof buffer, format.c_str(), &local, locale);
    freelocale(locale);
    return std::string(buffer, length);
}

std::string LocalDateTimeText(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return DateTimeTextIn(local, "");
}

#endif

}  // namespace kestrune
