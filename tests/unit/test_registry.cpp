#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mainwindow/Unit1.h"
#include "vcl/registry.h"

using namespace std::string_literals;

namespace {
const char* const kScratch = "Software\\Quibrel Tests\\registry";
const char* const kPagorinSettings = "Software\\Quibrel\\pagorin2\\settings";

// Deletes a key with everything below it (RegDeleteKeyA deletes leaves only).
bool DeleteTree(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  for (;;) {
    char name[256];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    if (!DeleteTree(key, name)) break;
  }
  RegCloseKey(key);
  return RegDeleteKeyA(parent, path.c_str()) == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void SetRaw(HKEY root, const char* path, const char* name, DWORD type, const std::string& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
            ERROR_SUCCESS)
      << name;
  RegCloseKey(key);
}

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteTree(HKEY_CURRENT_USER, "Software\\Quibrel Tests");
    DeleteTree(HKEY_CURRENT_USER, "Software\\Quibrel");
  }
  void TearDown() override { SetUp(); }
};
}  // namespace

TEST_F(RegistryTest, StartsOnTheUsersRootWithAllAccessAndNoKey) {
  TRegistry registry;
  EXPECT_EQ(registry.RootKey(), HKEY_CURRENT_USER);
  EXPECT_EQ(registry.Access(), static_cast<REGSAM>(KEY_ALL_ACCESS));
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_EQ(registry.ReadString("anything"), "");
}

TEST_F(RegistryTest, OpenKeyCreatesTheWholePathOnlyWhenAllowed) {
  TRegistry registry;
  EXPECT_FALSE(registry.OpenKey(kScratch, false));
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kScratch));

  EXPECT_TRUE(registry.OpenKey(kScratch, true));
  EXPECT_NE(registry.CurrentKey(), nullptr);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kScratch));
  registry.CloseKey();
  EXPECT_EQ(registry.CurrentKey(), nullptr);

  // A leading backslash means the root, also while a key is open.
  EXPECT_TRUE(registry.OpenKey("Software", false));
  EXPECT_TRUE(registry.OpenKey("\\Software\\Quibrel Tests", false));
  // Without one, the path goes on from the open key.
  EXPECT_TRUE(registry.OpenKey("registry", false));
  SetRaw(HKEY_CURRENT_USER, kScratch, "where", REG_SZ, "here"s);
  EXPECT_EQ(registry.ReadString("where"), "here");
}

TEST_F(RegistryTest, ChangingTheRootClosesTheKey) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kScratch, true));
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_EQ(registry.RootKey(), HKEY_LOCAL_MACHINE);
}

TEST_F(RegistryTest, ReadStringFailsOnDataThatIsNotText) {
  SetRaw(HKEY_CURRENT_USER, kScratch, "number", REG_DWORD, "\x2C\x01\0\0"s);
  SetRaw(HKEY_CURRENT_USER, kScratch, "nothing", REG_DWORD, ""s);
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(kScratch, false));
  EXPECT_THROW(registry.ReadString("number"), ERegistryException);
  EXPECT_EQ(registry.ReadString("nothing"), "");  // empty data of any type is empty text
  EXPECT_EQ(registry.ReadString("missing"), "");
}

// What each kind of stored value gives through a reader: text up to the
// first NUL, trimmed at both ends; every other type empty.
TEST_F(RegistryTest, ReaderGivesTrimmedTextOfTextValuesAndEmptyTextForAllElse) {
  const std::string big(1536 * 1024, 'x');
  struct Case {
    const char* name;
    DWORD type;
    std::string data;
    std::string expected;
  } cases[] = {
      {"sz", REG_SZ, "Scanner A\0"s, "Scanner A"},
      {"sz no nul", REG_SZ, "abc"s, "abc"},
      {"sz nul inside", REG_SZ, "ab\0cd\0"s, "ab"},
      {"sz nul first", REG_SZ, "\0abc\0"s, ""},
      {"sz empty", REG_SZ, ""s, ""},
      {"sz blanks around", REG_SZ, "  \t 300 dpi\r\n\0"s, "300 dpi"},
      {"sz break inside", REG_SZ, " one\r\ntwo \0"s, "one\r\ntwo"},
      {"sz only blanks", REG_SZ, " \r\n\t \0"s, ""},
      {"sz high bytes", REG_SZ, "\xC4rger \xDF\0"s, "\xC4rger \xDF"},
      {"expand", REG_EXPAND_SZ, "%TEMP%\\scans\0"s, "%TEMP%\\scans"},
      {"expand no nul", REG_EXPAND_SZ, "%WINDIR%"s, "%WINDIR%"},
      {"expand empty", REG_EXPAND_SZ, ""s, ""},
      {"dword", REG_DWORD, "\x2C\x01\0\0"s, ""},
      {"dword be", REG_DWORD_BIG_ENDIAN, "\0\0\x01\x2C"s, ""},
      {"qword", REG_QWORD, "\x2C\x01\0\0\0\0\0\0"s, ""},
      {"binary", REG_BINARY, "text\0"s, ""},
      {"binary empty", REG_BINARY, ""s, ""},
      {"multi", REG_MULTI_SZ, "one\0two\0\0"s, ""},
      {"none", REG_NONE, "text\0"s, ""},
      {"none empty", REG_NONE, ""s, ""},
      {"unknown type", 0x4711, "text\0"s, ""},
      {"big", REG_SZ, big + "\0"s, big},
      {"big padded", REG_SZ, "\r\n" + big + " \0"s, big},
  };
  for (const Case& c : cases) SetRaw(HKEY_CURRENT_USER, kPagorinSettings, c.name, c.type, c.data);
  for (const Case& c : cases) {
    std::string got = ReadPagorinSetting(c.name);
    EXPECT_EQ(got.size(), c.expected.size()) << c.name;
    EXPECT_TRUE(got == c.expected) << c.name;
  }
  EXPECT_EQ(ReadPagorinSetting("not there"), "");
}

// Text written through the wide functions with an odd byte count: the half
// character at the end never turns into bytes read from beyond the data.
TEST_F(RegistryTest, ReaderStaysInsideWideTextOfOddLength) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPagorinSettings, 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const wchar_t text[] = L"abcd";
  RegSetValueExW(key, L"odd", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 5);
  RegCloseKey(key);
  std::string got = ReadPagorinSetting("odd");
  EXPECT_TRUE(got == "ab" || got == "abc") << got;
}

// Each reader opens its own key, creates it when missing and leaves it empty.
TEST_F(RegistryTest, ReadersCreateTheirKeysEmpty) {
  DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software");
  struct Case {
    std::string (*reader)(const std::string&);
    HKEY root;
    const char* path;
  } cases[] = {
      {ReadPagorinInfo, HKEY_LOCAL_MACHINE, "Software\\Quibrel Software\\Pagorin"},
      {ReadPagorinSetting, HKEY_CURRENT_USER, "Software\\Quibrel\\pagorin2\\settings"},
      {ReadFolvaneInfo, HKEY_LOCAL_MACHINE, "Software\\Quibrel Software\\Folvane"},
      {ReadFolvaneSetting, HKEY_CURRENT_USER, "Software\\Quibrel\\folvane\\settings"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.reader("version"), "") << c.path;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(c.root, c.path, 0, KEY_READ, &key), ERROR_SUCCESS) << c.path;
    DWORD subkeys = 99, values = 99;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(subkeys, 0u) << c.path;
    EXPECT_EQ(values, 0u) << c.path;
    SetRaw(c.root, c.path, "version", REG_SZ, " 2.4 \0"s);
    EXPECT_EQ(c.reader("version"), "2.4") << c.path;
  }
  DeleteTree(HKEY_LOCAL_MACHINE, "Software\\Quibrel Software");
}
