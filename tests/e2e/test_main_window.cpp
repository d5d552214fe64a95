// The window, the report run's frame and the system facts, driven for real.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <thread>

#include "driver.h"
#include "expected.h"

namespace {

// The bitness line the build under test must write in this prefix.
std::string ExpectedBitness() { return Env("QRT_EXPECT_BITNESS"); }

RunOutcome RunWith(ToolSession& tool, const std::string& make, const std::string& model) {
  tool.Type(kEdit1, make);
  tool.Type(kEdit2, model);
  return tool.RunReport();
}

}  // namespace

TEST(Validation, MissingMakeOrModelShowsOnlyItsMessage) {
  const struct {
    const char* make;
    const char* model;
    const char* message;
  } cases[] = {
      {"", "", "Please enter the Make of your scanner"},
      {"", "X100", "Please enter the Make of your scanner"},
      {"Acme", "", "Please enter the Model of your scanner"},
  };
  ToolSession tool;
  for (const auto& c : cases) {
    tool.SetText(kEdit1, c.make);
    tool.SetText(kEdit2, c.model);
    RunOutcome outcome = tool.RunReport();
    ASSERT_TRUE(outcome.box.hwnd) << c.make << "/" << c.model;
    EXPECT_EQ(outcome.box.text, c.message);
    EXPECT_EQ(outcome.box.title, "Project1");
    EXPECT_FALSE(outcome.box.hasIcon);
    EXPECT_EQ(outcome.box.buttons, 1);
    // Centred on the screen.
    RECT r;
    GetWindowRect(outcome.box.hwnd, &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
    // Modal: the main window takes no input while the message is up.
    EXPECT_FALSE(IsWindowEnabled(tool.Window()));
    tool.DismissMessageBox(outcome.box);
    ASSERT_TRUE(tool.WaitIdle());
    EXPECT_TRUE(tool.Enabled(kButton1));
    EXPECT_EQ(tool.Text(kMemo1), "");
    EXPECT_FALSE(tool.Visible(kLabel1));
    EXPECT_FALSE(tool.Visible(kLabel2));
  }
}

TEST(Report, FrameLineForLine) {
  ToolSession tool;
  RunOutcome outcome = RunWith(tool, "   ", "Model 7 \xE9");
  ASSERT_TRUE(outcome.completed) << outcome.box.text;
  std::vector<std::string> lines = SplitLines(ClipboardText());
  ASSERT_GE(lines.size(), 16u);
  EXPECT_EQ(lines[0], "Quibrel Diagnostics v1.58");
  // en_US, as Wine gives it without LC_ALL: M/d/yyyy and a 12-hour clock.
  EXPECT_TRUE(
      std::regex_match(lines[1], std::regex(R"(\d{1,2}/\d{1,2}/\d{4}( \d{1,2}:\d\d:\d\d [AP]M)?)")))
      << lines[1];
  EXPECT_TRUE(std::regex_match(lines[2], std::regex(R"(\d{1,2}-\d{1,2}:\d{1,2}:\d{1,2})")))
      << lines[2];
  EXPECT_EQ(lines[3], " ");
  EXPECT_EQ(lines[4], VersionLine());
  EXPECT_EQ(lines[5], ExpectedBitness());
  EXPECT_EQ(lines[6], SystemDir());
  EXPECT_EQ(lines[7], Env("TEMP"));
  EXPECT_EQ(lines[8], TempPath());
  EXPECT_EQ(lines[9], kSeparator);
  EXPECT_EQ(lines[10], "   ");
  EXPECT_EQ(lines[11], "Model 7 \xE9");
  EXPECT_EQ(lines[12], kSeparator);
  for (const std::string& line : lines) {
    if (line.find("---") == 0) {
      EXPECT_EQ(line, kSeparator);
    }
  }
}

TEST(Report, ClipboardHoldsTheViewTextAndTheNoticeStays) {
  ToolSession tool;
  EXPECT_FALSE(tool.Visible(kLabel1));
  EXPECT_FALSE(tool.Visible(kLabel2));
  ASSERT_TRUE(RunWith(tool, "Acme", "X1").completed);
  std::string first = ClipboardText();
  EXPECT_EQ(first, tool.Text(kMemo1));
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
  EXPECT_TRUE(tool.Visible(kLabel1));
  EXPECT_TRUE(tool.Visible(kLabel2));
  EXPECT_TRUE(tool.Enabled(kButton1));

  RunOutcome second = tool.RunReport();
  ASSERT_TRUE(second.completed);
  std::string text = ClipboardText();
  EXPECT_EQ(text, tool.Text(kMemo1));
  EXPECT_EQ(text.find("Quibrel Diagnostics v1.58"), text.rfind("Quibrel Diagnostics v1.58"))
      << "the second report replaced the first";
  EXPECT_TRUE(tool.Visible(kLabel1));
  EXPECT_TRUE(tool.Visible(kLabel2));
}

TEST(Report, UnsetTempGivesAnEmptyLine) {
  ToolSession tool(std::map<std::string, std::string>{{"TEMP", ""}});
  ASSERT_TRUE(RunWith(tool, "Acme", "X1").completed);
  std::vector<std::string> lines = SplitLines(ClipboardText());
  ASSERT_GE(lines.size(), 10u);
  EXPECT_EQ(lines[6], SystemDir());
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[8], TempPath());
  EXPECT_EQ(lines[9], kSeparator);
}

TEST(Report, HugeMakeAndEveryAnsiCharacterReachTheClipboard) {
  std::string make(100000, 'm');
  make.replace(50000, 3, "MID");
  std::string model;
  for (int c = 0x20; c <= 0xFF; ++c) model += static_cast<char>(c);
  ToolSession tool;
  tool.SetText(kEdit1, make);
  tool.SetText(kEdit2, model);
  ASSERT_TRUE(tool.RunReport().completed);
  std::vector<std::string> lines = SplitLines(ClipboardText());
  ASSERT_GE(lines.size(), 12u);
  EXPECT_EQ(lines[10], make);
  EXPECT_EQ(lines[11], model);
}

TEST(Report, EnterInAnEntryFieldStartsNoRun) {
  ToolSession tool;
  tool.Type(kEdit1, "Acme");
  tool.Type(kEdit2, "X1");
  SetClipboardText("untouched");
  SetFocus(nullptr);
  PostMessageA(tool.Control(kEdit2), WM_KEYDOWN, VK_RETURN, 1);
  PostMessageA(tool.Control(kEdit2), WM_KEYUP, VK_RETURN, 0xC0000001);
  ASSERT_TRUE(tool.WaitIdle());
  Sleep(300);
  EXPECT_FALSE(tool.FindMessageBox().hwnd);
  EXPECT_EQ(tool.Text(kMemo1), "");
  EXPECT_EQ(ClipboardText(), "untouched");
}

TEST(FailedRun, ShowsTheErrorBoxAndLeavesRunReportDisabledUntilTheCheckbox) {
  for (bool untick : {true, false}) {
    ToolSession tool({{"QRT_FAULT", "title"}}, FaultToolPath());
    tool.Type(kEdit1, "Acme");
    tool.Type(kEdit2, "X1");
    RunOutcome outcome = tool.RunReport();
    ASSERT_TRUE(outcome.box.hwnd);
    EXPECT_EQ(outcome.box.title, "Project1");
    EXPECT_EQ(outcome.box.text, "Injected failure at title.");
    EXPECT_TRUE(outcome.box.hasIcon);
    EXPECT_EQ(outcome.box.buttons, 1);
    tool.DismissMessageBox(outcome.box);
    Sleep(200);
    EXPECT_FALSE(tool.Enabled(kButton1));
    EXPECT_EQ(tool.Text(kMemo1), "Quibrel Diagnostics v1.58\r\n");
    EXPECT_EQ(ClipboardText(), "(clipboard before the run)");
    EXPECT_FALSE(tool.Visible(kLabel1));
    if (!untick) tool.PostClick(kCheckBox1);  // untick, then tick again
    tool.PostClick(kCheckBox1);
    ASSERT_TRUE(tool.WaitIdle(10000));
    EXPECT_TRUE(tool.Enabled(kButton1));
    EXPECT_EQ(tool.Checked(kCheckBox1), !untick);
  }
}

TEST(FailedRun, AnAbortIsSilent) {
  ToolSession tool({{"QRT_FAULT", "title:abort"}}, FaultToolPath());
  tool.Type(kEdit1, "Acme");
  tool.Type(kEdit2, "X1");
  tool.PostClick(kButton1);
  Sleep(1500);
  EXPECT_FALSE(tool.FindMessageBox().hwnd);
  EXPECT_FALSE(tool.Enabled(kButton1));
  EXPECT_EQ(tool.Text(kMemo1), "Quibrel Diagnostics v1.58\r\n");
}

TEST(FailedRun, GuardedSystemFacts) {
  {
    // The version query fails: its line says so, the version line follows.
    ToolSession tool({{"QRT_FAULT", "osversion"}}, FaultToolPath());
    ASSERT_TRUE(RunWith(tool, "Acme", "X1").completed);
    std::vector<std::string> lines = SplitLines(ClipboardText());
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[4], "Error getting OS");
    EXPECT_EQ(lines[5], " 0.0  Build 0");
    EXPECT_EQ(lines[6], ExpectedBitness());
  }
  {
    // A failure inside the bitness and directory block leaves its rest out.
    ToolSession tool({{"QRT_FAULT", "systemdir"}}, FaultToolPath());
    ASSERT_TRUE(RunWith(tool, "Acme", "X1").completed);
    std::vector<std::string> lines = SplitLines(ClipboardText());
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(lines[5], ExpectedBitness());
    EXPECT_EQ(lines[6], SystemDir());
    EXPECT_EQ(lines[7], kSeparator);
    EXPECT_EQ(lines[8], "Acme");
  }
}

TEST(MendedFaults, ARunReportClickDuringARunIsIgnored) {
  // The start of the run takes three seconds; meanwhile the checkbox
  // enables Run Report and Run Report is clicked again.
  ToolSession tool({{"QRT_FAULT", "start:sleep"}}, FaultToolPath());
  tool.Type(kEdit1, "Acme");
  tool.Type(kEdit2, "X1");
  SetClipboardText("before");
  tool.PostClick(kButton1);
  Sleep(500);
  tool.PostClick(kCheckBox1);
  tool.PostClick(kButton1);
  ASSERT_TRUE(tool.WaitIdle(60000));
  for (int i = 0; i < 100 && ClipboardText() == "before"; ++i) Sleep(100);
  std::string text = ClipboardText();
  EXPECT_EQ(text, tool.Text(kMemo1));
  std::vector<std::string> lines = SplitLines(text);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Quibrel Diagnostics v1.58"), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "Acme"), 1);
  EXPECT_FALSE(tool.Checked(kCheckBox1));
  EXPECT_TRUE(tool.Enabled(kButton1));
}

TEST(MendedFaults, AClipboardHeldByAnotherProgramIsAFailureNotANotice) {
  ToolSession tool;
  tool.Type(kEdit1, "Acme");
  tool.Type(kEdit2, "X1");
  SetClipboardText("held");
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    if (OpenClipboard(nullptr)) {
      SetEvent(held);
      WaitForSingleObject(release, 60000);
      CloseClipboard();
    }
    SetEvent(held);
  });
  WaitForSingleObject(held, 10000);
  tool.PostClick(kButton1);
  MessageBoxInfo box = tool.WaitMessageBox();
  SetEvent(release);
  holder.join();
  CloseHandle(release);
  CloseHandle(held);
  ASSERT_TRUE(box.hwnd);
  EXPECT_EQ(box.text, "Cannot open clipboard.");
  EXPECT_TRUE(box.hasIcon);
  tool.DismissMessageBox(box);
  Sleep(200);
  EXPECT_FALSE(tool.Visible(kLabel1)) << "no notice that the report was copied";
  EXPECT_FALSE(tool.Enabled(kButton1));
  EXPECT_EQ(ClipboardText(), "held");
  EXPECT_EQ(SplitLines(tool.Text(kMemo1)).front(), "Quibrel Diagnostics v1.58");
}

TEST(MendedFaults, ClosingTheWindowDuringARunEndsTheToolAfterTheRun) {
  ToolSession tool({{"QRT_FAULT", "start:sleep"}}, FaultToolPath());
  tool.Type(kEdit1, "Acme");
  tool.Type(kEdit2, "X1");
  SetClipboardText("before");
  tool.PostClick(kButton1);
  Sleep(500);
  PostMessageA(tool.Window(), WM_CLOSE, 0, 0);
  DWORD code = tool.WaitExit(60000);
  EXPECT_EQ(code, 0u);
  std::vector<std::string> lines = SplitLines(ClipboardText());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "Quibrel Diagnostics v1.58") << "the run finished before the tool ended";
}

TEST(Window, GeometryAndControls) {
  ToolSession tool;
  char caption[64] = {};
  GetWindowTextA(tool.Window(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Quibrel Reporting Tool");
  RECT client;
  GetClientRect(tool.Window(), &client);
  EXPECT_EQ(client.right, 513);
  EXPECT_EQ(client.bottom, 631);
  LONG style = GetWindowLongA(tool.Window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & (WS_VSCROLL | WS_HSCROLL));

  const struct {
    int id;
    const char* cls;
    int left, top, width, height;
    const char* text;
    bool visible;
  } controls[] = {
      {kLabel1, "Static", 192, 164, 276, 13,
       "The report has been copied to the clipboard. You can now", false},
      {kLabel2, "Static", 192, 180, 305, 13,
       "Paste the information into an email (Right-click then select Paste)", false},
      {kLabel3, "Static", 12, 8, 324, 13,
       "Please enter the make and model of scanner being used:", true},
      {kLabel4, "Static", 16, 36, 30, 13, "Make:", true},
      {kLabel5, "Static", 16, 64, 32, 13, "Model:", true},
      {kLabel6, "Static", 16, 92, 393, 13,
       "If an error occurs when running the report then remove the tick below and try again.",
       true},
      {kLabel7, "Static", 196, 117, 253, 13, "(Please let us know the exact error message you saw)",
       true},
      {kBevel1, "TBevel", 12, 132, 481, 17, "", true},
      {kButton1, "Button", 12, 164, 145, 29, "Run Report", true},
      {kMemo1, "TMemo", 12, 204, 489, 417, "", true},
      {kButton2, "Button", 560, 28, 75, 25, "Button2", false},
      {kEdit1, "Edit", 56, 32, 201, 21, "", true},
      {kEdit2, "Edit", 56, 60, 201, 21, "", true},
      {kCheckBox1, "Button", 16, 116, 177, 17, "Load and query Twain drivers", true},
  };
  for (const auto& c : controls) {
    HWND h = tool.Control(c.id);
    ASSERT_TRUE(h) << c.text;
    char cls[32] = {};
    GetClassNameA(h, cls, sizeof cls);
    EXPECT_STRCASEEQ(cls, c.cls) << c.id;
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, tool.Window(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, c.left) << c.id;
    EXPECT_EQ(r.top, c.top) << c.id;
    EXPECT_EQ(r.right - r.left, c.width) << c.id;
    EXPECT_EQ(r.bottom - r.top, c.height) << c.id;
    EXPECT_EQ(tool.Text(c.id), c.text);
    EXPECT_EQ(tool.Visible(c.id), c.visible) << c.id;
  }
  EXPECT_TRUE(tool.Checked(kCheckBox1));
  LONG memo = GetWindowLongA(tool.Control(kMemo1), GWL_STYLE);
  EXPECT_TRUE(memo & WS_VSCROLL);
  EXPECT_FALSE(memo & WS_HSCROLL);
  tool.Type(kMemo1, "typed");
  EXPECT_EQ(tool.Text(kMemo1), "") << "the report view is read-only";

  // Focus starts on Run Report; Tab visits the view, the fields and the box.
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(tool.Window(), nullptr), &gui);
  EXPECT_EQ(gui.hwndFocus, tool.Control(kButton1));
  const int tabOrder[] = {kButton1, kMemo1, kEdit1, kEdit2, kCheckBox1, kButton1};
  for (size_t i = 0; i + 1 < sizeof tabOrder / sizeof *tabOrder; ++i)
    EXPECT_EQ(GetNextDlgTabItem(tool.Window(), tool.Control(tabOrder[i]), FALSE),
              tool.Control(tabOrder[i + 1]))
        << i;

  // Resizing moves and stretches nothing.
  SetWindowPos(tool.Window(), nullptr, 0, 0, 300, 300, SWP_NOMOVE | SWP_NOZORDER);
  RECT memoRect;
  GetWindowRect(tool.Control(kMemo1), &memoRect);
  EXPECT_EQ(memoRect.right - memoRect.left, 489);
  EXPECT_FALSE(GetWindowLongA(tool.Window(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
}
