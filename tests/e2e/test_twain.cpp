// The TWAIN sources section against our test manager (tests/twain_fake):
// where the tool finds the manager, what it lists, what it sends, and how it
// survives a manager that crashes.
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "driver.h"
#include "expected.h"

namespace {
const char kCannotLoad[] = "Cannot load Twain DSM. Twain may not installed on this PC";
const char kNoSources[] = "No Twain data sources were found on this system";
const char kWindowsDir[] = "C:\\windows";
const char kSystemDir[] = "C:\\windows\\system32";

using Lines = std::vector<std::string>;

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char b : bytes) {
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return hex;
}

// A TW_STR32 field of the script: the bytes, zero-padded to 34, in hex.
std::string Field(std::string bytes) {
  bytes.resize(34, '\0');
  return Hex(bytes);
}

std::string Source(const std::string& name, const std::string& maker = "Maker",
                   const std::string& family = "Family", const std::string& version = "1.0") {
  return "source " + Field(name) + " " + Field(maker) + " " + Field(family) + " " + Field(version) +
         "\n";
}

Lines SourceLines(int index, const std::string& name, const std::string& maker = "Maker",
                  const std::string& family = "Family", const std::string& version = "1.0") {
  return {" ", "Source Index:" + std::to_string(index), name, maker, family, version};
}

// The TWAIN section of a report: the lines between its second and third
// Separator.
Lines TwainSection(const Lines& report) {
  Lines section;
  int separators = 0;
  for (const std::string& line : report) {
    if (line == kSeparator) {
      if (++separators == 3) return section;
    } else if (separators == 2) {
      section.push_back(line);
    }
  }
  ADD_FAILURE() << "the report has fewer than three separators";
  return section;
}

// One logged call of the test manager.
struct Call {
  std::string what, rest;
};

class TwainSources : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Env("QRT_TWAIN_FAKE").empty());
    fake_ = WinPath(Env("QRT_TWAIN_FAKE"));
    char tmp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, tmp);
    static int counter = 0;
    work_ = std::string(tmp) + "qrt_twain_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(++counter);
    ASSERT_TRUE(CreateDirectoryA(work_.c_str(), nullptr));
    temp_ = MakeDir("temp");
  }

  void TearDown() override {
    tool_.reset();
    for (const std::string& dir : installed_)
      for (const char* name : {"TWAINDSM.DLL", "TWAINDSM.script", "TWAINDSM.log"})
        DeleteFileA((dir + "\\" + name).c_str());
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    for (auto it = dirs_.rbegin(); it != dirs_.rend(); ++it) RemoveDirectoryA(it->c_str());
    RemoveDirectoryA(work_.c_str());
  }

  std::string MakeDir(const std::string& name) {
    std::string dir = work_ + "\\" + name;
    CreateDirectoryA(dir.c_str(), nullptr);
    dirs_.push_back(dir);
    return dir;
  }

  // Puts the test manager with its script into dir.
  void Install(const std::string& dir, const std::string& script, const std::string& dll = "") {
    installed_.push_back(dir);
    ASSERT_TRUE(CopyFileA(dll.empty() ? fake_.c_str() : dll.c_str(),
                          (dir + "\\TWAINDSM.DLL").c_str(), FALSE))
        << dir;
    WriteFileText(dir + "\\TWAINDSM.script", script);
    DeleteFileA((dir + "\\TWAINDSM.log").c_str());
  }

  std::vector<Call> Log(const std::string& dir) {
    std::vector<Call> calls;
    for (const std::string& line : SplitLines(ReadFileText(dir + "\\TWAINDSM.log"))) {
      const size_t space = line.find(' ');
      if (line.rfind("call ", 0) == 0) {
        const size_t next = line.find(' ', 5);
        calls.push_back({line.substr(5, next - 5), line.substr(next + 1)});
      } else {
        calls.push_back(
            {line.substr(0, space), space == std::string::npos ? "" : line.substr(space + 1)});
      }
    }
    return calls;
  }
  static std::vector<std::string> Names(const std::vector<Call>& calls) {
    std::vector<std::string> names;
    for (const Call& c : calls) names.push_back(c.what);
    return names;
  }

  // Starts the tool with the test's own temporary-files directory.
  ToolSession& Start(const std::string& exe = "") {
    tool_ = std::make_unique<ToolSession>(
        std::map<std::string, std::string>{{"TMP", temp_}, {"TEMP", temp_}}, exe);
    tool_->Type(kEdit1, "Make");
    tool_->Type(kEdit2, "Model");
    return *tool_;
  }

  // A run that must complete: its TWAIN section, the clipboard checked
  // against the report view.
  Lines CompletedSection() {
    RunOutcome outcome = tool_->RunReport();
    EXPECT_TRUE(outcome.completed) << "box: " << outcome.box.text;
    if (outcome.box.hwnd) tool_->DismissMessageBox(outcome.box);
    const std::string clip = ClipboardText();
    EXPECT_EQ(clip, tool_->Text(kMemo1));
    return TwainSection(SplitLines(clip));
  }

  void Untick() {
    tool_->PostClick(kCheckBox1);
    for (int i = 0; i < 200 && tool_->Checked(kCheckBox1); ++i) Sleep(25);
    ASSERT_FALSE(tool_->Checked(kCheckBox1));
  }

  std::string fake_, work_, temp_;
  std::vector<std::string> installed_, files_, dirs_;
  std::unique_ptr<ToolSession> tool_;
};

TEST_F(TwainSources, UntickedBoxLoadsNothingAndWritesNothing) {
  Install(kWindowsDir, Source("Scanner"));
  Start();
  Untick();
  EXPECT_EQ(CompletedSection(), Lines{});
  EXPECT_EQ(ReadFileText(std::string(kWindowsDir) + "\\TWAINDSM.log"), "");
}

TEST_F(TwainSources, NoUsableManagerGivesTheTwoLines) {
  const std::string notALibrary = work_ + "\\text.txt";
  files_.push_back(notALibrary);
  WriteFileText(notALibrary, "This is no library.\r\n");
  struct Case {
    const char* name;
    std::string dll;  // empty: no TWAINDSM.DLL anywhere
  } cases[] = {
      {"none", ""},
      {"not a library", notALibrary},
      {"no ordinal 1", WinPath(Env("QRT_TWAIN_NOENTRY"))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.dll.empty()) Install(kWindowsDir, "", c.dll);
    Start();
    EXPECT_EQ(CompletedSection(), (Lines{kCannotLoad, kNoSources}));
    tool_.reset();
  }
}

TEST_F(TwainSources, ManagerIsFoundInTheFiveDirectoriesInOrder) {
  const std::string current = MakeDir("current"), toolDir = MakeDir("tool");
  const std::string toolCopy = toolDir + "\\Project1.exe";
  files_.push_back(toolCopy);
  ASSERT_TRUE(CopyFileA(ToolPath().c_str(), toolCopy.c_str(), FALSE));
  struct Case {
    const char* name;
    std::vector<std::string> dirs;  // each gets a manager reporting a source named after it
    std::string exe;
    bool inCurrent;
  } cases[] = {
      {"windows", {kWindowsDir, kSystemDir}, "", false},
      {"system", {kSystemDir}, "", false},
      {"current", {current}, "", true},
      {"tool", {toolDir}, toolCopy, false},
      {"temp", {temp_}, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (size_t i = 0; i < c.dirs.size(); ++i)
      Install(c.dirs[i], Source(i == 0 ? std::string("In ") + c.name : "Not this one"));
    char before[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    if (c.inCurrent) SetCurrentDirectoryA(current.c_str());
    Start(c.exe);
    SetCurrentDirectoryA(before);
    Lines expected{"1 Twain data source(s) found:"};
    for (const std::string& line : SourceLines(0, std::string("In ") + c.name))
      expected.push_back(line);
    EXPECT_EQ(CompletedSection(), expected);
    tool_.reset();
    for (size_t i = 1; i < c.dirs.size(); ++i) EXPECT_EQ(Log(c.dirs[i]).size(), 0u) << c.dirs[i];
    for (const std::string& dir : c.dirs)
      for (const char* name : {"TWAINDSM.DLL", "TWAINDSM.script", "TWAINDSM.log"})
        DeleteFileA((dir + "\\" + name).c_str());
  }
}

TEST_F(TwainSources, ListsWhatTheManagerReports) {
  const std::string raw34(34, 'A');
  Lines three{"3 Twain data source(s) found:"};
  for (int i = 0; i < 3; ++i)
    for (const std::string& l : SourceLines(i, "S" + std::to_string(i))) three.push_back(l);
  Lines two{"2 Twain data source(s) found:"};
  for (int i = 0; i < 2; ++i)
    for (const std::string& l : SourceLines(i, "S" + std::to_string(i))) two.push_back(l);
  const std::string threeSources = Source("S0") + Source("S1") + Source("S2");
  Lines one{"1 Twain data source(s) found:"};
  for (const std::string& l : SourceLines(0, "Only", "Q Corp", " Fam ", "v2.5")) one.push_back(l);
  Lines odd{"1 Twain data source(s) found:"};
  for (const std::string& l : SourceLines(0, raw34, "", "\xC4hnlich", "")) odd.push_back(l);
  struct Case {
    const char* name;
    std::string script;
    Lines section;
  } cases[] = {
      {"open fails", "return open 1\n" + threeSources, {kNoSources}},
      {"no sources", "", {kNoSources}},
      {"GETFIRST fails", "return getfirst 1\n" + threeSources, {kNoSources}},
      {"one source", Source("Only", "Q Corp", " Fam ", "v2.5"), one},
      {"three sources", threeSources, three},
      {"GETNEXT fails after two", "return getnext 1 2\n" + threeSources, two},
      {"34 bytes, leading zero",
       "source " + Field(raw34) + " " + Field(std::string("\0Hidden", 7)) + " " +
           Field("\xC4hnlich") + " " + Field("") + "\n",
       odd},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Install(kWindowsDir, c.script);
    Start();
    EXPECT_EQ(CompletedSection(), c.section);
    tool_.reset();
  }
}

TEST_F(TwainSources, SendsItsIdentityAndHiddenWindowAndLoadsOncePerRun) {
  // The application identity as the manager must see it: the one record,
  // Id 0 until the manager assigns one (our test manager sets 0x51 at its
  // first open) and kept from then on.
  auto identity = [](unsigned id) {
    std::string bytes(156, '\0');
    auto put16 = [&](size_t at, unsigned v) {
      bytes[at] = static_cast<char>(v & 0xFF);
      bytes[at + 1] = static_cast<char>(v >> 8);
    };
    put16(0, id);
    put16(4, 4);
    put16(6, 1);
    put16(8, 0xFFFF);
    put16(10, 1);
    bytes.replace(12, 12, "Quibrel Scan");
    put16(46, 1);
    put16(48, 9);
    put16(50, 3);
    bytes.replace(54, 7, "Quibrel");
    bytes.replace(88, 12, "Quibrel Scan");
    bytes.replace(122, 12, "Quibrel Scan");
    return Hex(bytes);
  };
  Install(kWindowsDir, Source("First"));
  Start();
  Lines first{"1 Twain data source(s) found:"};
  for (const std::string& l : SourceLines(0, "First")) first.push_back(l);
  EXPECT_EQ(CompletedSection(), first);
  // The second run asks afresh: it loads the library again, which reads
  // its new script.
  WriteFileText(std::string(kWindowsDir) + "\\TWAINDSM.script", Source("Second") + Source("Third"));
  Lines second{"2 Twain data source(s) found:"};
  for (const std::string& l : SourceLines(0, "Second")) second.push_back(l);
  for (const std::string& l : SourceLines(1, "Third")) second.push_back(l);
  EXPECT_EQ(CompletedSection(), second);

  const std::vector<Call> calls = Log(kWindowsDir);
  EXPECT_EQ(Names(calls), (std::vector<std::string>{"load", "open", "getfirst", "getnext", "close",
                                                    "unload", "load", "open", "getfirst", "getnext",
                                                    "getnext", "close", "unload"}));
  std::string origin;
  bool opened = false;
  for (const Call& c : calls) {
    if (c.what == "load" || c.what == "unload") continue;
    SCOPED_TRACE(c.what + " " + c.rest);
    const bool parent = c.what == "open" || c.what == "close";
    const std::string dat = parent ? "DAT=4" : "DAT=3";
    const std::map<std::string, std::string> msg = {
        {"open", "0301"}, {"close", "0302"}, {"getfirst", "0004"}, {"getnext", "0005"}};
    EXPECT_EQ(c.rest.rfind("DG=1 " + dat + " MSG=" + msg.at(c.what) + " dest=null data=" +
                               (parent ? "hwnd-ok" : "identity-zero") + " origin=",
                           0),
              0u);
    const std::string where = c.rest.substr(c.rest.find("origin=") + 7);
    const std::string address = where.substr(0, where.find(':'));
    if (origin.empty()) origin = address;
    EXPECT_EQ(address, origin) << "the origin is the one identity record, in place";
    EXPECT_EQ(where.substr(where.find(':') + 1), identity(opened ? 0x51 : 0));
    opened = true;
  }
}

TEST_F(TwainSources, CrashingManagerNeverKillsTheTool) {
  const std::string av =
      "Access violation at address [0-9A-F]{16} in module 'TWAINDSM\\.DLL'\\. Write of address "
      "0{16}\\.";
  const std::string at = " at address [0-9A-F]{16} in module 'TWAINDSM\\.DLL'\\.";
  Lines listed{"1 Twain data source(s) found:"};
  for (const std::string& l : SourceLines(0, "Crashy")) listed.push_back(l);
  struct Case {
    std::string fault;
    std::string box;  // empty: the run completes
    Lines section;    // the section's lines in the report view
  } cases[] = {
      {"open av", "", {kNoSources}},
      {"open div", "", {kNoSources}},
      {"getfirst av", av, {}},
      {"getfirst div", "Division by zero" + at, {}},
      {"getfirst ill", "Illegal instruction" + at, {}},
      {"getnext av", av, {}},
      {"close av", av, listed},
      // Wine's loader catches a fault in the library's initialization and
      // clean-up itself: the load fails, the unload returns. The guard around
      // both stays for loaders that let such a fault through.
      {"load av", "", {kCannotLoad, kNoSources}},
      {"unload av", "", listed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    Install(kWindowsDir, "fault " + c.fault + "\n" + Source("Crashy"));
    Start();
    RunOutcome outcome = tool_->RunReport();
    if (c.box.empty()) {
      EXPECT_TRUE(outcome.completed) << outcome.box.text;
      EXPECT_EQ(TwainSection(SplitLines(ClipboardText())), c.section);
    } else {
      ASSERT_TRUE(outcome.box.hwnd);
      EXPECT_TRUE(std::regex_match(outcome.box.text, std::regex(c.box))) << outcome.box.text;
      EXPECT_EQ(outcome.box.title, "Project1");
      EXPECT_TRUE(outcome.box.hasIcon);
      tool_->DismissMessageBox(outcome.box);
      Lines memo = SplitLines(tool_->Text(kMemo1));
      memo.push_back(kSeparator);  // close the section for the comparison
      EXPECT_EQ(TwainSection(memo), c.section);
      EXPECT_FALSE(tool_->Enabled(kButton1));
    }
    // One click on the box (unticking it, as the window advises) and the
    // next run completes.
    Untick();
    EXPECT_TRUE(tool_->WaitIdle());
    EXPECT_EQ(CompletedSection(), Lines{});
    EXPECT_EQ(tool_->CloseAndWait(), 0u);
    tool_.reset();
  }
}
}  // namespace
