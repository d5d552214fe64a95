// The complete report with every section in, compared line for line with the
// report expected for a prepared machine: registry, twain_32 tree and a test
// TWAIN manager with two sources.
#include <gtest/gtest.h>

#include <regex>

#include "driver.h"
#include "expected.h"

namespace {

using Lines = std::vector<std::string>;

void DeleteTree(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    char name[256];
    for (;;) {
      DWORD size = sizeof name;
      if (RegEnumKeyExA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      DeleteTree(root, path + "\\" + name);
    }
    RegCloseKey(key);
  }
  RegDeleteKeyA(root, path.c_str());
}

void SetValue(HKEY root, const std::string& path, const std::string& name,
              const std::string& value) {
  HKEY key;
  ASSERT_EQ(
      RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

std::string Field(std::string bytes) {
  static const char digits[] = "0123456789ABCDEF";
  bytes.resize(34, '\0');
  std::string hex;
  for (unsigned char b : bytes) {
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return hex;
}

class CompleteReport : public ::testing::Test {
 protected:
  void SetUp() override {
    Clean();
    // The TWAIN manager in the Windows directory, with two sources.
    ASSERT_TRUE(
        CopyFileA(WinPath(Env("QRT_TWAIN_FAKE")).c_str(), "C:\\windows\\TWAINDSM.DLL", FALSE));
    WriteFileText("C:\\windows\\TWAINDSM.script",
                  "source " + Field("Acme Flatbed") + " " + Field("Acme Inc") + " " +
                      Field("Flatbeds") + " " + Field("2.1 (build 7)") + "\n" + "source " +
                      Field("Photo Scan") + " " + Field("Other Co") + " " + Field("Photo") + " " +
                      Field("") + "\n");
    // The data source files.
    CreateDirectoryA("C:\\windows\\twain_32", nullptr);
    CreateDirectoryA("C:\\windows\\twain_32\\acme", nullptr);
    WriteFileText("C:\\windows\\twain_32\\photo.ds", "");
    WriteFileText("C:\\windows\\twain_32\\acme\\flatbed.ds", "");
    // The two applications' settings.
    SetValue(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software\\Pagorin", "version", "5.2");
    SetValue(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software\\Pagorin", "Mode", " Pro\r\n");
    SetValue(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software\\Pagorin", "directory", "C:\\Pagorin");
    SetValue(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software\\Pagorin", "serial", "PG-0042");
    SetValue(HKEY_CURRENT_USER, "Software\\Quibrel\\pagorin2\\settings", "cscanner",
             "Acme Flatbed");
    SetValue(HKEY_CURRENT_USER, "Software\\Quibrel\\pagorin2\\settings", "dpi", "300");
    SetValue(HKEY_CURRENT_USER, "Software\\Quibrel\\pagorin2\\settings", "lasterror", "none");
    SetValue(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software\\Folvane", "version", "3.0");
    SetValue(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software\\Folvane", "Mode", "Home");
    SetValue(HKEY_CURRENT_USER, "Software\\Quibrel\\folvane\\settings", "cscanner", "Photo Scan");
    SetValue(HKEY_CURRENT_USER, "Software\\Quibrel\\folvane\\settings", "jpg", "85");
  }
  void TearDown() override { Clean(); }
  static void Clean() {
    for (const char* f :
         {"C:\\windows\\TWAINDSM.DLL", "C:\\windows\\TWAINDSM.script", "C:\\windows\\TWAINDSM.log",
          "C:\\windows\\twain_32\\photo.ds", "C:\\windows\\twain_32\\acme\\flatbed.ds"})
      DeleteFileA(f);
    RemoveDirectoryA("C:\\windows\\twain_32\\acme");
    RemoveDirectoryA("C:\\windows\\twain_32");
    DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software");
    DeleteTree(HKEY_CURRENT_USER, "Software\\Quibrel");
  }

  static Lines Expected(const std::string& make, const std::string& model) {
    Lines e = {"Quibrel Diagnostics v1.58",
               "<date>",
               "<uptime>",
               " ",
               VersionLine(),
               Env("QRT_EXPECT_BITNESS"),
               SystemDir(),
               Env("TEMP"),
               TempPath(),
               kSeparator,
               make,
               model,
               kSeparator,
               "2 Twain data source(s) found:",
               " ",
               "Source Index:0",
               "Acme Flatbed",
               "Acme Inc",
               "Flatbeds",
               "2.1 (build 7)",
               " ",
               "Source Index:1",
               "Photo Scan",
               "Other Co",
               "Photo",
               "",
               kSeparator,
               "Installed Data Sources:",
               "c:\\windows\\twain_32\\photo.ds",
               "c:\\windows\\twain_32\\acme\\flatbed.ds",
               kSeparator,
               kSeparator,
               "PGRN V5.2 Pro",
               "DIR C:\\Pagorin",
               "PG-0042"};
    for (size_t i = 3; i < kPagorinLabels.size(); ++i) {
      std::string l = kPagorinLabels[i];
      if (l == "Last Src > ") l += "Acme Flatbed";
      if (l == "DPI > ") l += "300";
      if (l == "Last error > ") l += "none";
      e.push_back(l);
    }
    e.insert(e.end(), {kSeparator, "FLVN V3.0 Home", "DIR ", ""});
    for (size_t i = 3; i < kFolvaneLabels.size(); ++i) {
      std::string l = kFolvaneLabels[i];
      if (l == "Last Src> > ") l += "Photo Scan";
      if (l == "Compression > ") l += "85";
      e.push_back(l);
    }
    e.push_back(kSeparator);
    return e;
  }
};

}  // namespace

TEST_F(CompleteReport, LineForLine) {
  for (int run = 0; run < 2; ++run) {
    ToolSession tool;
    tool.Type(kEdit1, "Acme");
    tool.Type(kEdit2, "Flatbed 9000");
    RunOutcome outcome = tool.RunReport();
    ASSERT_TRUE(outcome.completed) << outcome.box.text;
    const std::string text = ClipboardText();
    EXPECT_EQ(text, tool.Text(kMemo1));
    ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
    Lines lines = SplitLines(text);
    Lines expected = Expected("Acme", "Flatbed 9000");
    ASSERT_GT(lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      if (expected[i] == "<date>") {
        EXPECT_TRUE(std::regex_match(
            lines[i], std::regex(R"(\d{1,2}/\d{1,2}/\d{4}( \d{1,2}:\d\d:\d\d [AP]M)?)")))
            << lines[i];
      } else if (expected[i] == "<uptime>") {
        EXPECT_TRUE(std::regex_match(lines[i], std::regex(R"(\d{1,2}-\d{1,2}:\d{1,2}:\d{1,2})")))
            << lines[i];
      } else {
        EXPECT_EQ(lines[i], expected[i]) << "line " << i;
      }
    }
    // The process lines end the report: executable names, the tool among them.
    Lines processes(lines.begin() + static_cast<long>(expected.size()), lines.end());
    EXPECT_NE(std::find(processes.begin(), processes.end(), "Project1.exe"), processes.end());
    EXPECT_NE(std::find(processes.begin(), processes.end(), "e2e_tests.exe"), processes.end());
    for (const std::string& p : processes) {
      EXPECT_NE(p, kSeparator);
      EXPECT_EQ(p.find('\\'), std::string::npos) << p;
    }

    // The lines between each pair of Separators, as the run lays them out.
    std::vector<size_t> counts;
    size_t count = 0;
    for (const std::string& line : lines) {
      if (line == kSeparator) {
        counts.push_back(count);
        count = 0;
      } else {
        ++count;
      }
    }
    counts.push_back(count);
    const std::vector<size_t> layout = {9, 2, 13, 3, 0, 30, 24, processes.size()};
    EXPECT_EQ(counts, layout);
    tool.CloseAndWait();
  }
}
