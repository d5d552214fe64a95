#include "vcl/stdctrls.h"

void TMemoLines::Add(const std::string& line) {
  HWND h = memo_.Handle();
  if (!h) return;
  // Append at the very end: move the caret there and replace the empty selection.
  int end = GetWindowTextLengthA(h);
  SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
  std::string text = line + "\r\n";
  SendMessageA(h, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TMemoLines::BeginUpdate() {
  if (updateCount_++ == 0 && memo_.Handle()) SendMessageA(memo_.Handle(), WM_SETREDRAW, FALSE, 0);
}

void TMemoLines::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ != 0) return;
  HWND h = memo_.Handle();
  if (!h) return;
  SendMessageA(h, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
}

void TMemo::Clear() {
  if (handle_) SetWindowTextA(handle_, "");
}

void TMemo::SelectAll() {
  if (handle_) SendMessageA(handle_, EM_SETSEL, 0, -1);
}

void TMemo::CopyToClipboard() {
  if (handle_) SendMessageA(handle_, WM_COPY, 0, 0);
}

void TMemo::SetProperty(const std::string& name, const TPropValue& v, TReader& reader) {
  if (name == "ReadOnly") {
    readOnly_ = reader.Boolean(name, v);
  } else if (name == "WordWrap") {
    wordWrap_ = reader.Boolean(name, v);
  } else if (name == "ScrollBars") {
    const std::string& bars = reader.Identifier(name, v);
    if (bars == "ssNone") {
      vertical_ = horizontal_ = false;
    } else if (bars == "ssVertical") {
      vertical_ = true, horizontal_ = false;
    } else if (bars == "ssHorizontal") {
      vertical_ = false, horizontal_ = true;
    } else if (bars == "ssBoth") {
      vertical_ = horizontal_ = true;
    } else {
      reader.Fail("Invalid property value for ScrollBars");
    }
  } else if (name == "MaxLength") {
    if (reader.Integer(name, v) != 0) reader.Fail("Only MaxLength = 0 (no limit) is supported");
  } else {
    TControl::SetProperty(name, v, reader);
  }
}

DWORD TMemo::Style() const {
  DWORD style = ES_MULTILINE | ES_AUTOVSCROLL | WS_TABSTOP;
  if (readOnly_) style |= ES_READONLY;
  if (!wordWrap_) style |= ES_AUTOHSCROLL;  // a multi-line edit wraps unless it scrolls sideways
  if (vertical_) style |= WS_VSCROLL;
  if (horizontal_) style |= WS_HSCROLL;
  return style;
}

// EM_SETLIMITTEXT 0 lifts the default limit of about 32,000 characters.
void TMemo::HandleCreated() { SendMessageA(handle_, EM_SETLIMITTEXT, 0, 0); }

// A read-only edit asks for static colours; keep the white text view.
HBRUSH TMemo::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(Font.Color));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}
