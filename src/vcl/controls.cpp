#include "vcl/controls.h"

#include <set>

#include "vcl/forms.h"

namespace {
const char kObjectProp[] = "QuibrelVclObject";
}

COLORREF ColorToRGB(TColor color) {
  if (color & clSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color);
}

TColor ColorFromProperty(const std::string& property, const TPropValue& v, TReader& reader) {
  if (v.kind == TPropValue::Kind::Integer) return static_cast<TColor>(v.integer);
  const std::string& name = reader.Identifier(property, v);
  if (name == "clBtnFace") return clBtnFace;
  if (name == "clWindowText") return clWindowText;
  if (name == "clWindow") return clWindow;
  if (name == "clRed") return clRed;
  if (name == "clBlack") return clBlack;
  reader.Fail("Invalid colour " + name + " for " + property);
}

bool TFont::SetProperty(const std::string& name, const TPropValue& v, TReader& reader) {
  if (name == "Font.Name") {
    Name = reader.String(name, v);
  } else if (name == "Font.Height") {
    Height = static_cast<int>(reader.Integer(name, v));
  } else if (name == "Font.Color") {
    Color = ColorFromProperty(name, v, reader);
  } else if (name == "Font.Charset") {
    if (reader.Identifier(name, v) != "DEFAULT_CHARSET") reader.Fail("Unsupported Font.Charset");
    Charset = DEFAULT_CHARSET;
  } else if (name == "Font.Style") {
    if (v.kind != TPropValue::Kind::Set) reader.Fail("Invalid property value for " + name);
    Bold = false;
    for (const std::string& member : v.members) {
      if (member != "fsBold") reader.Fail("Unsupported font style " + member);
      Bold = true;
    }
  } else {
    return false;
  }
  return true;
}

void TControl::SetProperty(const std::string& name, const TPropValue& v, TReader& reader) {
  if (name == "Left") {
    Left = static_cast<int>(reader.Integer(name, v));
  } else if (name == "Top") {
    Top = static_cast<int>(reader.Integer(name, v));
  } else if (name == "Width") {
    Width = static_cast<int>(reader.Integer(name, v));
  } else if (name == "Height") {
    Height = static_cast<int>(reader.Integer(name, v));
  } else if (name == "Caption" || name == "Text") {
    caption_ = reader.String(name, v);
  } else if (name == "Visible") {
    visible_ = reader.Boolean(name, v);
  } else if (name == "Enabled") {
    enabled_ = reader.Boolean(name, v);
  } else if (name == "TabOrder") {
    TabOrder = static_cast<int>(reader.Integer(name, v));
  } else if (name == "ParentFont") {
    reader.Boolean(name, v);  // each control starts with its form's font
  } else if (name == "OnClick") {
    OnClick = reader.Handler(name, v);
  } else if (!Font.SetProperty(name, v, reader)) {
    TComponent::SetProperty(name, v, reader);
  }
}

void TControl::CreateHandle(HWND parent, int id) {
  DWORD style = WS_CHILD | Style();
  if (visible_) style |= WS_VISIBLE;
  if (!enabled_) style |= WS_DISABLED;
  handle_ = CreateWindowExA(ExStyle(), WindowClassName(), caption_.c_str(), style, Left, Top, Width,
                            Height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleA(nullptr), this);
  if (!handle_) throw EOSError("Cannot create the window of " + Name);
  SetPropA(handle_, kObjectProp, this);
  LOGFONTA lf{};
  lf.lfHeight = Font.Height;
  lf.lfWeight = Font.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = static_cast<BYTE>(Font.Charset);
  lstrcpynA(lf.lfFaceName, Font.Name.c_str(), LF_FACESIZE);
  font_.Reset(CreateFontIndirectA(&lf));
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  HandleCreated();
}

TControl* TControl::FromHandle(HWND hwnd) {
  return static_cast<TControl*>(GetPropA(hwnd, kObjectProp));
}

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

void TControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (handle_) EnableWindow(handle_, enabled);
}

std::string TControl::Caption() const {
  if (!handle_) return caption_;
  int length = GetWindowTextLengthA(handle_);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int got = GetWindowTextA(handle_, &text[0], length + 1);
  text.resize(static_cast<size_t>(got < 0 ? 0 : got));
  return text;
}

void TControl::Click() {
  if (inClick_ || !OnClick) return;
  inClick_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{inClick_};
  // A click that a running handler invokes (the report run clicking its
  // hidden button) hands its failure back to that handler's guards; only a
  // click of the customer's goes to the default failure handling.
  if (Application->InHandler()) {
    OnClick(this);
    return;
  }
  Application->RunEventHandler([this] { OnClick(this); });
}

void TControl::Notify(WORD) {}

HBRUSH TControl::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(Font.Color));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT TControl::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(handle_, msg, wp, lp);
}

LRESULT CALLBACK TrampolineWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* control = reinterpret_cast<TControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!control) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCCREATE) control->handle_ = hwnd;
  LRESULT result = 0;
  if (!Application->RunHandler([&] { result = control->WndProc(msg, wp, lp); }))
    return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    control->handle_ = nullptr;
  }
  return result;
}

const char* RegisterOwnWindowClass(const char* name, HBRUSH background, HICON icon) {
  static std::set<std::string> registered;
  if (registered.insert(name).second) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TrampolineWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    if (!RegisterClassExA(&wc)) throw EOSError(std::string("Cannot register window class ") + name);
  }
  return name;
}
