#pragma once
// The standard controls of a form.
#include <string>

#include "vcl/controls.h"

class TLabel : public TControl {
 protected:
  const char* WindowClassName() const override { return "STATIC"; }
  DWORD Style() const override { return SS_LEFT | SS_NOPREFIX; }
};

class TButton : public TControl {
 public:
  void Notify(WORD code) override;
  bool TakesFocus() const override { return true; }

 protected:
  const char* WindowClassName() const override { return "BUTTON"; }
  DWORD Style() const override { return BS_PUSHBUTTON | WS_TABSTOP; }
};

class TCheckBox : public TControl {
 public:
  bool Checked() const;
  void SetChecked(bool checked);
  void SetProperty(const std::string& name, const TPropValue& value, TReader& reader) override;
  void Notify(WORD code) override;
  bool TakesFocus() const override { return true; }

 protected:
  const char* WindowClassName() const override { return "BUTTON"; }
  DWORD Style() const override { return BS_AUTOCHECKBOX | WS_TABSTOP; }
  void HandleCreated() override;

 private:
  bool checked_ = false;
};

// A single-line entry field with no length limit.
class TEdit : public TControl {
 public:
  std::string Text() const { return Caption(); }
  void SetProperty(const std::string& name, const TPropValue& value, TReader& reader) override;
  HBRUSH CtlColor(HDC dc) override;
  bool TakesFocus() const override { return true; }

 protected:
  const char* WindowClassName() const override { return "EDIT"; }
  DWORD Style() const override { return ES_AUTOHSCROLL | WS_TABSTOP; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  void HandleCreated() override;
};

class TMemo;

// The line list of a memo. Each line in the memo's text is followed by CR LF.
class TMemoLines {
 public:
  explicit TMemoLines(TMemo& memo) : memo_(memo) {}
  void Add(const std::string& line);
  // Stop redrawing until the matching EndUpdate, which redraws at once.
  void BeginUpdate();
  void EndUpdate();

 private:
  TMemo& memo_;
  int updateCount_ = 0;
};

// A multi-line text view with no text limit.
class TMemo : public TControl {
 public:
  TMemoLines* const Lines = &lines_;
  void Clear();
  void SelectAll();
  void CopyToClipboard();
  std::string Text() const { return Caption(); }
  void SetProperty(const std::string& name, const TPropValue& value, TReader& reader) override;
  HBRUSH CtlColor(HDC dc) override;
  bool TakesFocus() const override { return true; }

 protected:
  const char* WindowClassName() const override { return "EDIT"; }
  DWORD Style() const override;
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  void HandleCreated() override;

 private:
  TMemoLines lines_{*this};
  bool readOnly_ = false, wordWrap_ = true, vertical_ = false, horizontal_ = false;
};

// A rule drawn along the bottom edge of its area, sunk into the surface.
class TBevel : public TControl {
 public:
  void SetProperty(const std::string& name, const TPropValue& value, TReader& reader) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 protected:
  const char* WindowClassName() const override;
};

// Brings the application manifest into the executable; nothing at run time.
class TXPManifest : public TComponent {};

// Registers TLabel, TButton, TCheckBox, TEdit, TMemo, TBevel and TXPManifest.
void RegisterStandardClasses();
