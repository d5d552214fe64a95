// Now and DateTimeToStr with the formats of the user's locale.
#include "vcl/datetime.h"

#include <windows.h>

#include <cstring>

namespace {

// One locale value as text; false when the locale does not give it.
bool LocaleText(LCID locale, LCTYPE type, std::string& out) {
  const int size = GetLocaleInfoA(locale, type, nullptr, 0);
  if (size <= 0) return false;
  std::string text(static_cast<size_t>(size), '\0');
  if (GetLocaleInfoA(locale, type, &text[0], size) <= 0) return false;
  text.resize(std::strlen(text.c_str()));
  out = text;
  return true;
}

void LocaleFlag(LCID locale, LCTYPE type, const char* whenTrue, bool& out) {
  std::string text;
  if (LocaleText(locale, type, text)) out = text == whenTrue;
}

std::string Digits(int value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
  return text;
}

// 0 = Sunday, for the Gregorian calendar.
int DayOfWeek(int year, int month, int day) {
  static const int offset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 1 || month > 12) return 0;
  if (month < 3) --year;
  const int w = (year + year / 4 - year / 100 + year / 400 + offset[month - 1] + day) % 7;
  return w < 0 ? w + 7 : w;
}

// The era name as the thread's locale writes it for the date. Asked for with
// a single "g": Wine repeats the era once per letter, Windows writes it once.
std::string EraName(const TDateTime& value) {
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(value.year);
  st.wMonth = static_cast<WORD>(value.month);
  st.wDay = static_cast<WORD>(value.day);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(value.year, value.month, value.day));
  char text[64];
  if (GetDateFormatA(GetThreadLocale(), 0, &st, "g", text, sizeof text) <= 0) return std::string();
  return text;
}

// The short date: the locale's pattern with Windows' pattern letters.
std::string FormatDate(const TDateTime& value, const TFormatSettings& settings) {
  const std::string& pattern = settings.shortDatePattern;
  const int weekday = DayOfWeek(value.year, value.month, value.day);
  const bool monthKnown = value.month >= 1 && value.month <= 12;
  std::string out;
  for (size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    if (c == '\'') {
      // Quoted literal; a doubled quote stands for one quote, inside or alone.
      ++i;
      if (i < pattern.size() && pattern[i] == '\'') {
        out += '\'';
        ++i;
        continue;
      }
      while (i < pattern.size()) {
        if (pattern[i] == '\'') {
          if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
            out += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        out += pattern[i++];
      }
      continue;
    }
    if (c == '/') {
      out += settings.dateSeparator;
      ++i;
      continue;
    }
    if (c != 'd' && c != 'M' && c != 'y' && c != 'g') {
      out += c;
      ++i;
      continue;
    }
    size_t count = 1;
    while (i + count < pattern.size() && pattern[i + count] == c) ++count;
    i += count;
    switch (c) {
      case 'd':
        if (count <= 2)
          out += Digits(value.day, static_cast<int>(count));
        else
          out += count == 3 ? settings.shortDayNames[weekday] : settings.longDayNames[weekday];
        break;
      case 'M':
        if (count <= 2)
          out += Digits(value.month, static_cast<int>(count));
        else if (monthKnown)
          out += count == 3 ? settings.shortMonthNames[value.month - 1]
                            : settings.longMonthNames[value.month - 1];
        break;
      case 'y':
        if (count <= 2)
          out += Digits(value.year % 100, static_cast<int>(count));
        else
          out += std::to_string(value.year);
        break;
      default:  // 'g'
        out += EraName(value);
        break;
    }
  }
  return out;
}

// The long time: hours, minutes and seconds with the AM/PM text if the
// locale counts in twelve hours.
std::string FormatTime(const TDateTime& value, const TFormatSettings& settings) {
  int hour = value.hour;
  if (settings.twelveHourClock) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  std::string time = Digits(hour, settings.hourLeadingZero ? 2 : 1) + settings.timeSeparator +
                     Digits(value.minute, 2) + settings.timeSeparator + Digits(value.second, 2);
  if (!settings.twelveHourClock) return time;
  const std::string& marker = value.hour < 12 ? settings.amText : settings.pmText;
  if (marker.empty()) return time;
  return settings.markerFirst ? marker + ' ' + time : time + ' ' + marker;
}

}  // namespace

TFormatSettings LocaleFormatSettings() {
  static const LCTYPE shortDays[7] = {LOCALE_SABBREVDAYNAME7, LOCALE_SABBREVDAYNAME1,
                                      LOCALE_SABBREVDAYNAME2, LOCALE_SABBREVDAYNAME3,
                                      LOCALE_SABBREVDAYNAME4, LOCALE_SABBREVDAYNAME5,
                                      LOCALE_SABBREVDAYNAME6};
  static const LCTYPE longDays[7] = {LOCALE_SDAYNAME7, LOCALE_SDAYNAME1, LOCALE_SDAYNAME2,
                                     LOCALE_SDAYNAME3, LOCALE_SDAYNAME4, LOCALE_SDAYNAME5,
                                     LOCALE_SDAYNAME6};
  static const LCTYPE shortMonths[12] = {
      LOCALE_SABBREVMONTHNAME1,  LOCALE_SABBREVMONTHNAME2,  LOCALE_SABBREVMONTHNAME3,
      LOCALE_SABBREVMONTHNAME4,  LOCALE_SABBREVMONTHNAME5,  LOCALE_SABBREVMONTHNAME6,
      LOCALE_SABBREVMONTHNAME7,  LOCALE_SABBREVMONTHNAME8,  LOCALE_SABBREVMONTHNAME9,
      LOCALE_SABBREVMONTHNAME10, LOCALE_SABBREVMONTHNAME11, LOCALE_SABBREVMONTHNAME12};
  static const LCTYPE longMonths[12] = {
      LOCALE_SMONTHNAME1, LOCALE_SMONTHNAME2,  LOCALE_SMONTHNAME3,  LOCALE_SMONTHNAME4,
      LOCALE_SMONTHNAME5, LOCALE_SMONTHNAME6,  LOCALE_SMONTHNAME7,  LOCALE_SMONTHNAME8,
      LOCALE_SMONTHNAME9, LOCALE_SMONTHNAME10, LOCALE_SMONTHNAME11, LOCALE_SMONTHNAME12};

  const LCID locale = GetThreadLocale();
  TFormatSettings s;
  LocaleText(locale, LOCALE_SSHORTDATE, s.shortDatePattern);
  LocaleText(locale, LOCALE_SDATE, s.dateSeparator);
  LocaleText(locale, LOCALE_STIME, s.timeSeparator);
  LocaleFlag(locale, LOCALE_ITLZERO, "1", s.hourLeadingZero);
  LocaleFlag(locale, LOCALE_ITIME, "0", s.twelveHourClock);
  LocaleFlag(locale, LOCALE_ITIMEMARKPOSN, "1", s.markerFirst);
  LocaleText(locale, LOCALE_S1159, s.amText);
  LocaleText(locale, LOCALE_S2359, s.pmText);
  for (int i = 0; i < 7; ++i) {
    LocaleText(locale, shortDays[i], s.shortDayNames[i]);
    LocaleText(locale, longDays[i], s.longDayNames[i]);
  }
  for (int i = 0; i < 12; ++i) {
    LocaleText(locale, shortMonths[i], s.shortMonthNames[i]);
    LocaleText(locale, longMonths[i], s.longMonthNames[i]);
  }
  return s;
}

TDateTime Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  TDateTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.dayOfWeek = st.wDayOfWeek;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.millisecond = st.wMilliseconds;
  return t;
}

std::string DateTimeToStr(const TDateTime& value, const TFormatSettings& settings) {
  std::string text = FormatDate(value, settings);
  if (value.hour != 0 || value.minute != 0 || value.second != 0)
    text += ' ' + FormatTime(value, settings);
  return text;
}

std::string DateTimeToStr(const TDateTime& value) {
  return DateTimeToStr(value, LocaleFormatSettings());
}
