// "$DateTime" in a given locale's short date and time formats: the same text whichever program
// asks, and a locale that is not installed falls back to the C formats instead of failing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "base/DateTimeText.h"

#ifndef _WIN32

namespace kestrune {
namespace {

std::tm Moment(int year, int month, int day, int hour, int minute, int second) {
    std::tm moment{};
    moment.tm_year = year - 1900;
    moment.tm_mon = month - 1;
    moment.tm_mday = day;
    moment.tm_hour = hour;
    moment.tm_min = minute;
    moment.tm_sec = second;
    moment.tm_isdst = -1;
    return moment;
}

struct Case {
    const char* locale;
    std::tm moment;
    const char* expected;
};

TEST(DateTimeText, ShortDateAndTimeOfTheLocale) {
    const Case cases[] = {
        {"C", Moment(2026, 12, 9, 12, 10, 29), "12/09/26 12:10:29"},
        {"POSIX", Moment(2026, 1, 2, 3, 4, 5), "01/02/26 03:04:05"},
        {"C", Moment(1999, 12, 31, 23, 59, 59), "12/31/99 23:59:59"},
        // Not installed anywhere: the C formats, never an empty text or a crash.
        {"xx_NOWHERE.UTF-8", Moment(2026, 12, 9, 0, 0, 0), "12/09/26 00:00:00"},
        {"../../etc/passwd", Moment(2026, 12, 9, 7, 8, 9), "12/09/26 07:08:09"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DateTimeTextIn(c.moment, c.locale), c.expected) << c.locale;
    }
}

// The build generates de_DE.UTF-8 into LOCPATH when the machine has its source (see the
// tests' CMakeLists); its short date is day.month.year with four digits.
TEST(DateTimeText, GermanLocaleUsesItsOwnOrder) {
    if (std::getenv("LOCPATH") == nullptr) {
        GTEST_SKIP() << "no generated locales";
    }
    EXPECT_EQ(DateTimeTextIn(Moment(2026, 12, 9, 12, 10, 29), "de_DE.UTF-8"),
              "09.12.2026 12:10:29");
}

TEST(DateTimeText, EnvironmentLocaleDecidesForNow) {
    // The same moment through the entry the window and the command line call: with LC_ALL=C
    // it is the C formats' text of the local time.
    ::setenv("LC_ALL", "C", 1);
    const std::time_t when = 1'797'000'000;
    std::tm local{};
    localtime_r(&when, &local);
    EXPECT_EQ(LocalDateTimeText(when), DateTimeTextIn(local, "C"));
    char expected[64];
    std::strftime(expected, sizeof expected, "%m/%d/%y %H:%M:%S", &local);
    EXPECT_EQ(LocalDateTimeText(when), expected);
    ::unsetenv("LC_ALL");
}

}  // namespace
}  // namespace kestrune

#endif
