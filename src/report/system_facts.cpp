// System facts: date and time, uptime, OS version, bitness, directories.
#include "report/system_facts.h"

#include "mainwindow/Unit1.h"
#include "report/fault_points.h"
#include "vcl/datetime.h"
#include "vcl/handles.h"
#include "vcl/sysutils.h"

uint32_t OSMajor = 0, OSMinor = 0, OSBuild = 0;
std::string OSPlatform;

std::string TicksToDHMS(uint32_t Ticks) {
  uint32_t days = Ticks / 86400000u, r = Ticks % 86400000u;
  uint32_t hours = r / 3600000u;
  r %= 3600000u;
  uint32_t minutes = r / 60000u;
  r %= 60000u;
  uint32_t seconds = r / 1000u;
  return UIntToStr(days) + "-" + UIntToStr(hours) + ":" + UIntToStr(minutes) + ":" +
         UIntToStr(seconds);
}

std::string GetUpTime() { return TicksToDHMS(GetTickCount()); }

void GetOSVersion() {
  FaultPoint("osversion");
  OSVERSIONINFOA info{};  // zeros stand when the query reports failure
  static_assert(sizeof(OSVERSIONINFOA) == 148, "version record layout");
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExA(&info);
  const char* platform = info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? "Windows 9X"
                         : info.dwPlatformId == VER_PLATFORM_WIN32_NT    ? "Windows NT"
                                                                         : "";
  OSMajor = info.dwMajorVersion;
  OSMinor = info.dwMinorVersion;
  OSBuild = info.dwBuildNumber;
  OSPlatform = platform;
}

bool IsWow64() {
  bool answer = false;
  UniqueLibrary kernel(LoadLibraryA("kernel32.dll"));
  if (!kernel.Valid()) return false;
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto query = reinterpret_cast<IsWow64ProcessFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel.Get(), "IsWow64Process")));
  if (!query) return false;
  FaultPoint("wow64");
  BOOL flag = FALSE;
  if (query(GetCurrentProcess(), &flag)) answer = flag != FALSE;
  return answer;
}

namespace {
// The text the call wrote, or empty text when it failed or needed more room
// than the buffer: the buffer then holds nothing defined.
std::string DirectoryText(const char* buffer, UINT count) {
  if (count == 0 || count >= MAX_PATH) return std::string();
  return std::string(buffer);
}
}  // namespace

std::string GetSystemDir() {
  char buffer[MAX_PATH] = {};
  return DirectoryText(buffer, GetSystemDirectoryA(buffer, MAX_PATH));
}

std::string GetTempDir() {
  char buffer[MAX_PATH] = {};
  return DirectoryText(buffer, GetTempPathA(MAX_PATH, buffer));
}

std::string OSVersionLine() {
  return OSPlatform + " " + UIntToStr(OSMajor) + "." + UIntToStr(OSMinor) + "  Build " +
         UIntToStr(OSBuild);
}

void AppendSystemFacts(TForm1& form) {
  form.aln(DateTimeToStr(Now()));
  form.aln(GetUpTime());
  form.aln(" ");
  try {
    GetOSVersion();
  } catch (...) {
    form.aln("Error getting OS");
  }
  form.aln(OSVersionLine());
  try {
    form.aln(IsWow64() ? "64 Bit" : "32 Bit");
    form.aln(GetSystemDir());
    FaultPoint("systemdir");
    form.aln(GetEnvironmentVariable("TEMP"));
    form.aln(GetTempDir());
  } catch (...) {
  }
}
