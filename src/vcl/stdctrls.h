#pragma once
// The standard controls of a form.
#include <string>

#include "vcl/controls.h"
#include "vcl/memo_text.h"

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
  bool Updating() const { return updateCount_ > 0; }

 private:
  TMemo& memo_;
  int updateCount_ = 0;
};

// A read-only multi-line text view with no text limit and no word wrap: the
// report view. It is a window class of its own rather than an EDIT, because
// an edit control redraws its scroll bar on every change, which made a long
// report cost many milliseconds per line. This view keeps the text in
// memory, paints only the rows in sight and brings its scroll bar up to date
// once per paint, so a line costs about as much as copying its text.
// It answers WM_GETTEXT, WM_SETTEXT, EM_GETSEL, EM_SETSEL, EM_GETLINECOUNT
// and WM_COPY as an edit control does; the customer can scroll, select with
// the mouse, select all (Ctrl+A) and copy (Ctrl+C or the context menu).
class TMemo : public TControl {
 public:
  TMemoLines* const Lines = &lines_;
  void Clear();
  void SelectAll();
  // Puts the selected text on the clipboard as CF_TEXT; a clipboard that
  // stays held by another program is a failure, not a silent no-op.
  void CopyToClipboard();
  const std::string& Text() const { return text_.Text(); }
  void SetProperty(const std::string& name, const TPropValue& value, TReader& reader) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  bool TakesFocus() const override { return true; }

 protected:
  const char* WindowClassName() const override;
  DWORD Style() const override;
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }
  void HandleCreated() override;

 private:
  friend class TMemoLines;
  void LineAdded();    // from Lines: show the new end of the text
  void UpdateEnded();  // from Lines: the last EndUpdate
  void Changed();      // the text changed: scroll to its end, paint soon
  void Paint();
  void PaintRow(HDC dc, size_t row, const RECT& rowRect, bool showSelection);
  void PlaceCaret(HDC dc);
  void UpdateScrollBar();
  void ScrollTo(long row);
  void ScrollByUser(long row);
  void ScrollColumns(int pixels);
  int VisibleRows() const;
  long LastTopRow() const;
  size_t OffsetAt(int x, int y);
  void Select(size_t anchor, size_t caret);
  void SetFont(HFONT font);
  void OnVScroll(WORD code);
  void OnKeyDown(WPARAM key);
  void OnContextMenu(LPARAM lp);
  void OnMouse(UINT msg, LPARAM lp);
  void CopySelection();

  TMemoLines lines_{*this};
  MemoText text_;
  bool readOnly_ = false, wordWrap_ = true, vertical_ = false;
  HFONT viewFont_ = nullptr;
  int rowHeight_ = 13, charWidth_ = 6;
  long topRow_ = 0;                // the first row in sight
  int leftPixel_ = 0;              // how far the text is scrolled to the left
  size_t anchor_ = 0, caret_ = 0;  // the selection, as offsets into the text
  bool selecting_ = false;         // the left button is down in the view
  bool focused_ = false;           // the caret and the selection show
  int wheelRest_ = 0;              // wheel turns smaller than one row so far
  bool scrollBarStale_ = true, paintPending_ = false;
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
