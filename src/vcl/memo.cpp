// The memo's line list, its operations and its form-description properties.
// How the view paints and answers input is in memo_view.cpp.
#include "vcl/exceptions.h"
#include "vcl/stdctrls.h"

void TMemoLines::Add(const std::string& line) {
  memo_.text_.AppendLine(line);
  memo_.LineAdded();
}

void TMemoLines::BeginUpdate() { ++updateCount_; }

void TMemoLines::EndUpdate() {
  if (updateCount_ == 0 || --updateCount_ != 0) return;
  memo_.UpdateEnded();
}

void TMemo::Clear() {
  text_.Clear();
  topRow_ = 0;
  leftPixel_ = 0;
  anchor_ = caret_ = 0;
  scrollBarStale_ = true;
  if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

void TMemo::SelectAll() { Select(0, text_.Length()); }

void TMemo::CopyToClipboard() { CopySelection(); }

void TMemo::SetProperty(const std::string& name, const TPropValue& v, TReader& reader) {
  if (name == "ReadOnly") {
    readOnly_ = reader.Boolean(name, v);
    if (!readOnly_) reader.Fail("Only a read-only memo is supported");
  } else if (name == "WordWrap") {
    wordWrap_ = reader.Boolean(name, v);
    if (wordWrap_) reader.Fail("Only WordWrap = False is supported");
  } else if (name == "ScrollBars") {
    const std::string& bars = reader.Identifier(name, v);
    if (bars == "ssNone") {
      vertical_ = false;
    } else if (bars == "ssVertical") {
      vertical_ = true;
    } else if (bars == "ssHorizontal" || bars == "ssBoth") {
      reader.Fail("Only ScrollBars = ssNone or ssVertical is supported");
    } else {
      reader.Fail("Invalid property value for ScrollBars");
    }
  } else if (name == "MaxLength") {
    if (reader.Integer(name, v) != 0) reader.Fail("Only MaxLength = 0 (no limit) is supported");
  } else {
    TControl::SetProperty(name, v, reader);
  }
}

const char* TMemo::WindowClassName() const {
  return RegisterOwnWindowClass("TMemo", nullptr);  // the view paints all of its area
}

DWORD TMemo::Style() const { return WS_TABSTOP | (vertical_ ? WS_VSCROLL : 0); }

void TMemo::HandleCreated() {
  // This view shows text only as a read-only, unwrapped report.
  if (!readOnly_ || wordWrap_)
    throw EReadError(Name + ": a memo must have ReadOnly = True and WordWrap = False");
  UpdateScrollBar();
}
