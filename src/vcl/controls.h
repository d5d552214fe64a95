#pragma once
// Controls: real child windows of a form, created with the A functions.
#include <windows.h>

#include <string>

#include "vcl/classes.h"
#include "vcl/handles.h"

// A colour: an RGB value, or a system colour index with the high byte 0xFF.
using TColor = uint32_t;
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlack = 0x000000;
COLORREF ColorToRGB(TColor color);
TColor ColorFromProperty(const std::string& property, const TPropValue& v, TReader& reader);

struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  bool Bold = false;
  TColor Color = clWindowText;
  int Charset = DEFAULT_CHARSET;
  // Handles the Font.* properties; false when the name is not one of them.
  bool SetProperty(const std::string& name, const TPropValue& v, TReader& reader);
};

class TControl : public TComponent {
 public:
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int TabOrder = -1;
  TFont Font;
  TNotifyEvent OnClick;

  HWND Handle() const { return handle_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::string Caption() const;

  // Runs the click handler. A click that comes while the same control's
  // handler is still running (its handler let messages through) is ignored.
  // Invoked from inside a running handler, its failure goes back to the caller.
  virtual void Click();

  void SetProperty(const std::string& name, const TPropValue& value, TReader& reader) override;

  // Creates the window as a child of parent, with the given control id.
  void CreateHandle(HWND parent, int id);
  // A notification (WM_COMMAND code) from the control's window.
  virtual void Notify(WORD code);
  // WM_CTLCOLOR*: colours for drawing; returns the background brush.
  virtual HBRUSH CtlColor(HDC dc);
  // Messages of windows of our own classes (not of system controls).
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  virtual bool TakesFocus() const { return false; }

  static TControl* FromHandle(HWND hwnd);

 protected:
  virtual const char* WindowClassName() const = 0;
  virtual DWORD Style() const { return 0; }
  virtual DWORD ExStyle() const { return 0; }
  virtual void HandleCreated() {}

  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  HWND handle_ = nullptr;
  UniqueGdiObject font_;

 private:
  friend LRESULT CALLBACK TrampolineWndProc(HWND, UINT, WPARAM, LPARAM);
  bool inClick_ = false;
};

// The window procedure of every window class of ours: binds the object at
// WM_NCCREATE, forwards messages to it, and lets no C++ exception out.
LRESULT CALLBACK TrampolineWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
// Registers a window class of ours (once) and returns its name.
const char* RegisterOwnWindowClass(const char* name, HBRUSH background, HICON icon = nullptr);
