#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "vcl/datetime.h"

namespace {

TDateTime At(int year, int month, int day, int dayOfWeek, int hour, int minute, int second,
             int millisecond = 0) {
  TDateTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.dayOfWeek = dayOfWeek;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  t.millisecond = millisecond;
  return t;
}

// 2026-03-07 is a Saturday, 2026-12-25 a Friday, 2009-01-05 a Monday.
TDateTime Mar7(int hour, int minute, int second, int millisecond = 0) {
  return At(2026, 3, 7, 6, hour, minute, second, millisecond);
}

void EnglishNames(TFormatSettings& s) {
  const char* shortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const char* longDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};
  const char* longMonths[12] = {"January",   "February", "March",    "April",
                                "May",       "June",     "July",     "August",
                                "September", "October",  "November", "December"};
  for (int i = 0; i < 7; ++i) {
    s.shortDayNames[i] = shortDays[i];
    s.longDayNames[i] = longDays[i];
  }
  for (int i = 0; i < 12; ++i) {
    s.longMonthNames[i] = longMonths[i];
    s.shortMonthNames[i] = std::string(longMonths[i], 3);
  }
}

TFormatSettings EnUs() {
  TFormatSettings s;
  s.shortDatePattern = "M/d/yyyy";
  s.dateSeparator = "/";
  s.timeSeparator = ":";
  s.hourLeadingZero = false;
  s.twelveHourClock = true;
  s.markerFirst = false;
  s.amText = "AM";
  s.pmText = "PM";
  EnglishNames(s);
  return s;
}

TFormatSettings DeDe() {
  TFormatSettings s;
  s.shortDatePattern = "dd.MM.yyyy";
  s.dateSeparator = ".";
  s.timeSeparator = ":";
  s.hourLeadingZero = true;
  s.twelveHourClock = false;
  s.amText = "";
  s.pmText = "";
  return s;
}

// The pattern keeps "/" and the separator is "." to show the substitution.
TFormatSettings EnGb() {
  TFormatSettings s = DeDe();
  s.shortDatePattern = "dd/MM/yyyy";
  return s;
}

// Korean: the AM/PM text comes first; the texts are code page 949 bytes.
TFormatSettings KoKr() {
  TFormatSettings s;
  s.shortDatePattern = "yyyy. M. d.";
  s.dateSeparator = "-";
  s.timeSeparator = ":";
  s.hourLeadingZero = false;
  s.twelveHourClock = true;
  s.markerFirst = true;
  s.amText = "\xBF\xC0\xC0\xFC";
  s.pmText = "\xBF\xC0\xC8\xC4";
  return s;
}

TFormatSettings WithPattern(TFormatSettings s, const char* pattern) {
  s.shortDatePattern = pattern;
  return s;
}

TFormatSettings Spanish() {
  TFormatSettings s = DeDe();
  s.shortDatePattern = "d 'de' MMMM 'de' yyyy";
  s.hourLeadingZero = false;
  const char* months[12] = {"enero", "febrero", "marzo",      "abril",   "mayo",      "junio",
                            "julio", "agosto",  "septiembre", "octubre", "noviembre", "diciembre"};
  for (int i = 0; i < 12; ++i) s.longMonthNames[i] = months[i];
  return s;
}

}  // namespace

TEST(DateTime, DateTimeToStrFollowsTheSettings) {
  const std::string am = "\xBF\xC0\xC0\xFC", pm = "\xBF\xC0\xC8\xC4";
  struct Case {
    const char* name;
    TFormatSettings settings;
    TDateTime value;
    std::string expected;
  } cases[] = {
      {"en_US midnight", EnUs(), Mar7(0, 0, 0, 999), "3/7/2026"},
      {"en_US 00:00:01", EnUs(), Mar7(0, 0, 1), "3/7/2026 12:00:01 AM"},
      {"en_US noon", EnUs(), Mar7(12, 0, 0), "3/7/2026 12:00:00 PM"},
      {"en_US 11:59:59", EnUs(), Mar7(11, 59, 59), "3/7/2026 11:59:59 AM"},
      {"en_US 13:05:09", EnUs(), Mar7(13, 5, 9), "3/7/2026 1:05:09 PM"},
      {"en_US 23:59:59", EnUs(), Mar7(23, 59, 59), "3/7/2026 11:59:59 PM"},
      {"en_US two-digit date", EnUs(), At(2026, 12, 25, 5, 0, 0, 0), "12/25/2026"},
      {"de_DE midnight", DeDe(), Mar7(0, 0, 0, 999), "07.03.2026"},
      {"de_DE 00:00:01", DeDe(), Mar7(0, 0, 1), "07.03.2026 00:00:01"},
      {"de_DE noon", DeDe(), Mar7(12, 0, 0), "07.03.2026 12:00:00"},
      {"de_DE 13:05:09", DeDe(), Mar7(13, 5, 9), "07.03.2026 13:05:09"},
      {"de_DE 23:59:59", DeDe(), Mar7(23, 59, 59), "07.03.2026 23:59:59"},
      {"de_DE d.M.yyyy", WithPattern(DeDe(), "d.M.yyyy"), Mar7(9, 8, 7), "7.3.2026 09:08:07"},
      {"en_GB separator", EnGb(), Mar7(13, 5, 9), "07.03.2026 13:05:09"},
      {"en_GB 12h leading zero",
       [] {
         TFormatSettings s = EnGb();
         s.twelveHourClock = true;
         s.amText = "am";
         s.pmText = "pm";
         return s;
       }(),
       Mar7(13, 5, 9), "07.03.2026 01:05:09 pm"},
      {"ko_KR midnight", KoKr(), Mar7(0, 0, 0, 999), "2026. 3. 7."},
      {"ko_KR 00:00:01", KoKr(), Mar7(0, 0, 1), "2026. 3. 7. " + am + " 12:00:01"},
      {"ko_KR noon", KoKr(), Mar7(12, 0, 0), "2026. 3. 7. " + pm + " 12:00:00"},
      {"ko_KR 13:05:09", KoKr(), Mar7(13, 5, 9), "2026. 3. 7. " + pm + " 1:05:09"},
      {"ko_KR 23:59:59", KoKr(), Mar7(23, 59, 59), "2026. 3. 7. " + pm + " 11:59:59"},
      {"es literal", Spanish(), Mar7(13, 5, 9), "7 de marzo de 2026 13:05:09"},
      {"es literal midnight", Spanish(), At(2026, 12, 25, 5, 0, 0, 0), "25 de diciembre de 2026"},
      {"long names", WithPattern(EnUs(), "dddd, MMMM d, yyyy"), At(2026, 12, 25, 5, 0, 0, 0),
       "Friday, December 25, 2026"},
      {"short names", WithPattern(EnUs(), "ddd dd MMM yy"), At(2009, 1, 5, 1, 0, 0, 0),
       "Mon 05 Jan 09"},
      {"Sunday first", WithPattern(EnUs(), "ddd dddd"), At(2026, 3, 8, 0, 0, 0, 0), "Sun Sunday"},
      {"one-letter year", WithPattern(EnUs(), "y|yy|yyy|yyyy"), At(2009, 1, 5, 1, 0, 0, 0),
       "9|09|2009|2009"},
      {"quoted slash and letters stay", WithPattern(EnGb(), "d'/'M' dMy' yyyy/M"), Mar7(0, 0, 0),
       "7/3 dMy 2026.3"},
      {"doubled quotes", WithPattern(EnUs(), "''d'' 'it''s' M"), Mar7(0, 0, 0), "'7' it's 3"},
      {"other chars as they stand", WithPattern(EnUs(), "[d-M]: Y D"), Mar7(0, 0, 0), "[7-3]: Y D"},
  };
  for (const Case& c : cases) EXPECT_EQ(DateTimeToStr(c.value, c.settings), c.expected) << c.name;
}

TEST(DateTime, EraIsWrittenOnceWhateverTheNumberOfLetters) {
  // The era text comes from the thread's locale, so compare the forms.
  const std::string era = DateTimeToStr(Mar7(0, 0, 0), WithPattern(EnUs(), "g"));
  EXPECT_FALSE(era.empty());
  EXPECT_EQ(DateTimeToStr(Mar7(0, 0, 0), WithPattern(EnUs(), "gg")), era);
  EXPECT_EQ(DateTimeToStr(Mar7(0, 0, 0), WithPattern(EnUs(), "gg yyyy")), era + " 2026");
  EXPECT_EQ(DateTimeToStr(Mar7(0, 0, 0), WithPattern(EnUs(), "'g' g")), "g " + era);
}

TEST(DateTime, NowIsAPlausibleLocalTime) {
  SYSTEMTIME before;
  GetLocalTime(&before);
  const TDateTime now = Now();
  EXPECT_GE(now.year, before.wYear);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
  EXPECT_GE(now.dayOfWeek, 0);
  EXPECT_LE(now.dayOfWeek, 6);
  EXPECT_LE(now.hour, 23);
  EXPECT_LE(now.minute, 59);
  EXPECT_LE(now.second, 59);
  EXPECT_GE(now.millisecond, 0);
  EXPECT_LE(now.millisecond, 999);
}

// Run with LC_ALL set for Wine and QRT_EXPECT_LOCALE naming that locale.
TEST(DateTime, LocaleFormatSettingsMatchTheProcessLocale) {
  char wanted[32] = "";
  if (GetEnvironmentVariableA("QRT_EXPECT_LOCALE", wanted, sizeof wanted) == 0)
    GTEST_SKIP() << "QRT_EXPECT_LOCALE is not set";
  struct Expected {
    const char* locale;
    const char* afternoon;  // 2026-03-07 14:05:09
    const char* midnight;   // 2026-03-07 00:00:00
    const char* march;
    const char* sunday;
    const char* saturdayShort;
  } table[] = {
      {"en_US", "3/7/2026 2:05:09 PM", "3/7/2026", "March", "Sunday", "Sat"},
      // Wine's German data: short date d.M.yyyy, short day names with a dot.
      {"de_DE", "7.3.2026 14:05:09", "7.3.2026", "M\xE4rz", "Sonntag", "Sa."},
  };
  const Expected* e = nullptr;
  for (const Expected& row : table)
    if (std::string(row.locale) == wanted) e = &row;
  ASSERT_NE(e, nullptr) << "no expectations for " << wanted;

  const TFormatSettings s = LocaleFormatSettings();
  EXPECT_EQ(DateTimeToStr(Mar7(14, 5, 9), s), e->afternoon);
  EXPECT_EQ(DateTimeToStr(Mar7(14, 5, 9)), e->afternoon);
  EXPECT_EQ(DateTimeToStr(Mar7(0, 0, 0, 500), s), e->midnight);
  EXPECT_EQ(s.longMonthNames[2], e->march);
  EXPECT_EQ(s.longDayNames[0], e->sunday);
  EXPECT_EQ(s.shortDayNames[6], e->saturdayShort);
}
