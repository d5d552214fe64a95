#pragma once
// Date and time as the class library gives them: Now and DateTimeToStr with
// the formats of the user's locale.
#include <string>

struct TDateTime {
  int year = 1899, month = 12, day = 30;  // Gregorian calendar
  int dayOfWeek = 0;                      // 0 = Sunday
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The regional settings that DateTimeToStr uses.
struct TFormatSettings {
  std::string shortDatePattern = "M/d/yyyy";  // the locale's pattern, as Windows gives it
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  bool hourLeadingZero = false;
  bool twelveHourClock = true;
  bool markerFirst = false;  // AM/PM text before the time
  std::string amText = "AM", pmText = "PM";
  std::string shortDayNames[7], longDayNames[7];        // Sunday first
  std::string shortMonthNames[12], longMonthNames[12];  // January first
};

// The settings of the thread's locale (GetThreadLocale, GetLocaleInfoA).
TFormatSettings LocaleFormatSettings();

// The current local date and time, milliseconds included.
TDateTime Now();

// The date in the short date format; then, unless hours, minutes and seconds
// are all zero, one blank and the time in the long time format.
std::string DateTimeToStr(const TDateTime& value, const TFormatSettings& settings);
std::string DateTimeToStr(const TDateTime& value);  // with LocaleFormatSettings()
