// The installed data source files section: the *.ds files under
// c:\windows\twain_32, listed depth first between the heading and its
// Separator lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver.h"

namespace {
const char* const kHeading = "Installed Data Sources:";
const std::string kPrefix = "c:\\windows\\twain_32\\";

std::wstring Wide(const std::string& text) {
  std::wstring w(text.size(), L'\0');
  w.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &w[0],
                               static_cast<int>(w.size())));
  return w;
}

// \\?\ paths reach past MAX_PATH, so the fixture can hold trees that the
// tool's own search cannot enter.
std::wstring Long(const std::string& path) { return L"\\\\?\\" + Wide(path); }

void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
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
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
    } while (FindNextFileW(h, &data));
    FindClose(h);
  }
  RemoveDirectoryW(path.c_str());
}

// The file lines of the section, and what follows them.
struct Section {
  bool found = false;
  std::vector<std::string> files;
  std::vector<std::string> after;  // the lines after the file lines
};

Section SectionOf(const std::vector<std::string>& lines) {
  Section s;
  auto it = std::find(lines.begin(), lines.end(), kHeading);
  if (it == lines.end()) return s;
  s.found = true;
  EXPECT_EQ(*(it - 1), kSeparator) << "the heading follows the Separator of the run";
  for (++it; it != lines.end() && *it != kSeparator; ++it) s.files.push_back(*it);
  s.after.assign(it, lines.end());
  return s;
}

size_t CountSeparators(const std::vector<std::string>& lines) {
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), kSeparator));
}

class DataSourceFiles : public ::testing::Test {
 protected:
  // The tree is made as C:\Windows\TWAIN_32 on purpose: the report names the
  // directory as written, in lower case, whatever the case on disk.
  static constexpr const char* kRoot = "C:\\Windows\\TWAIN_32";

  void SetUp() override { RemoveTree(Long(kRoot)); }
  void TearDown() override { RemoveTree(Long(kRoot)); }

  static std::string At(const std::string& relative) {
    return relative.empty() ? kRoot : std::string(kRoot) + "\\" + relative;
  }
  void Dir(const std::string& relative, DWORD attributes = 0) {
    ASSERT_TRUE(CreateDirectoryW(Long(At(relative)).c_str(), nullptr)) << relative;
    if (attributes) {
      ASSERT_TRUE(SetFileAttributesW(Long(At(relative)).c_str(), attributes));
    }
  }
  void File(const std::string& relative, DWORD attributes = 0) {
    HANDLE h = CreateFileW(Long(At(relative)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << relative;
    CloseHandle(h);
    if (attributes) {
      ASSERT_TRUE(SetFileAttributesW(Long(At(relative)).c_str(), attributes));
    }
  }

  static std::vector<std::string> Report(ToolSession& tool) {
    tool.Type(kEdit1, "Make");
    tool.Type(kEdit2, "Model");
    RunOutcome run = tool.RunReport();
    EXPECT_TRUE(run.completed) << run.box.text;
    const std::string text = ClipboardText();
    EXPECT_EQ(text, tool.Text(kMemo1));
    return SplitLines(text);
  }
};
}  // namespace

TEST_F(DataSourceFiles, NoTwain32GivesTheHeadingAndTwoSeparators) {
  ToolSession tool;
  Section s = SectionOf(Report(tool));
  ASSERT_TRUE(s.found);
  EXPECT_TRUE(s.files.empty());
  ASSERT_GE(s.after.size(), 2u);
  EXPECT_EQ(s.after[0], kSeparator);
  EXPECT_EQ(s.after[1], kSeparator);
}

TEST_F(DataSourceFiles, TreeIsListedDepthFirstWithHiddenAndSystemDirectoriesLeftOut) {
  Dir("");
  // Wine's own data source files, as its 32-bit prefixes ship them.
  for (const char* wine : {"gphoto2.ds", "sane.ds"})
    ASSERT_TRUE(
        CopyFileA((std::string("C:\\windows\\twain_64\\") + wine).c_str(), At(wine).c_str(), TRUE))
        << wine;
  File("B.DS");
  File("a.ds");
  File("hidden.ds", FILE_ATTRIBUTE_HIDDEN);
  File("system.ds", FILE_ATTRIBUTE_SYSTEM);
  File("readonly.ds", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  File("notes.txt");
  File("x.dsx");
  Dir("Alpha");
  File("Alpha\\one.ds");
  Dir("Alpha\\Deep");
  File("Alpha\\Deep\\two.ds");
  Dir("Alpha\\Hid", FILE_ATTRIBUTE_HIDDEN);
  File("Alpha\\Hid\\never1.ds");
  Dir("beta");
  File("beta\\three.ds");
  Dir("HiddenDir", FILE_ATTRIBUTE_HIDDEN);
  File("HiddenDir\\never2.ds");
  Dir("HiddenDir\\plain");
  File("HiddenDir\\plain\\never3.ds");
  Dir("SysDir", FILE_ATTRIBUTE_SYSTEM);
  File("SysDir\\never4.ds");
  Dir("x.ds");  // named like a data source file: searched, not listed
  File("x.ds\\inner.ds");

  ToolSession tool;
  Section s = SectionOf(Report(tool));
  ASSERT_TRUE(s.found);
  // Wine's search returns the names of a directory in case-insensitive order.
  const std::vector<std::string> expected = {
      kPrefix + "a.ds",           kPrefix + "B.DS",           kPrefix + "gphoto2.ds",
      kPrefix + "hidden.ds",      kPrefix + "readonly.ds",    kPrefix + "sane.ds",
      kPrefix + "system.ds",      kPrefix + "Alpha\\one.ds",  kPrefix + "Alpha\\Deep\\two.ds",
      kPrefix + "beta\\three.ds", kPrefix + "x.ds\\inner.ds",
  };
  EXPECT_EQ(s.files, expected);
  for (const std::string& line : s.files) {
    EXPECT_EQ(line.rfind(kPrefix, 0), 0u) << line;
    EXPECT_EQ(line.find("\\\\"), std::string::npos) << line;
  }
  ASSERT_GE(s.after.size(), 2u);
  EXPECT_EQ(s.after[0], kSeparator);
  EXPECT_EQ(s.after[1], kSeparator);
}

TEST_F(DataSourceFiles, LongAndNonAsciiNamesAndDeepPathsUpToTheSearchLimit) {
  if (GetACP() != 1252) GTEST_SKIP() << "the names beyond ASCII are code page 1252 text";
  Dir("");
  // A name of the greatest length a component may have: its line is longer
  // than MAX_PATH, and the search of its directory is not.
  const std::string longest = std::string(252, 'L') + ".ds";
  File(longest);
  File("caf\xE9 \xC4\xFF.ds");
  // Directories nested until the search pattern of the last one has the
  // longest length the system's search takes (259 characters): its file is
  // listed; below it a further directory cannot be searched, and its branch
  // ends quietly.
  const std::string d1 = std::string(50, '1'), d2 = std::string(50, '2'), d3 = std::string(50, '3'),
                    d4 = std::string(50, '4'), d5 = std::string(30, '5');
  const std::string deep = d1 + "\\" + d2 + "\\" + d3 + "\\" + d4 + "\\" + d5;
  Dir(d1);
  Dir(d1 + "\\" + d2);
  Dir(d1 + "\\" + d2 + "\\" + d3);
  Dir(d1 + "\\" + d2 + "\\" + d3 + "\\" + d4);
  Dir(deep);
  File(deep + "\\f.ds");
  Dir(deep + "\\beyond");
  File(deep + "\\beyond\\g.ds");
  ASSERT_EQ((kPrefix + deep + "\\*.ds").size(), 259u);

  ToolSession tool;
  Section s = SectionOf(Report(tool));
  const std::vector<std::string> expected = {
      kPrefix + "caf\xE9 \xC4\xFF.ds",
      kPrefix + longest,
      kPrefix + deep + "\\f.ds",
  };
  EXPECT_EQ(s.files, expected);
  ASSERT_GE(s.after.size(), 2u);
  EXPECT_EQ(s.after[1], kSeparator);
}

TEST_F(DataSourceFiles, ThousandsOfFilesReachTheClipboardWhole) {
  Dir("");
  Dir("many");
  // Each line costs the report view a few milliseconds: just enough files
  // for their lines alone to pass the 32,767 characters of the view's old limit.
  const int count = 640;
  for (int i = 0; i < count; ++i) {
    char name[64];
    wsprintfA(name, "many\\source_%04d_of_a_large_set.ds", i);
    File(name);
  }
  ToolSession tool;
  const std::vector<std::string> lines = Report(tool);
  Section s = SectionOf(lines);
  ASSERT_EQ(s.files.size(), static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    char name[80];
    wsprintfA(name, "c:\\windows\\twain_32\\many\\source_%04d_of_a_large_set.ds", i);
    EXPECT_EQ(s.files[i], name);
  }
  size_t length = 0;
  for (const std::string& line : s.files) length += line.size() + 2;
  EXPECT_GT(length, 32767u);
  ASSERT_GE(s.after.size(), 2u);
  EXPECT_EQ(s.after[1], kSeparator);
}

TEST_F(DataSourceFiles, FailureDuringTheSearchKeepsTheLinesAndDropsTheClosingSeparator) {
  Dir("");
  File("a.ds");
  File("b.ds");
  Dir("sub");
  File("sub\\c.ds");

  size_t separatorsOfACompleteRun = 0;
  {
    ToolSession tool({}, FaultToolPath());
    separatorsOfACompleteRun = CountSeparators(Report(tool));
  }
  // The failure is raised at the first entry of the subdirectory pass: the
  // start directory's files are in, the subdirectory's are not.
  ToolSession tool({{"QRT_FAULT", "dsfiles.entry"}}, FaultToolPath());
  const std::vector<std::string> lines = Report(tool);
  Section s = SectionOf(lines);
  EXPECT_EQ(s.files, (std::vector<std::string>{kPrefix + "a.ds", kPrefix + "b.ds"}));
  ASSERT_FALSE(s.after.empty());
  EXPECT_EQ(s.after[0], kSeparator);
  EXPECT_EQ(CountSeparators(lines), separatorsOfACompleteRun - 1);
  EXPECT_TRUE(tool.Enabled(kButton1));
}

TEST_F(DataSourceFiles, ClicksDuringTheSearchEnableRunReportButStartNoSecondRun) {
  Dir("");
  Dir("sub");
  File("sub\\only.ds");
  // Each entry of the subdirectory pass takes three seconds in this build.
  ToolSession tool({{"QRT_FAULT", "dsfiles.entry:sleep"}}, FaultToolPath());
  tool.Type(kEdit1, "Make");
  tool.Type(kEdit2, "Model");
  ASSERT_TRUE(tool.Checked(kCheckBox1));
  const std::string marker = "(clipboard before the run)";
  SetClipboardText(marker);
  tool.PostClick(kButton1);

  // The run lets messages through only at its start and in the search; once
  // the heading is in the view, a message answered comes from the search.
  bool inSearch = false;
  for (int i = 0; i < 600 && !inSearch; ++i) {
    if (!tool.Enabled(kButton1)) inSearch = tool.Text(kMemo1).find(kHeading) != std::string::npos;
    if (!inSearch) Sleep(50);
  }
  ASSERT_TRUE(inSearch);
  tool.PostClick(kCheckBox1);
  tool.PostClick(kButton1);  // enabled again by then: the running click ignores it

  // Run Report comes back while the notice, which the finish of the run
  // shows before it enables Run Report, is still hidden.
  bool enabledDuringRun = false;
  for (int i = 0; i < 1200 && !enabledDuringRun; ++i) {
    if (tool.Enabled(kButton1)) {
      enabledDuringRun = !tool.Visible(kLabel1);
      break;
    }
    Sleep(25);
  }
  EXPECT_TRUE(enabledDuringRun);

  for (int i = 0; i < 2400 && ClipboardText() == marker; ++i) Sleep(50);
  ASSERT_TRUE(tool.WaitIdle());
  const std::string text = ClipboardText();
  EXPECT_EQ(text, tool.Text(kMemo1));
  const std::vector<std::string> lines = SplitLines(text);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Quibrel Diagnostics v1.58"), 1);
  EXPECT_EQ(lines.front(), "Quibrel Diagnostics v1.58");
  Section s = SectionOf(lines);
  EXPECT_EQ(s.files, std::vector<std::string>{kPrefix + "sub\\only.ds"});
  EXPECT_FALSE(tool.Checked(kCheckBox1));
  EXPECT_TRUE(tool.Visible(kLabel1));
}
