#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/Unit1.h"
#include "vcl/form_description.h"
#include "vcl/toolhelp.h"

using TlHelp32::TProcessEntry32;

namespace {

// A system snapshot stood in for: the raw name field of each entry, and what
// the handler asked of it.
struct FakeSystem {
  std::vector<std::string> names;  // up to 260 bytes; shorter ones get a NUL and garbage after it
  size_t next = 0;
  size_t failAt = SIZE_MAX;   // the walk raises a failure when it reaches this entry
  HANDLE snapshot = nullptr;  // a real handle, so that its closing can be seen
  DWORD flags = 0, processId = 12345;
  std::vector<DWORD> sizes;  // dwSize at each walk call
  int walkCalls = 0;
};
FakeSystem fake;

HANDLE WINAPI FakeCreateSnapshot(DWORD flags, DWORD processId) {
  fake.flags = flags;
  fake.processId = processId;
  fake.snapshot = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  return fake.snapshot;
}

BOOL FakeFill(HANDLE snapshot, TProcessEntry32* entry) {
  ++fake.walkCalls;
  EXPECT_EQ(snapshot, fake.snapshot);
  fake.sizes.push_back(entry->dwSize);
  if (fake.next == fake.failAt) throw Exception("the walk failed");
  if (fake.next >= fake.names.size()) return FALSE;
  const std::string& name = fake.names[fake.next++];
  std::memset(entry->szExeFile, '#', sizeof entry->szExeFile);
  std::memcpy(entry->szExeFile, name.data(), name.size());
  if (name.size() < sizeof entry->szExeFile) entry->szExeFile[name.size()] = '\0';
  return TRUE;
}

BOOL WINAPI FakeFirst(HANDLE snapshot, TProcessEntry32* entry) {
  fake.next = 0;
  return FakeFill(snapshot, entry);
}
BOOL WINAPI FakeNext(HANDLE snapshot, TProcessEntry32* entry) { return FakeFill(snapshot, entry); }

bool HandleIsOpen(HANDLE h) {
  DWORD flags = 0;
  return h && GetHandleInformation(h, &flags) != FALSE;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0, end;
  while ((end = text.find("\r\n", start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

const char* const kFormWithReportView =
    "object Form1: TForm1\n"
    "  ClientHeight = 200\n"
    "  ClientWidth = 300\n"
    "  object Memo1: TMemo\n"
    "    Width = 280\n"
    "    Height = 180\n"
    "    ReadOnly = True\n"
    "    WordWrap = False\n"
    "    MaxLength = 0\n"
    "  end\n"
    "end\n";

// A hidden form with just the report view, holding one line before the section.
class RunningProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = FakeSystem();
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    form_ = std::make_unique<TForm1>();
    form_->Load(ParseFormDescription(kFormWithReportView), TForm1::Published());
    form_->aln("before");
  }
  void TearDown() override {
    TlHelp32::RestoreBinding();
    form_.reset();
    app_.reset();
    if (fake.snapshot && HandleIsOpen(fake.snapshot)) CloseHandle(fake.snapshot);
  }
  std::vector<std::string> ReportLines() const { return SplitLines(form_->Memo1->Text()); }

  std::unique_ptr<TApplication> app_;
  std::unique_ptr<TForm1> form_;
};

const TlHelp32::Binding kFakeBinding{FakeCreateSnapshot, FakeFirst, FakeNext};

TEST(ProcessEntry, HasTheSystemLayout) {
  TProcessEntry32 e{};
  EXPECT_EQ(sizeof e.szExeFile, 260u);
  EXPECT_EQ(sizeof e, sizeof(void*) == 4 ? 296u : 304u);
}

TEST_F(RunningProcesses, OneLinePerEntryInSnapshotOrderByteForByte) {
  struct Case {
    const char* what;
    std::vector<std::string> names, lines;
  } cases[] = {
      {"order and duplicates kept",
       {"System", "b.exe", "a.exe", "b.exe"},
       {"System", "b.exe", "a.exe", "b.exe"}},
      {"longest name with its NUL", {std::string(259, 'n')}, {std::string(259, 'n')}},
      {"full field without NUL stops at the field",
       {std::string(260, 'f')},
       {std::string(260, 'f')}},
      {"empty name gives an empty line", {"", "x.exe", ""}, {"", "x.exe", ""}},
      {"ANSI bytes and blanks kept", {" \xC4rger \xFC.exe "}, {" \xC4rger \xFC.exe "}},
      {"no first entry", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake = FakeSystem();
    fake.names = c.names;
    TlHelp32::OverrideBinding(kFakeBinding);
    form_->Memo1->Clear();
    form_->aln("before");

    form_->Button2Click(form_->Button2);

    std::vector<std::string> expected{"before"};
    expected.insert(expected.end(), c.lines.begin(), c.lines.end());
    EXPECT_EQ(ReportLines(), expected);
    EXPECT_EQ(fake.flags, 15u);
    EXPECT_EQ(fake.processId, 0u);
    EXPECT_EQ(fake.walkCalls, static_cast<int>(c.names.size()) + 1);
    for (DWORD size : fake.sizes) EXPECT_EQ(size, sizeof(TProcessEntry32));
    EXPECT_FALSE(HandleIsOpen(fake.snapshot)) << "the snapshot is closed";
  }
}

TEST_F(RunningProcesses, MissingToolHelpAddsNothingAndCallsNothing) {
  struct Case {
    const char* what;
    TlHelp32::Binding binding;
    bool snapshotTaken;
  } cases[] = {
      {"none of the functions", {}, false},
      {"no snapshot function", {nullptr, FakeFirst, FakeNext}, false},
      {"snapshot without the walk", {FakeCreateSnapshot, nullptr, nullptr}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fake = FakeSystem();
    fake.names = {"a.exe"};
    TlHelp32::OverrideBinding(c.binding);

    form_->Button2Click(form_->Button2);

    EXPECT_EQ(ReportLines(), std::vector<std::string>{"before"});
    EXPECT_EQ(fake.walkCalls, 0);
    EXPECT_EQ(fake.snapshot != nullptr, c.snapshotTaken);
    EXPECT_FALSE(HandleIsOpen(fake.snapshot));
  }
}

TEST_F(RunningProcesses, FailureDuringTheWalkKeepsTheLinesAndClosesTheSnapshot) {
  fake.names = {"a.exe", "b.exe", "c.exe"};
  fake.failAt = 2;
  TlHelp32::OverrideBinding(kFakeBinding);

  EXPECT_THROW(form_->Button2Click(form_->Button2), Exception);

  EXPECT_EQ(ReportLines(), (std::vector<std::string>{"before", "a.exe", "b.exe"}));
  EXPECT_FALSE(HandleIsOpen(fake.snapshot));
}

TEST_F(RunningProcesses, Kernel32BindingListsThisProcess) {
  TlHelp32::RestoreBinding();
  const TlHelp32::Binding& b = TlHelp32::CurrentBinding();
  EXPECT_NE(b.createSnapshot, nullptr);
  EXPECT_NE(b.processFirst, nullptr);
  EXPECT_NE(b.processNext, nullptr);
  EXPECT_EQ(&TlHelp32::CurrentBinding(), &b);

  form_->Button2Click(form_->Button2);

  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string own = path;
  own = own.substr(own.find_last_of("\\/") + 1);
  std::vector<std::string> lines = ReportLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.front(), "before");
  bool listed = false;
  for (const std::string& line : lines)
    listed = listed || lstrcmpiA(line.c_str(), own.c_str()) == 0;
  EXPECT_TRUE(listed) << own << " is not in the list";
}

}  // namespace
