#pragma once
// Drives the real Project1.exe from another process of the same Wine prefix:
// starts it, types, clicks, waits for the run's end, and reads the window,
// its controls, its message boxes and the clipboard.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

// Control ids follow the creation order of the form description.
enum ControlId {
  kLabel1 = 100,
  kLabel2,
  kLabel3,
  kLabel4,
  kLabel5,
  kLabel6,
  kLabel7,
  kBevel1,
  kButton1,
  kMemo1,
  kButton2,
  kEdit1,
  kEdit2,
  kCheckBox1
};

struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string title, text;
  bool hasIcon = false;
  int buttons = 0;
};

// What one click on Run Report came to.
struct RunOutcome {
  bool completed = false;  // the clipboard was written and Run Report enabled again
  MessageBoxInfo box;      // a message box that the run showed, if any
  bool timedOut = false;
};

class ToolSession {
 public:
  // Starts the tool (the product build, or the build named by exe) with extra
  // environment variables and waits for its window.
  explicit ToolSession(const std::map<std::string, std::string>& env = {}, std::string exe = "");
  ~ToolSession();
  ToolSession(const ToolSession&) = delete;
  ToolSession& operator=(const ToolSession&) = delete;

  HWND Window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  DWORD ProcessId() const { return pi_.dwProcessId; }

  // Types the text into an entry field as key presses (WM_CHAR).
  void Type(int id, const std::string& text);
  // Replaces an entry field's text at once (for long texts).
  void SetText(int id, const std::string& text);
  std::string Text(int id) const;  // WM_GETTEXT across the process boundary
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  bool Visible(int id) const { return IsWindowVisible(Control(id)) != FALSE; }
  bool Checked(int id) const;
  void PostClick(int id) { PostMessageA(Control(id), BM_CLICK, 0, 0); }

  // Clicks Run Report and waits until the run completes or shows a box.
  RunOutcome RunReport(DWORD timeoutMs = 300000);
  // Waits for the tool to be idle: it answers messages and Run Report is enabled.
  bool WaitIdle(DWORD timeoutMs = 60000);
  // The visible message box of the tool, if one is up.
  MessageBoxInfo FindMessageBox() const;
  MessageBoxInfo WaitMessageBox(DWORD timeoutMs = 60000) const;
  void DismissMessageBox(const MessageBoxInfo& box);

  // Closes the window and waits for the process; returns its exit code, or
  // STILL_ACTIVE when it did not end in time.
  DWORD CloseAndWait(DWORD timeoutMs = 60000);
  DWORD WaitExit(DWORD timeoutMs);

 private:
  PROCESS_INFORMATION pi_{};
  HWND window_ = nullptr;
};

// The clipboard's text (CF_TEXT), or empty text.
std::string ClipboardText();
void SetClipboardText(const std::string& text);
// Splits a text after every CR LF; a last part without CR LF is kept too.
std::vector<std::string> SplitLines(const std::string& text);
// A Windows path for a Unix path of the build tree (Wine's drive Z:).
std::string WinPath(const std::string& unixPath);
// The path of the product build and of the build with fault points.
std::string ToolPath();
std::string FaultToolPath();
std::string Env(const char* name);
extern const char* const kSeparator;
