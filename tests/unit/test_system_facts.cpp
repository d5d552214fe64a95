#include <gtest/gtest.h>

#include "mainwindow/Unit1.h"
#include "report/system_facts.h"

TEST(TicksToDHMS, DaysHoursMinutesSeconds) {
  const struct {
    uint32_t ticks;
    const char* text;
  } cases[] = {
      {0, "0-0:0:0"},
      {999, "0-0:0:0"},
      {1000, "0-0:0:1"},
      {59999, "0-0:0:59"},
      {60000, "0-0:1:0"},
      {3600000, "0-1:0:0"},
      {86399999, "0-23:59:59"},
      {86400000, "1-0:0:0"},
      {86400000 + 3600000 + 60000 + 1000, "1-1:1:1"},
      {2147483647u, "24-20:31:23"},
      {2147483648u, "24-20:31:23"},
      {4294967295u, "49-17:2:47"},
  };
  for (const auto& c : cases) EXPECT_EQ(TicksToDHMS(c.ticks), c.text) << c.ticks;
}

TEST(OSVersionLine, NumbersAreUnsignedAndWhole) {
  const struct {
    const char* platform;
    uint32_t major, minor, build;
    const char* line;
  } cases[] = {
      {"Windows NT", 10, 0, 19045, "Windows NT 10.0  Build 19045"},
      {"Windows 9X", 4, 10, 0x0A0A0A0A, "Windows 9X 4.10  Build 168430090"},
      {"Windows NT", 6, 1, 0xF0001DB1u, "Windows NT 6.1  Build 4026539441"},
      {"Windows NT", 4294967295u, 0, 4294967295u, "Windows NT 4294967295.0  Build 4294967295"},
      {"", 0, 0, 0, " 0.0  Build 0"},
  };
  for (const auto& c : cases) {
    OSPlatform = c.platform;
    OSMajor = c.major;
    OSMinor = c.minor;
    OSBuild = c.build;
    EXPECT_EQ(OSVersionLine(), c.line);
  }
}

TEST(GetOSVersion, StoresWhatTheSystemReports) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExA(&info));
  GetOSVersion();
  EXPECT_EQ(OSMajor, info.dwMajorVersion);
  EXPECT_EQ(OSMinor, info.dwMinorVersion);
  EXPECT_EQ(OSBuild, info.dwBuildNumber);
  EXPECT_EQ(OSPlatform, "Windows NT");
}

TEST(Directories, AsTheSystemGivesThem) {
  char sys[MAX_PATH], temp[MAX_PATH];
  GetSystemDirectoryA(sys, MAX_PATH);
  GetTempPathA(MAX_PATH, temp);
  EXPECT_EQ(GetSystemDir(), sys);
  EXPECT_EQ(GetTempDir(), temp);
}
