#include "vcl/stdctrls.h"

void TEdit::SetProperty(const std::string& name, const TPropValue& v, TReader& reader) {
  if (name == "MaxLength") {
    if (reader.Integer(name, v) != 0) reader.Fail("Only MaxLength = 0 (no limit) is supported");
  } else {
    TControl::SetProperty(name, v, reader);
  }
}

// EM_SETLIMITTEXT 0 lifts the edit control's default limit of about 32,000.
void TEdit::HandleCreated() { SendMessageA(handle_, EM_SETLIMITTEXT, 0, 0); }

HBRUSH TEdit::CtlColor(HDC dc) {
  SetTextColor(dc, ColorToRGB(Font.Color));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}
