// What the tests expect, taken from the system the same way the tool is
// expected to, and the helpers that several tests share.
#include "expected.h"

#include <gtest/gtest.h>

// The blocks on a machine where neither application ever ran: the labels alone.
const std::vector<std::string> kPagorinLabels = {"PGRN V ",
                                                 "DIR ",
                                                 "",
                                                 "Last Src > ",
                                                 "Dialog(rev) > ",
                                                 "Auto TRX > ",
                                                 "Buffered(VST) > ",
                                                 "Twain 1.7(+Buff=EN) > ",
                                                 "Native WIA > ",
                                                 "File Trans > ",
                                                 "Default Save > ",
                                                 "Save Location > ",
                                                 "Negative > ",
                                                 "Crop Legal > ",
                                                 "Col to GS > ",
                                                 "Compression > ",
                                                 "DPI > ",
                                                 "Color > ",
                                                 "Paper size > ",
                                                 "CustomX > ",
                                                 "CustomY > ",
                                                 "ADF > ",
                                                 "Duplex > ",
                                                 "Xoffset > ",
                                                 "Exposure > ",
                                                 "Frames > ",
                                                 "Cleanup > ",
                                                 "Variable > ",
                                                 "PDF DPI > ",
                                                 "Last error > "};
const std::vector<std::string> kFolvaneLabels = {"FLVN V ",
                                                 "DIR ",
                                                 "",
                                                 "Last Src> > ",
                                                 "Use Dialog > ",
                                                 "Auto TRX > ",
                                                 "Twain1.8 > ",
                                                 "Native WIA > ",
                                                 "WIA Connected > ",
                                                 "ADF > ",
                                                 "Color > ",
                                                 "Conv GS > ",
                                                 "Crop Legal > ",
                                                 "Def Save > ",
                                                 "Path > ",
                                                 "Exposure > ",
                                                 "DPI > ",
                                                 "Rej > ",
                                                 "Extended Save Dialog > ",
                                                 "Compression > ",
                                                 "Keep Twain Conn Open > ",
                                                 "Negative > ",
                                                 "PDF Page Size > ",
                                                 "Last error > "};

std::string SystemDir() {
  char b[MAX_PATH];
  GetSystemDirectoryA(b, MAX_PATH);
  return b;
}
std::string TempPath() {
  char b[MAX_PATH];
  GetTempPathA(MAX_PATH, b);
  return b;
}
std::string VersionLine() {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExA(&v);
  return "Windows NT " + std::to_string(v.dwMajorVersion) + "." + std::to_string(v.dwMinorVersion) +
         "  Build " + std::to_string(v.dwBuildNumber);
}

void WriteFileText(const std::string& path, const std::string& text) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot write " << path;
    return;
  }
  DWORD written = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
}

std::string ReadFileText(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::string();
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(f);
  return text;
}
