#include "vcl/stdctrls.h"

void TBevel::SetProperty(const std::string& name, const TPropValue& v, TReader& reader) {
  if (name == "Shape") {
    if (reader.Identifier(name, v) != "bsBottomLine")
      reader.Fail("Only Shape = bsBottomLine is supported");
  } else if (name == "Style") {
    if (reader.Identifier(name, v) != "bsLowered")
      reader.Fail("Only Style = bsLowered is supported");
  } else {
    TControl::SetProperty(name, v, reader);
  }
}

const char* TBevel::WindowClassName() const {
  return RegisterOwnWindowClass("TBevel", GetSysColorBrush(COLOR_BTNFACE));
}

// Lowered bottom line: a shadow line with a highlight line under it.
LRESULT TBevel::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return TControl::WndProc(msg, wp, lp);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, &ps);
  RECT r;
  GetClientRect(handle_, &r);
  RECT shadow{r.left, r.bottom - 2, r.right, r.bottom - 1};
  RECT light{r.left, r.bottom - 1, r.right, r.bottom};
  FillRect(dc, &shadow, GetSysColorBrush(COLOR_BTNSHADOW));
  FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
  EndPaint(handle_, &ps);
  return 0;
}
