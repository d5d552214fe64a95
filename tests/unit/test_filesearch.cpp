#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "vcl/filesearch.h"

namespace {
// A scratch directory of the test's own, removed with everything in it.
class SearchDir : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    dir_ = std::string(temp) + "qrt_filesearch_" + std::to_string(GetCurrentProcessId());
    Remove(dir_);
    ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr));
  }
  void TearDown() override { Remove(dir_); }

  std::string Path(const std::string& name) const { return dir_ + "\\" + name; }
  void File(const std::string& name, DWORD attributes = 0) {
    HANDLE h = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << name;
    CloseHandle(h);
    if (attributes) {
      ASSERT_TRUE(SetFileAttributesA(Path(name).c_str(), attributes)) << name;
    }
  }
  void Dir(const std::string& name, DWORD attributes = 0) {
    ASSERT_TRUE(CreateDirectoryA(Path(name).c_str(), nullptr)) << name;
    if (attributes) {
      ASSERT_TRUE(SetFileAttributesA(Path(name).c_str(), attributes)) << name;
    }
  }

  // Every name that a search of the pattern yields; directories end in "/".
  static std::set<std::string> Yielded(const std::string& pattern, int attr) {
    std::set<std::string> names;
    TSearchRec record;
    TSearchScope scope(record);
    if (FindFirst(pattern, attr, record) == 0) {
      do {
        names.insert(record.Name + ((record.Attr & faDirectory) ? "/" : ""));
      } while (FindNext(record) == 0);
    }
    return names;
  }

  static void Remove(const std::string& path) {
    std::wstring wide = L"\\\\?\\" + Wide(path);
    RemoveTree(wide);
  }
  static std::wstring Wide(const std::string& text) {
    std::wstring w(text.size(), L'\0');
    w.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &w[0],
                                 static_cast<int>(w.size())));
    return w;
  }
  static void RemoveTree(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileW(path.c_str());
      return;
    }
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
      } while (FindNextFileW(h, &data));
      FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
  }

  std::string dir_;
};
}  // namespace

TEST_F(SearchDir, AttributeRuleSkipsOnlyTheSpecialAttributesNotAskedFor) {
  File("plain.ds");
  File("hidden.ds", FILE_ATTRIBUTE_HIDDEN);
  File("system.ds", FILE_ATTRIBUTE_SYSTEM);
  File("readonly.ds", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  File("other.txt");
  Dir("folder.ds");
  Dir("hiddendir", FILE_ATTRIBUTE_HIDDEN);
  Dir("systemdir", FILE_ATTRIBUTE_SYSTEM);

  struct Case {
    const char* pattern;
    int attr;
    std::set<std::string> names;
  } cases[] = {
      // Everything but directories: hidden, system and read-only files pass.
      {"\\*.ds", faAnyFile & ~faDirectory, {"plain.ds", "hidden.ds", "system.ds", "readonly.ds"}},
      // Directories asked for: hidden and system entries of both kinds are skipped.
      {"\\*.*", faDirectory, {"./", "../", "plain.ds", "readonly.ds", "other.txt", "folder.ds/"}},
      {"\\*.*",
       faAnyFile,
       {"./", "../", "plain.ds", "hidden.ds", "system.ds", "readonly.ds", "other.txt", "folder.ds/",
        "hiddendir/", "systemdir/"}},
      {"\\*.ds", 0, {"plain.ds", "readonly.ds"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Yielded(dir_ + c.pattern, c.attr), c.names) << c.pattern << " " << c.attr;
}

TEST_F(SearchDir, FailedSearchLeavesNothingOpenAndReportsAnErrorCode) {
  Dir("hiddendir", FILE_ATTRIBUTE_HIDDEN);
  const std::string tooLong = dir_ + "\\" + std::string(300, 'a') + "\\*.ds";
  const std::string patterns[] = {
      dir_ + "\\missing\\*.ds",  // directory missing
      dir_ + "\\*.ds",           // no match
      dir_ + "\\hiddendir",      // the only match is excluded
      tooLong,                   // longer than the system's search accepts
      std::string("c:\\\0\\*.*", 7),
  };
  for (const std::string& pattern : patterns) {
    TSearchRec record;
    EXPECT_NE(FindFirst(pattern, faDirectory, record), 0) << pattern.size();
    EXPECT_FALSE(record.FindHandle.Valid());
    EXPECT_NE(FindNext(record), 0);
    FindClose(record);
    FindClose(record);
  }
}

TEST_F(SearchDir, RecordServesOneSearchAfterAnotherAndCloseEndsIt) {
  File("a.ds");
  File("b.ds");
  TSearchRec record;
  ASSERT_EQ(FindFirst(dir_ + "\\*.ds", faAnyFile & ~faDirectory, record), 0);
  EXPECT_TRUE(record.FindHandle.Valid());
  ASSERT_EQ(FindFirst(dir_ + "\\a.ds", faAnyFile & ~faDirectory, record), 0);
  EXPECT_EQ(record.Name, "a.ds");
  EXPECT_NE(FindNext(record), 0);
  FindClose(record);
  EXPECT_FALSE(record.FindHandle.Valid());
  EXPECT_NE(FindNext(record), 0);
}

TEST_F(SearchDir, NamesOfFullLengthAndBeyondAsciiComeWhole) {
  // A name of 255 characters, the most a component may have, cannot be made
  // by its full path in the A functions: the W ones with \\?\ can.
  const std::string longName = std::string(252, 'n') + ".ds";
  const std::wstring wide = L"\\\\?\\" + Wide(Path(longName));
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  std::set<std::string> expected = {longName};
  if (GetACP() == 1252) {
    File("caf\xE9_\xC4\xFF.ds");
    expected.insert("caf\xE9_\xC4\xFF.ds");
  }
  EXPECT_EQ(Yielded(dir_ + "\\*.ds", faAnyFile & ~faDirectory), expected);
}
