// The memo's window: painting, scrolling, selection, the clipboard and the
// messages that an edit control answers.
#include <algorithm>
#include <cstring>
#include <vector>

#include "vcl/exceptions.h"
#include "vcl/stdctrls.h"

namespace {
const int kMargin = 2;    // blank pixels left of the text, as an edit control leaves
const int kTabChars = 8;  // tab stops every 8 average characters
const UINT kCopyCommand = 1, kSelectAllCommand = 2;

// A device context of the view with its font selected, for measuring text.
class MeasureDc {
 public:
  MeasureDc(HWND hwnd, HFONT font) : hwnd_(hwnd), dc_(GetDC(hwnd)) {
    if (dc_ && font) old_ = SelectObject(dc_, font);
  }
  ~MeasureDc() {
    if (!dc_) return;
    if (old_) SelectObject(dc_, old_);
    ReleaseDC(hwnd_, dc_);
  }
  MeasureDc(const MeasureDc&) = delete;
  MeasureDc& operator=(const MeasureDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

struct MenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU h) { DestroyMenu(h); }
};
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

// Global memory for the clipboard, freed unless the clipboard took it over.
class ClipboardMemory {
 public:
  explicit ClipboardMemory(const std::string& text)
      : mem_(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    if (!mem_) throw Exception("Out of memory");
    char* p = static_cast<char*>(GlobalLock(mem_));
    if (!p) {
      GlobalFree(mem_);
      throw Exception("Out of memory");
    }
    std::memcpy(p, text.c_str(), text.size() + 1);
    GlobalUnlock(mem_);
  }
  ~ClipboardMemory() {
    if (mem_) GlobalFree(mem_);
  }
  ClipboardMemory(const ClipboardMemory&) = delete;
  ClipboardMemory& operator=(const ClipboardMemory&) = delete;
  HGLOBAL Get() const { return mem_; }
  void HandedOver() { mem_ = nullptr; }

 private:
  HGLOBAL mem_;
};

int TextWidth(HDC dc, const char* s, size_t n) {
  SIZE size{};
  GetTextExtentPoint32A(dc, s, static_cast<int>(n), &size);
  return size.cx;
}

int NextTabStop(int x, int tabWidth) { return (x / tabWidth + 1) * tabWidth; }
}  // namespace

void TMemo::LineAdded() {
  // As in an edit control, the caret goes to the end of the new text, which
  // brings the last row into sight.
  anchor_ = caret_ = text_.Length();
  leftPixel_ = 0;
  ScrollTo(LastTopRow());
  Changed();
}

void TMemo::UpdateEnded() {
  if (!handle_) return;
  InvalidateRect(handle_, nullptr, FALSE);
  UpdateWindow(handle_);
}

// One invalidation stands for any number of changes until the next paint, so
// a line appended outside an update bracket costs no call to the system.
void TMemo::Changed() {
  scrollBarStale_ = true;
  if (!handle_ || lines_.Updating() || paintPending_) return;
  InvalidateRect(handle_, nullptr, FALSE);
  paintPending_ = true;
}

int TMemo::VisibleRows() const {
  RECT r{};
  if (handle_) GetClientRect(handle_, &r);
  return std::max(1, static_cast<int>(r.bottom / rowHeight_));
}

long TMemo::LastTopRow() const {
  return std::max(0L, static_cast<long>(text_.RowCount()) - VisibleRows());
}

void TMemo::ScrollTo(long row) {
  row = std::max(0L, std::min(row, LastTopRow()));
  if (row == topRow_) return;
  topRow_ = row;
  Changed();
}

// Scrolling that the customer asks for shows on the scroll bar at once.
void TMemo::ScrollByUser(long row) {
  ScrollTo(row);
  if (scrollBarStale_) UpdateScrollBar();
}

void TMemo::ScrollColumns(int pixels) {
  if (!handle_) return;
  // No further right than the widest row in sight needs; rows are measured
  // only as far as the wanted position needs.
  RECT r{};
  GetClientRect(handle_, &r);
  const int enough = std::max(0, leftPixel_ + pixels) + static_cast<int>(r.right);
  int widest = 0;
  {
    MeasureDc dc(handle_, viewFont_);
    const size_t last = std::min(text_.RowCount(), static_cast<size_t>(topRow_ + VisibleRows()));
    for (size_t row = static_cast<size_t>(topRow_); row < last; ++row) {
      const char* s = text_.Text().data() + text_.RowStart(row);
      const size_t len = text_.RowLength(row);
      int x = 0;
      for (size_t i = 0; i < len && x < enough;) {
        size_t j = s[i] == '\t' ? i + 1 : std::find(s + i, s + len, '\t') - s;
        j = std::min(j, i + static_cast<size_t>(enough - x) + 1);
        x = s[i] == '\t' ? NextTabStop(x, kTabChars * charWidth_)
                         : x + TextWidth(dc.Get(), s + i, j - i);
        i = j;
      }
      widest = std::max(widest, x);
    }
  }
  const int most = std::max(0, widest + 2 * kMargin - static_cast<int>(r.right));
  const int left = std::max(0, std::min(leftPixel_ + pixels, most));
  if (left == leftPixel_) return;
  leftPixel_ = left;
  InvalidateRect(handle_, nullptr, FALSE);
}

// Sets the scroll bar without drawing it, then draws it only when its
// picture changed. Once the report is long, the thumb keeps its size and its
// place at the bottom while lines are added, and the bar is not drawn again.
void TMemo::UpdateScrollBar() {
  if (!handle_ || !vertical_) return;
  SCROLLBARINFO before{}, after{};
  before.cbSize = after.cbSize = sizeof before;
  const bool known = GetScrollBarInfo(handle_, OBJID_VSCROLL, &before) != FALSE;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  si.nMax = static_cast<int>(std::min<size_t>(text_.RowCount(), 0x7FFFFFFF)) - 1;
  si.nPage = static_cast<UINT>(VisibleRows());
  si.nPos = static_cast<int>(topRow_);
  SetScrollInfo(handle_, SB_VERT, &si, FALSE);
  scrollBarStale_ = false;
  if (known && GetScrollBarInfo(handle_, OBJID_VSCROLL, &after) &&
      before.xyThumbTop == after.xyThumbTop && before.xyThumbBottom == after.xyThumbBottom &&
      std::memcmp(before.rgstate, after.rgstate, sizeof before.rgstate) == 0)
    return;
  RedrawWindow(handle_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TMemo::Paint() {
  // Scroll bar first: redrawing it adds the frame to what BeginPaint draws.
  if (scrollBarStale_) UpdateScrollBar();
  paintPending_ = false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(handle_, &ps);
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, viewFont_ ? viewFont_ : GetStockObject(SYSTEM_FONT));
  RECT client;
  GetClientRect(handle_, &client);
  const bool showSelection = anchor_ != caret_ && focused_;
  for (int y = ps.rcPaint.top / rowHeight_ * rowHeight_; y < ps.rcPaint.bottom; y += rowHeight_) {
    const size_t row = static_cast<size_t>(topRow_ + y / rowHeight_);
    RECT rowRect{client.left, y, client.right, y + rowHeight_};
    if (row < text_.RowCount()) {
      PaintRow(dc, row, rowRect, showSelection);
    } else {
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      ExtTextOutA(dc, 0, y, ETO_OPAQUE, &rowRect, "", 0, nullptr);
    }
  }
  if (focused_) PlaceCaret(dc);
  SelectObject(dc, old);
  EndPaint(handle_, &ps);
}

// While the view has the focus, a caret marks the end of the selection, as in
// a read-only edit control; out of sight, it is moved away.
void TMemo::PlaceCaret(HDC dc) {
  const size_t row = text_.RowOf(caret_);
  const long shown = static_cast<long>(row) - topRow_;
  RECT client;
  GetClientRect(handle_, &client);
  POINT at{-100, -100};
  if (shown >= 0 && shown <= VisibleRows()) {
    const char* s = text_.Text().data() + text_.RowStart(row);
    const size_t column = caret_ - text_.RowStart(row);
    int x = 0;
    for (size_t i = 0; i < column && x <= client.right + leftPixel_;) {
      size_t j = s[i] == '\t' ? i + 1 : std::find(s + i, s + column, '\t') - s;
      j = std::min(j, i + static_cast<size_t>(client.right + leftPixel_ - x) + 1);
      x = s[i] == '\t' ? NextTabStop(x, kTabChars * charWidth_) : x + TextWidth(dc, s + i, j - i);
      i = j;
    }
    x += kMargin - leftPixel_;
    if (x <= client.right) at = POINT{x, static_cast<int>(shown) * rowHeight_};
  }
  SetCaretPos(at.x, at.y);
}

// Draws the row in runs of one kind (plain or selected text, or one tab),
// each with its own background, so that every pixel of the row is drawn once.
void TMemo::PaintRow(HDC dc, size_t row, const RECT& rowRect, bool showSelection) {
  const size_t start = text_.RowStart(row), len = text_.RowLength(row);
  const char* s = text_.Text().data() + start;
  const size_t selLo = std::min(anchor_, caret_), selHi = std::max(anchor_, caret_);
  auto selected = [&](size_t i) {
    return showSelection && start + i >= selLo && start + i < selHi;
  };
  const COLORREF text = ColorToRGB(Font.Color), back = GetSysColor(COLOR_WINDOW);
  const int origin = kMargin - leftPixel_, tabWidth = kTabChars * charWidth_;

  int x = origin;
  int left = rowRect.left;  // the first run also covers the margin
  for (size_t i = 0; i < len && left < rowRect.right;) {
    const bool sel = selected(i);
    size_t j = i + 1;
    if (s[i] != '\t')
      while (j < len && s[j] != '\t' && selected(j) == sel) ++j;
    // A character is at least a pixel wide: of a long run, what lies past the
    // right edge is neither measured nor drawn (a huge make or model line).
    const size_t cover = static_cast<size_t>(rowRect.right - x) + 1;
    const bool clipped = s[i] != '\t' && j - i > cover;
    if (clipped) j = i + cover;
    const bool last = j == len;
    int right;
    if (s[i] == '\t')
      right = origin + NextTabStop(x - origin, tabWidth);
    else if ((last && !sel) || clipped)
      right = rowRect.right;  // no need to measure: the run's background ends the row
    else
      right = x + TextWidth(dc, s + i, j - i);
    if (right > 0 || last) {
      SetTextColor(dc, sel ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
      SetBkColor(dc, sel ? GetSysColor(COLOR_HIGHLIGHT) : back);
      RECT run{left, rowRect.top, std::min<int>(right, rowRect.right), rowRect.bottom};
      if (s[i] == '\t')
        ExtTextOutA(dc, x, rowRect.top, ETO_OPAQUE, &run, "", 0, nullptr);
      else
        ExtTextOutA(dc, x, rowRect.top, ETO_OPAQUE | ETO_CLIPPED, &run, s + i,
                    static_cast<UINT>(j - i), nullptr);
    }
    x = left = right;
    i = j;
  }
  if (left < rowRect.right) {
    SetBkColor(dc, back);
    RECT rest{left, rowRect.top, rowRect.right, rowRect.bottom};
    ExtTextOutA(dc, 0, rowRect.top, ETO_OPAQUE, &rest, "", 0, nullptr);
  }
}

// The text offset nearest to a point of the view: the row under it, and the
// character boundary closest to it in that row.
size_t TMemo::OffsetAt(int x, int y) {
  long row = topRow_ + (y < 0 ? (y - rowHeight_ + 1) / rowHeight_ : y / rowHeight_);
  row = std::max(0L, std::min(row, static_cast<long>(text_.RowCount()) - 1));
  const size_t start = text_.RowStart(static_cast<size_t>(row)),
               len = text_.RowLength(static_cast<size_t>(row));
  const char* s = text_.Text().data() + start;
  const int px = x - (kMargin - leftPixel_), tabWidth = kTabChars * charWidth_;
  MeasureDc dc(handle_, viewFont_);
  int at = 0;
  std::vector<int> edges;
  for (size_t i = 0; i < len;) {
    if (s[i] == '\t') {
      const int next = NextTabStop(at, tabWidth);
      if (px < (at + next) / 2) return start + i;
      at = next;
      ++i;
      continue;
    }
    // Only as many characters as can lie left of the point are measured.
    const size_t j = std::min<size_t>(std::find(s + i, s + len, '\t') - s,
                                      i + static_cast<size_t>(std::max(0, px - at)) + 2);
    edges.assign(j - i, 0);
    SIZE size{};
    GetTextExtentExPointA(dc.Get(), s + i, static_cast<int>(j - i), 0, nullptr, edges.data(),
                          &size);
    for (size_t k = 0; k < j - i; ++k) {
      const int before = k ? edges[k - 1] : 0;
      if (px < at + (before + edges[k]) / 2) return start + i + k;
    }
    at += edges.back();
    i = j;
  }
  return start + len;
}

void TMemo::Select(size_t anchor, size_t caret) {
  const size_t length = text_.Length();
  anchor = std::min(anchor, length);
  caret = std::min(caret, length);
  if (anchor == anchor_ && caret == caret_) return;
  anchor_ = anchor;
  caret_ = caret;
  if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

void TMemo::SetFont(HFONT font) {
  viewFont_ = font;
  if (!handle_) return;
  MeasureDc dc(handle_, font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  TEXTMETRICA tm{};
  if (dc.Get() && GetTextMetricsA(dc.Get(), &tm)) {
    rowHeight_ = std::max(1, static_cast<int>(tm.tmHeight));
    charWidth_ = std::max(1, static_cast<int>(tm.tmAveCharWidth));
  }
  topRow_ = std::min(topRow_, LastTopRow());
  scrollBarStale_ = true;
}

void TMemo::CopySelection() {
  const size_t selLo = std::min(anchor_, caret_), selHi = std::max(anchor_, caret_);
  if (selLo == selHi) return;
  ClipboardMemory memory(text_.Text().substr(selLo, selHi - selLo));
  // Another program may hold the clipboard for a moment; wait a little for it.
  for (int attempt = 0; attempt < 20; ++attempt) {
    ClipboardScope clipboard(handle_);
    if (!clipboard.IsOpen()) {
      Sleep(10);
      continue;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, memory.Get())) throw EOSError("Cannot copy to the clipboard");
    memory.HandedOver();
    return;
  }
  throw EOSError("Cannot open clipboard");
}

void TMemo::OnVScroll(WORD code) {
  switch (code) {
    case SB_LINEUP:
      ScrollByUser(topRow_ - 1);
      break;
    case SB_LINEDOWN:
      ScrollByUser(topRow_ + 1);
      break;
    case SB_PAGEUP:
      ScrollByUser(topRow_ - VisibleRows());
      break;
    case SB_PAGEDOWN:
      ScrollByUser(topRow_ + VisibleRows());
      break;
    case SB_TOP:
      ScrollByUser(0);
      break;
    case SB_BOTTOM:
      ScrollByUser(LastTopRow());
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(handle_, SB_VERT, &si)) ScrollByUser(si.nTrackPos);
      break;
    }
    default:
      break;
  }
}

// The scrolling keys do what the scroll bar's parts do.
void TMemo::OnKeyDown(WPARAM key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (key) {
    case VK_UP:
      OnVScroll(SB_LINEUP);
      break;
    case VK_DOWN:
      OnVScroll(SB_LINEDOWN);
      break;
    case VK_PRIOR:
      OnVScroll(SB_PAGEUP);
      break;
    case VK_NEXT:
      OnVScroll(SB_PAGEDOWN);
      break;
    case VK_HOME:
      ctrl ? OnVScroll(SB_TOP) : ScrollColumns(-leftPixel_);
      break;
    case VK_END:
      if (ctrl) OnVScroll(SB_BOTTOM);
      break;
    case VK_LEFT:
      ScrollColumns(-4 * charWidth_);
      break;
    case VK_RIGHT:
      ScrollColumns(4 * charWidth_);
      break;
    case 'A':
      if (ctrl) SelectAll();
      break;
    case 'C':
    case VK_INSERT:
      if (ctrl) CopySelection();
      break;
    default:
      break;
  }
}

void TMemo::OnContextMenu(LPARAM lp) {
  SetFocus(handle_);
  POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  if (lp == -1) {  // from the keyboard: at the view's top left corner
    at = POINT{0, 0};
    ClientToScreen(handle_, &at);
  }
  UniqueMenu menu(CreatePopupMenu());
  if (!menu.Valid()) return;
  AppendMenuA(menu.Get(), MF_STRING | (anchor_ == caret_ ? MF_GRAYED : 0), kCopyCommand, "&Copy");
  AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.Get(), MF_STRING | (text_.Length() == 0 ? MF_GRAYED : 0), kSelectAllCommand,
              "Select &All");
  const UINT command = static_cast<UINT>(
      TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, handle_, nullptr));
  if (command == kCopyCommand) CopySelection();
  if (command == kSelectAllCommand) SelectAll();
}

void TMemo::OnMouse(UINT msg, LPARAM lp) {
  const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
  if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
    SetFocus(handle_);
    const size_t at = OffsetAt(x, y);
    Select(GetKeyState(VK_SHIFT) < 0 ? anchor_ : at, at);
    SetCapture(handle_);
    selecting_ = true;
  } else if (msg == WM_MOUSEMOVE && selecting_) {
    RECT r;
    GetClientRect(handle_, &r);
    if (y < 0) ScrollByUser(topRow_ - 1);  // dragging past an edge scrolls
    if (y >= r.bottom) ScrollByUser(topRow_ + 1);
    Select(anchor_, OffsetAt(x, y));
  } else if (msg == WM_LBUTTONUP && selecting_) {
    selecting_ = false;
    ReleaseCapture();
  }
}

LRESULT TMemo::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      SetFont(reinterpret_cast<HFONT>(wp));
      if (LOWORD(lp)) InvalidateRect(handle_, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(viewFont_);
    case WM_SIZE:
      topRow_ = std::min(topRow_, LastTopRow());
      scrollBarStale_ = true;
      InvalidateRect(handle_, nullptr, FALSE);
      return 0;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(text_.Length());
    case WM_GETTEXT: {
      if (wp == 0 || !lp) return 0;
      const size_t n = std::min(static_cast<size_t>(wp) - 1, text_.Length());
      std::memcpy(reinterpret_cast<char*>(lp), text_.Text().data(), n);
      reinterpret_cast<char*>(lp)[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_SETTEXT:
      Clear();  // keeps nothing of the old view's place or selection
      text_.SetText(lp ? reinterpret_cast<const char*>(lp) : "");
      return TRUE;
    case EM_GETSEL: {
      const DWORD lo = static_cast<DWORD>(std::min(anchor_, caret_));
      const DWORD hi = static_cast<DWORD>(std::max(anchor_, caret_));
      if (wp) *reinterpret_cast<DWORD*>(wp) = lo;
      if (lp) *reinterpret_cast<DWORD*>(lp) = hi;
      return MAKELRESULT(std::min<DWORD>(lo, 0xFFFF), std::min<DWORD>(hi, 0xFFFF));
    }
    case EM_SETSEL: {
      // As in an edit control: a start of -1 removes the selection, an end of
      // -1 means the end of the text.
      const int start = static_cast<int>(wp), end = static_cast<int>(lp);
      if (start < 0)
        Select(caret_, caret_);
      else
        Select(static_cast<size_t>(start), end < 0 ? text_.Length() : static_cast<size_t>(end));
      return 0;
    }
    case EM_GETLINECOUNT:
      return static_cast<LRESULT>(text_.RowCount());
    case WM_COPY:
      CopySelection();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    case WM_KEYDOWN:
      OnKeyDown(wp);
      return 0;
    case WM_CHAR:
      return 0;  // read-only: typing changes nothing
    case WM_VSCROLL:
      OnVScroll(LOWORD(wp));
      return 0;
    case WM_MOUSEWHEEL: {
      UINT perNotch = 3;
      SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
      const long rows = perNotch == WHEEL_PAGESCROLL ? VisibleRows() : static_cast<long>(perNotch);
      wheelRest_ += GET_WHEEL_DELTA_WPARAM(wp);
      const int notches = wheelRest_ / WHEEL_DELTA;
      wheelRest_ %= WHEEL_DELTA;
      ScrollByUser(topRow_ - notches * rows);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      OnMouse(msg, lp);
      return 0;
    case WM_CAPTURECHANGED:
      selecting_ = false;
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(lp);
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lp) != HTCLIENT) break;
      SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_IBEAM)));
      return TRUE;
    case WM_SETFOCUS:
      focused_ = true;
      CreateCaret(handle_, nullptr, 1, rowHeight_);
      ShowCaret(handle_);
      InvalidateRect(handle_, nullptr, FALSE);  // the selection shows, the caret is placed
      return 0;
    case WM_KILLFOCUS:
      focused_ = false;
      DestroyCaret();
      InvalidateRect(handle_, nullptr, FALSE);
      return 0;
    default:
      break;
  }
  return TControl::WndProc(msg, wp, lp);
}
