#include "driver.h"

#include <stdexcept>

const char* const kSeparator =
    "------------------------------------------------------------------------------";

std::string Env(const char* name) {
  char buffer[4096];
  DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  return n && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string WinPath(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

std::string ToolPath() { return WinPath(Env("QRT_TOOL")); }
std::string FaultToolPath() { return WinPath(Env("QRT_FAULT_TOOL")); }

namespace {
struct FindWindowOf {
  DWORD pid;
  const char* className;
  HWND found = nullptr;
};

BOOL CALLBACK FindWindowOfProc(HWND hwnd, LPARAM lp) {
  auto* f = reinterpret_cast<FindWindowOf*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == f->pid && lstrcmpA(cls, f->className) == 0 && IsWindowVisible(hwnd)) {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindTopWindow(DWORD pid, const char* className) {
  FindWindowOf f{pid, className};
  EnumWindows(FindWindowOfProc, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

std::string WindowText(HWND h) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 30000, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(h, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_ABORTIFHUNG, 30000, &got);
  text.resize(got);
  return text;
}
}  // namespace

ToolSession::ToolSession(const std::map<std::string, std::string>& env, std::string exe) {
  if (exe.empty()) exe = ToolPath();
  for (const auto& [k, v] : env)
    SetEnvironmentVariableA(k.c_str(), v.empty() ? nullptr : v.c_str());
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string cmd = "\"" + exe + "\"";
  BOOL ok =
      CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
  for (const auto& [k, v] : env) SetEnvironmentVariableA(k.c_str(), nullptr);
  if (!ok) throw std::runtime_error("cannot start " + exe);
  WaitForInputIdle(pi_.hProcess, 30000);
  for (int i = 0; i < 600 && !window_; ++i) {
    window_ = FindTopWindow(pi_.dwProcessId, "TForm1");
    if (!window_) Sleep(50);
  }
  if (!window_) throw std::runtime_error("the tool's window did not appear");
}

ToolSession::~ToolSession() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi_.hProcess, 99);
      WaitForSingleObject(pi_.hProcess, 10000);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
}

void ToolSession::Type(int id, const std::string& text) {
  HWND h = Control(id);
  for (unsigned char c : text) PostMessageA(h, WM_CHAR, c, 1);
  SendMessageA(h, WM_NULL, 0, 0);  // returns once the posted characters are handled
}

void ToolSession::SetText(int id, const std::string& text) {
  SendMessageA(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string ToolSession::Text(int id) const { return WindowText(Control(id)); }

bool ToolSession::Checked(int id) const {
  return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

MessageBoxInfo ToolSession::FindMessageBox() const {
  MessageBoxInfo box;
  box.hwnd = FindTopWindow(pi_.dwProcessId, "#32770");
  if (!box.hwnd) return box;
  box.title = WindowText(box.hwnd);
  for (HWND child = GetWindow(box.hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    LONG style = GetWindowLongA(child, GWL_STYLE);
    if (lstrcmpiA(cls, "Static") == 0) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        if (IsWindowVisible(child) && SendMessageA(child, STM_GETICON, 0, 0)) box.hasIcon = true;
      } else if (GetDlgCtrlID(child) == 0xFFFF) {
        box.text = WindowText(child);
      }
    } else if (lstrcmpiA(cls, "Button") == 0 && IsWindowVisible(child)) {
      ++box.buttons;
    }
  }
  return box;
}

MessageBoxInfo ToolSession::WaitMessageBox(DWORD timeoutMs) const {
  for (DWORD waited = 0;; waited += 50) {
    MessageBoxInfo box = FindMessageBox();
    if (box.hwnd || waited >= timeoutMs) return box;
    Sleep(50);
  }
}

void ToolSession::DismissMessageBox(const MessageBoxInfo& box) {
  PostMessageA(box.hwnd, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 400 && IsWindow(box.hwnd); ++i) Sleep(25);
}

bool ToolSession::WaitIdle(DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
    DWORD_PTR r;
    if (SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &r) &&
        Enabled(kButton1))
      return true;
    Sleep(50);
  }
  return false;
}

RunOutcome ToolSession::RunReport(DWORD timeoutMs) {
  const std::string marker = "(clipboard before the run)";
  SetClipboardText(marker);
  PostClick(kButton1);
  RunOutcome outcome;
  for (DWORD waited = 0;; waited += 50) {
    outcome.box = FindMessageBox();
    if (outcome.box.hwnd) return outcome;
    if (Enabled(kButton1) && ClipboardText() != marker) {
      DWORD_PTR r;  // the run has returned once the window answers again
      if (SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &r)) {
        outcome.completed = true;
        return outcome;
      }
    }
    if (waited >= timeoutMs) {
      outcome.timedOut = true;
      return outcome;
    }
    Sleep(50);
  }
}

DWORD ToolSession::WaitExit(DWORD timeoutMs) {
  WaitForSingleObject(pi_.hProcess, timeoutMs);
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

DWORD ToolSession::CloseAndWait(DWORD timeoutMs) {
  PostMessageA(window_, WM_CLOSE, 0, 0);
  return WaitExit(timeoutMs);
}

std::string ClipboardText() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(nullptr)) {
      std::string text;
      if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
          text = p;
          GlobalUnlock(data);
        }
      }
      CloseClipboard();
      return text;
    }
    Sleep(20);
  }
  return {};
}

void SetClipboardText(const std::string& text) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (OpenClipboard(nullptr)) {
      EmptyClipboard();
      HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
      memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
      GlobalUnlock(mem);
      SetClipboardData(CF_TEXT, mem);
      CloseClipboard();
      return;
    }
    Sleep(20);
  }
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      if (start < text.size()) lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
}
