#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"

namespace {

struct Process {
  DWORD id;
  std::string name;
};

// A snapshot taken the way the tool takes it.
std::vector<Process> Snapshot() {
  std::vector<Process> list;
  HANDLE snapshot = CreateToolhelp32Snapshot(15, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return list;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry))
    list.push_back({entry.th32ProcessID, entry.szExeFile});
  CloseHandle(snapshot);
  return list;
}

std::vector<std::string> Names(const std::vector<Process>& list) {
  std::vector<std::string> names;
  for (const Process& p : list) names.push_back(p.name);
  return names;
}

std::string NameOf(const std::vector<Process>& list, DWORD id) {
  for (const Process& p : list)
    if (p.id == id) return p.name;
  return {};
}

// The report's lines after its last Separator.
std::vector<std::string> ProcessLines(const std::vector<std::string>& report) {
  auto last = std::find(report.rbegin(), report.rend(), kSeparator);
  if (last == report.rend()) return {};
  return std::vector<std::string>(last.base(), report.end());
}

size_t Count(const std::vector<std::string>& lines, const std::string& name) {
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), name));
}

void EnterMakeAndModel(ToolSession& tool) {
  tool.Type(kEdit1, "Acme");
  tool.Type(kEdit2, "S1");
}

std::vector<std::string> RunAndCopy(ToolSession& tool) {
  RunOutcome run = tool.RunReport();
  EXPECT_TRUE(run.completed);
  EXPECT_EQ(run.box.hwnd, nullptr) << run.box.text;
  if (run.box.hwnd) tool.DismissMessageBox(run.box);
  return SplitLines(ClipboardText());
}

TEST(RunningProcesses, ListFollowsTheLastSeparatorInSnapshotOrder) {
  ToolSession tool;
  EnterMakeAndModel(tool);
  std::vector<Process> before = Snapshot();
  std::vector<std::string> report = RunAndCopy(tool);
  std::vector<Process> after = Snapshot();
  ASSERT_FALSE(after.empty());

  std::vector<std::string> lines = ProcessLines(report);
  ASSERT_FALSE(lines.empty());
  EXPECT_TRUE(lines.front() == before.front().name || lines.front() == after.front().name)
      << "first process line: " << lines.front();
  EXPECT_EQ(Count(lines, NameOf(after, tool.ProcessId())), 1u) << "the tool itself";
  EXPECT_GE(Count(lines, NameOf(after, GetCurrentProcessId())), 1u) << "the test program";
  // With no process starting or ending around the run, the list is that snapshot.
  if (Names(before) == Names(after)) {
    EXPECT_EQ(lines, Names(after));
  }
  EXPECT_EQ(tool.Text(kMemo1), ClipboardText());
}

// Copies of the tool under a name of their own, started and ended between runs.
class ProcessesBetweenRuns : public ::testing::Test {
 protected:
  const std::string probe_ = "QrtProbe.exe";
  const std::string probePath_ = "C:\\windows\\temp\\" + probe_;

  void SetUp() override { ASSERT_TRUE(CopyFileA(ToolPath().c_str(), probePath_.c_str(), FALSE)); }
  void TearDown() override {
    probes_.clear();
    DeleteFileA(probePath_.c_str());
  }
  std::vector<std::unique_ptr<ToolSession>> probes_;
};

TEST_F(ProcessesBetweenRuns, EachRunListsTheProcessesOfItsOwnMoment) {
  ToolSession tool;
  EnterMakeAndModel(tool);
  EXPECT_EQ(Count(ProcessLines(RunAndCopy(tool)), probe_), 0u);

  for (int i = 0; i < 2; ++i)
    probes_.push_back(
        std::make_unique<ToolSession>(std::map<std::string, std::string>{}, probePath_));
  EXPECT_EQ(Count(ProcessLines(RunAndCopy(tool)), probe_), 2u) << "two instances, two lines";

  ASSERT_EQ(probes_.back()->CloseAndWait(), 0u);
  probes_.pop_back();
  std::vector<std::string> lines = ProcessLines(RunAndCopy(tool));
  EXPECT_EQ(Count(lines, probe_), 1u) << "the ended one is gone";
  EXPECT_EQ(Count(lines, NameOf(Snapshot(), tool.ProcessId())), 1u) << "no lines of earlier runs";
}

// The test build stands in for ToolHelp missing and for a failure while the
// list is written: the run's guard drops it silently and the run completes.
TEST(RunningProcesses, SectionFailuresEndTheListAndTheRunCompletes) {
  struct Case {
    const char* fault;
    size_t processLines;
  } cases[] = {
      {"toolhelp:absent", 0},
      {"processes", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    ToolSession tool({{"QRT_FAULT", c.fault}}, FaultToolPath());
    EnterMakeAndModel(tool);
    std::vector<Process> before = Snapshot();
    std::vector<std::string> report = RunAndCopy(tool);
    std::vector<Process> after = Snapshot();
    ASSERT_FALSE(report.empty());
    std::vector<std::string> lines = ProcessLines(report);
    ASSERT_EQ(lines.size(), c.processLines);
    if (c.processLines == 0) {
      EXPECT_EQ(report.back(), kSeparator);
    } else {
      EXPECT_TRUE(lines.front() == before.front().name || lines.front() == after.front().name);
    }
    EXPECT_TRUE(tool.Enabled(kButton1));
    EXPECT_TRUE(tool.Visible(kLabel1));
    EXPECT_TRUE(tool.Visible(kLabel2));
    EXPECT_EQ(tool.FindMessageBox().hwnd, nullptr);
    EXPECT_EQ(tool.CloseAndWait(), 0u);
  }
}

}  // namespace
