// The Pagorin and Folvane blocks of the report: what the registry holds for
// the two applications, read from the clipboard of a real run.
// sddl.h needs windows.h before it.
// clang-format off
#include <windows.h>
#include <sddl.h>
// clang-format on
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"
#include "expected.h"

using namespace std::string_literals;

namespace {
const char* const kPagorinInfo = "Software\\Quibrel Software\\Pagorin";
const char* const kPagorinSetting = "Software\\Quibrel\\pagorin2\\settings";
const char* const kFolvaneInfo = "Software\\Quibrel Software\\Folvane";
const char* const kFolvaneSetting = "Software\\Quibrel\\folvane\\settings";

// Deletes a key with everything below it, in the given registry view. A key
// first gets back full access for everyone, as a test may have denied it.
bool DeleteTree(HKEY parent, const std::string& path, REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, path.c_str(), 0, WRITE_DAC | view, &key) == ERROR_SUCCESS) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KA;;;WD)", SDDL_REVISION_1, &sd,
                                                             nullptr)) {
      RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
      LocalFree(sd);
    }
    RegCloseKey(key);
  }
  if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS)
    return false;
  bool deleted = true;
  for (;;) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    if (!DeleteTree(key, name, view)) {
      deleted = false;
      break;
    }
  }
  RegCloseKey(key);
  return deleted && RegDeleteKeyA(parent, path.c_str()) == ERROR_SUCCESS;
}

void SetValue(HKEY root, const char* path, const char* name, DWORD type, const std::string& data,
              REGSAM view = 0) {
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

struct Blocks {
  std::vector<std::string> pagorin, folvane;
};

// Runs a report without the TWAIN section and cuts the two blocks out of the
// copied text: they stand between the last three Separator lines.
Blocks RunAndReadBlocks() {
  Blocks blocks;
  ToolSession tool;
  tool.Type(kEdit1, "Make");
  tool.Type(kEdit2, "Model");
  tool.PostClick(kCheckBox1);
  RunOutcome outcome = tool.RunReport();
  EXPECT_TRUE(outcome.completed) << outcome.box.text;
  std::vector<std::string> lines = SplitLines(ClipboardText());
  tool.CloseAndWait();
  std::vector<size_t> separators;
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == kSeparator) separators.push_back(i);
  if (separators.size() < 3) {
    ADD_FAILURE() << "fewer than three Separator lines";
    return blocks;
  }
  size_t a = separators[separators.size() - 3], b = separators[separators.size() - 2],
         c = separators.back();
  blocks.pagorin.assign(lines.begin() + a + 1, lines.begin() + b);
  blocks.folvane.assign(lines.begin() + b + 1, lines.begin() + c);
  return blocks;
}

// A block's lines as the report shows them: a value with a line break in
// its text spreads over two lines of the report.
std::vector<std::string> AsReportLines(const std::vector<std::string>& block) {
  std::string text;
  for (const std::string& line : block) text += line + "\r\n";
  return SplitLines(text);
}

class ProductSettings : public ::testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  static void Clean() {
    // Through a handle of each view: a path from the root would reach the
    // test program's own view only.
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
      HKEY software = nullptr;
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_ALL_ACCESS | view, &software) !=
          ERROR_SUCCESS)
        continue;
      DeleteTree(software, "Quibrel Software", view);
      RegCloseKey(software);
    }
    DeleteTree(HKEY_CURRENT_USER, "Software\\Quibrel", 0);
  }
};
}  // namespace

TEST_F(ProductSettings, NeverRunGivesTheLabelsAloneAndCreatesTheKeysEmpty) {
  Blocks blocks = RunAndReadBlocks();
  EXPECT_EQ(blocks.pagorin, kPagorinLabels);
  EXPECT_EQ(blocks.folvane, kFolvaneLabels);

  for (auto [root, path] : {std::pair{HKEY_LOCAL_MACHINE, kPagorinInfo},
                            {HKEY_CURRENT_USER, kPagorinSetting},
                            {HKEY_LOCAL_MACHINE, kFolvaneInfo},
                            {HKEY_CURRENT_USER, kFolvaneSetting}}) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(root, path, 0, KEY_READ, &key), ERROR_SUCCESS) << path;
    DWORD subkeys = 99, values = 99;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(subkeys, 0u) << path;
    EXPECT_EQ(values, 0u) << path;
  }
}

// Values of every kind, as other programs and people leave them, and the
// line each gives; all other lines keep their label alone.
TEST_F(ProductSettings, StoredValuesGiveTheirLines) {
  struct Case {
    HKEY root;
    const char* path;
    const char* name;
    DWORD type;
    std::string data;
    bool pagorin;
    size_t line;  // 1-based, as the blocks count their lines
    std::string expected;
  } cases[] = {
      // An empty expectation leaves the line to a later case: line 1 joins two values.
      {HKEY_LOCAL_MACHINE, kPagorinInfo, "version", REG_SZ, "1.58.2\0"s, true, 1, ""},
      {HKEY_LOCAL_MACHINE, kPagorinInfo, "Mode", REG_SZ, "  Pro\r\n\0"s, true, 1,
       "PGRN V1.58.2 Pro"},
      {HKEY_LOCAL_MACHINE, kPagorinInfo, "directory", REG_EXPAND_SZ, "%ProgramFiles%\\Pagorin\0"s,
       true, 2, "DIR %ProgramFiles%\\Pagorin"},
      {HKEY_LOCAL_MACHINE, kPagorinInfo, "serial", REG_SZ, "PG-0042"s, true, 3, "PG-0042"},
      {HKEY_CURRENT_USER, kPagorinSetting, "cscanner", REG_SZ, " \tScanner A\r\n\0"s, true, 4,
       "Last Src > Scanner A"},
      {HKEY_CURRENT_USER, kPagorinSetting, "hidden", REG_SZ, "on\0off\0"s, true, 5,
       "Dialog(rev) > on"},
      {HKEY_CURRENT_USER, kPagorinSetting, "autotrx", REG_DWORD, "\1\0\0\0"s, true, 6,
       "Auto TRX > "},
      {HKEY_CURRENT_USER, kPagorinSetting, "vstwain", REG_QWORD, "\1\0\0\0\0\0\0\0"s, true, 7,
       "Buffered(VST) > "},
      {HKEY_CURRENT_USER, kPagorinSetting, "twain17", REG_BINARY, "yes\0"s, true, 8,
       "Twain 1.7(+Buff=EN) > "},
      {HKEY_CURRENT_USER, kPagorinSetting, "nativewia", REG_MULTI_SZ, "a\0b\0\0"s, true, 9,
       "Native WIA > "},
      {HKEY_CURRENT_USER, kPagorinSetting, "filetran", REG_NONE, "yes\0"s, true, 10,
       "File Trans > "},
      {HKEY_CURRENT_USER, kPagorinSetting, "defsave", REG_SZ, ""s, true, 11, "Default Save > "},
      {HKEY_CURRENT_USER, kPagorinSetting, "saveloc", REG_SZ, "C:\\Scans\r\nD:\\Old \0"s, true, 12,
       "Save Location > C:\\Scans\r\nD:\\Old"},
      {HKEY_CURRENT_USER, kPagorinSetting, "dpi", REG_DWORD, "\x2C\x01\0\0"s, true, 17, "DPI > "},
      {HKEY_CURRENT_USER, kPagorinSetting, "color", REG_SZ, "24\0"s, true, 18, "Color > 24"},
      {HKEY_CURRENT_USER, kPagorinSetting, "lasterror", REG_EXPAND_SZ, "%TEMP%\\err.log\0"s, true,
       30, "Last error > %TEMP%\\err.log"},
      {HKEY_LOCAL_MACHINE, kFolvaneInfo, "version", REG_SZ, "3.1\0"s, false, 1, "FLVN V3.1 "},
      {HKEY_CURRENT_USER, kFolvaneSetting, "cscanner", REG_SZ, "Folvane Src\0"s, false, 4,
       "Last Src> > Folvane Src"},
      {HKEY_CURRENT_USER, kFolvaneSetting, "convletter", REG_SZ, "1\0"s, false, 13,
       "Crop Legal > 1"},
      {HKEY_CURRENT_USER, kFolvaneSetting, "density", REG_SZ, "5\0"s, false, 16, "Exposure > 5"},
      {HKEY_CURRENT_USER, kFolvaneSetting, "dpi", REG_SZ, "600\0"s, false, 17, "DPI > 600"},
  };
  std::vector<std::string> pagorin = kPagorinLabels, folvane = kFolvaneLabels;
  for (const Case& c : cases) {
    SetValue(c.root, c.path, c.name, c.type, c.data);
    if (!c.expected.empty()) (c.pagorin ? pagorin : folvane).at(c.line - 1) = c.expected;
  }
  Blocks blocks = RunAndReadBlocks();
  EXPECT_EQ(blocks.pagorin, AsReportLines(pagorin));
  EXPECT_EQ(blocks.folvane, AsReportLines(folvane));
}

// The tool adds no view flag, so it reads the machine-wide values from the
// registry view of its own bitness: a 32-bit build on 64-bit Windows sees the
// 32-bit view, this test's build sees the view of the bitness it was built
// for. On 32-bit Windows both writes land in one key and the second stands.
TEST_F(ProductSettings, MachineWideValuesComeFromTheViewOfTheToolsBitness) {
  for (const char* path : {kPagorinInfo, kFolvaneInfo}) {
    SetValue(HKEY_LOCAL_MACHINE, path, "version", REG_SZ, "64-bit view\0"s, KEY_WOW64_64KEY);
    SetValue(HKEY_LOCAL_MACHINE, path, "version", REG_SZ, "32-bit view\0"s, KEY_WOW64_32KEY);
  }
  const std::string view = sizeof(void*) == 8 ? "64-bit view" : "32-bit view";
  Blocks blocks = RunAndReadBlocks();
  ASSERT_FALSE(blocks.pagorin.empty());
  ASSERT_FALSE(blocks.folvane.empty());
  EXPECT_EQ(blocks.pagorin[0], "PGRN V" + view + " ");
  EXPECT_EQ(blocks.folvane[0], "FLVN V" + view + " ");
}

// A text of more than a megabyte is written whole on its line, and the lines
// after it are read and written as usual.
TEST_F(ProductSettings, AHugeValueIsWrittenWholeAndTheBlocksGoOn) {
  const std::string huge((1 << 20) + 16, 'h');
  SetValue(HKEY_CURRENT_USER, kPagorinSetting, "cscanner", REG_SZ, " " + huge + "\r\n\0"s);
  SetValue(HKEY_CURRENT_USER, kPagorinSetting, "hidden", REG_SZ, "0\0"s);
  std::vector<std::string> pagorin = kPagorinLabels;
  pagorin[3] = "Last Src > " + huge;
  pagorin[4] = "Dialog(rev) > 0";
  Blocks blocks = RunAndReadBlocks();
  EXPECT_TRUE(blocks.pagorin == pagorin);
  EXPECT_EQ(blocks.folvane, kFolvaneLabels);
}

// An account that may read the machine-wide keys but not open them with all
// access rights: their lines stay empty, the per-user lines show their values.
TEST_F(ProductSettings, MachineWideKeysDeniedAllAccessGiveEmptyLines) {
  for (const char* path : {kPagorinInfo, kFolvaneInfo}) {
    SetValue(HKEY_LOCAL_MACHINE, path, "version", REG_SZ, "9.9\0"s);
    SetValue(HKEY_LOCAL_MACHINE, path, "serial", REG_SZ, "S-1\0"s);
  }
  SetValue(HKEY_CURRENT_USER, kPagorinSetting, "dpi", REG_SZ, "300\0"s);
  SetValue(HKEY_CURRENT_USER, kFolvaneSetting, "dpi", REG_SZ, "600\0"s);
  // Read access only, for everyone.
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)",
                                                                   SDDL_REVISION_1, &sd, nullptr));
  for (const char* path : {kPagorinInfo, kFolvaneInfo}) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), ERROR_SUCCESS);
    RegCloseKey(key);
    HKEY probe = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &probe),
              ERROR_ACCESS_DENIED)
        << "this system does not enforce the key's access list";
  }
  LocalFree(sd);
  std::vector<std::string> pagorin = kPagorinLabels, folvane = kFolvaneLabels;
  pagorin[16] = "DPI > 300";
  folvane[16] = "DPI > 600";
  Blocks blocks = RunAndReadBlocks();
  EXPECT_EQ(blocks.pagorin, pagorin);
  EXPECT_EQ(blocks.folvane, folvane);
}
