#pragma once
// "$DateTime": the moment in the user's short date format and long time format, joined by a
// blank. One piece of code for the window and the command line, so both write the same.

#include <ctime>
#include <string>

namespace kestrune {

// `when` in the user's formats: on Windows the user's locale (short date, long time); elsewhere
// the date and time formats of the LC_TIME locale the environment names (LC_ALL, LC_TIME,
// LANG), "C" when it names none or one that is not installed.
std::string LocalDateTimeText(std::time_t when);

// `local` (a broken-down local time) in the formats of the POSIX locale `localeName` ("" for
// the environment's); the "C" locale's formats when that locale does not exist. Not on Windows.
std::string DateTimeTextIn(const std::tm& local, const char* localeName);

}  // namespace kestrune
