// The report view: its text and rows, what it paints and when, its scroll
// bar, selection and clipboard, tried on the real window of the main form.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "driver.h"
#include "mainwindow/Unit1.h"
#include "vcl/memo_text.h"

namespace {
std::vector<std::string> Rows(const MemoText& t) {
  std::vector<std::string> rows;
  for (size_t r = 0; r < t.RowCount(); ++r)
    rows.push_back(t.Text().substr(t.RowStart(r), t.RowLength(r)));
  return rows;
}

// The main form, shown, with its report view.
class ReportView : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTwainClasses();
    app_.Initialize();
    app_.CreateForm(Form1);
    memo_ = Form1->Memo1;
    ShowWindow(Form1->Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(Form1->Handle());
    Pump();
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  HWND View() const { return memo_->Handle(); }
  // True when the view's row (counted from the top of the view) shows ink.
  bool RowHasInk(int row) const {
    const int height = RowHeight();
    HDC dc = GetDC(View());
    RECT r;
    GetClientRect(View(), &r);
    bool ink = false;
    for (int y = row * height; y < (row + 1) * height && !ink; ++y)
      for (int x = 0; x < r.right / 2 && !ink; ++x)
        ink = GetPixel(dc, x, y) != GetSysColor(COLOR_WINDOW);
    ReleaseDC(View(), dc);
    return ink;
  }
  int RowHeight() const {
    HDC dc = GetDC(View());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(View(), WM_GETFONT, 0, 0)));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(View(), dc);
    return tm.tmHeight;
  }
  SCROLLINFO Scroll() const {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(View(), SB_VERT, &si);
    return si;
  }
  std::pair<DWORD, DWORD> Selection() const {
    DWORD lo = 0, hi = 0;
    SendMessageA(View(), EM_GETSEL, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    return {lo, hi};
  }
  TApplication app_;
  TMemo* memo_ = nullptr;
};
}  // namespace

TEST(MemoText, RowsEndAtCrLfOnly) {
  const struct {
    std::vector<std::string> lines;
    std::vector<std::string> rows;
  } cases[] = {
      {{}, {""}},
      {{""}, {"", ""}},
      {{"a", "bc"}, {"a", "bc", ""}},
      {{"two\r\nrows"}, {"two", "rows", ""}},
      {{"lone\rcr", "lone\nlf"}, {"lone\rcr", "lone\nlf", ""}},
      {{"ends in cr\r"}, {"ends in cr\r", ""}},
  };
  for (const auto& c : cases) {
    MemoText t;
    std::string text;
    for (const auto& line : c.lines) t.AppendLine(line), text += line + "\r\n";
    EXPECT_EQ(t.Text(), text);
    EXPECT_EQ(Rows(t), c.rows) << text;
  }
  MemoText t;
  t.SetText("a\r");
  t.AppendLine("\nb");  // the CR of the old text and the new LF make one break
  EXPECT_EQ(Rows(t), (std::vector<std::string>{"a", "b", ""}));
  EXPECT_EQ(t.RowOf(0), 0u);
  EXPECT_EQ(t.RowOf(2), 0u) << "a CR LF belongs to the row it ends";
  EXPECT_EQ(t.RowOf(3), 1u);
  EXPECT_EQ(t.RowOf(t.Length()), 2u);
  t.Clear();
  EXPECT_EQ(Rows(t), std::vector<std::string>{""});
}

TEST_F(ReportView, AlnPaintsEachLineAtOnce) {
  EXPECT_FALSE(RowHasInk(0));
  Form1->aln("Quibrel");  // no message is handled in between
  EXPECT_TRUE(RowHasInk(0));
  EXPECT_FALSE(RowHasInk(1));
  Form1->aln("second");
  EXPECT_TRUE(RowHasInk(1));
  EXPECT_FALSE(RowHasInk(2));
}

TEST_F(ReportView, LinesAddedOutsideABracketShowAtTheNextMessages) {
  memo_->Lines->Add("file line");
  RECT update;
  EXPECT_TRUE(GetUpdateRect(View(), &update, FALSE)) << "the view asks to be painted";
  Application->ProcessMessages();
  EXPECT_TRUE(RowHasInk(0));

  // Inside a bracket the view keeps its picture until the bracket closes.
  memo_->Lines->BeginUpdate();
  memo_->Lines->BeginUpdate();
  memo_->Lines->Add("process line");
  Application->ProcessMessages();
  EXPECT_FALSE(RowHasInk(1));
  memo_->Lines->EndUpdate();
  EXPECT_FALSE(RowHasInk(1)) << "only the outermost EndUpdate repaints";
  memo_->Lines->EndUpdate();
  EXPECT_TRUE(RowHasInk(1));
}

TEST_F(ReportView, FollowsTheEndOfALongReport) {
  for (int i = 0; i < 2000; ++i) memo_->Lines->Add("line " + std::to_string(i));
  Form1->aln("last");
  SCROLLINFO si = Scroll();
  EXPECT_EQ(si.nMax, 2001) << "2001 lines and the empty row after the last";
  EXPECT_EQ(si.nPos + static_cast<int>(si.nPage), si.nMax + 1) << "scrolled to the end";
  const int visible = static_cast<int>(si.nPage);
  EXPECT_TRUE(RowHasInk(visible - 2)) << "the last line is in sight";
  EXPECT_FALSE(RowHasInk(visible - 1)) << "below it, the empty row";
  EXPECT_EQ(SendMessageA(View(), EM_GETLINECOUNT, 0, 0), 2002);

  // Scrolling by scroll bar, keys and wheel, held within the text.
  SendMessageA(View(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(Scroll().nPos, 0);
  SendMessageA(View(), WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(Scroll().nPos, 0);
  SendMessageA(View(), WM_KEYDOWN, VK_NEXT, 0);
  EXPECT_EQ(Scroll().nPos, visible);
  SendMessageA(View(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(Scroll().nPos, visible - 1);
  SendMessageA(View(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  EXPECT_GT(Scroll().nPos, visible - 1);
  SendMessageA(View(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(Scroll().nPos, si.nPos);
  SendMessageA(View(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Scroll().nPos, si.nPos);

  // A new run's Clear starts at the top again.
  memo_->Clear();
  Application->ProcessMessages();
  EXPECT_EQ(Scroll().nPos, 0);
  EXPECT_FALSE(RowHasInk(0));
}

TEST_F(ReportView, AnswersTextMessagesAsAnEditControl) {
  Form1->aln("first");
  Form1->aln("second");
  const std::string text = "first\r\nsecond\r\n";
  EXPECT_EQ(SendMessageA(View(), WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(text.size()));
  char buffer[8];
  memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(SendMessageA(View(), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 7);
  EXPECT_STREQ(buffer, "first\r\n") << "cut to the buffer, with its terminating zero";
  EXPECT_EQ(memo_->Caption(), text);

  // Read-only: typed characters change nothing.
  for (char c : std::string("typed\r")) SendMessageA(View(), WM_CHAR, static_cast<WPARAM>(c), 1);
  EXPECT_EQ(memo_->Text(), text);

  SetWindowTextA(View(), "replaced\r\ntext");
  EXPECT_EQ(memo_->Text(), "replaced\r\ntext");
  EXPECT_EQ(SendMessageA(View(), EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(ReportView, SelectsAndCopies) {
  Form1->aln("first");
  Form1->aln("second");
  const std::string text = "first\r\nsecond\r\n";
  EXPECT_EQ(Selection(), std::make_pair(DWORD(text.size()), DWORD(text.size())))
      << "after an append the caret is at the end";

  SetClipboardText("before");
  memo_->CopyToClipboard();
  EXPECT_EQ(ClipboardText(), "before") << "an empty selection copies nothing";

  memo_->SelectAll();
  EXPECT_EQ(Selection(), std::make_pair(DWORD(0), DWORD(text.size())));
  memo_->CopyToClipboard();
  EXPECT_EQ(ClipboardText(), text);

  SendMessageA(View(), EM_SETSEL, 7, 3);
  EXPECT_EQ(Selection(), std::make_pair(DWORD(3), DWORD(7)));
  SendMessageA(View(), WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardText(), "st\r\n");
  SendMessageA(View(), EM_SETSEL, 2, -1);
  EXPECT_EQ(Selection(), std::make_pair(DWORD(2), DWORD(text.size())));
  SendMessageA(View(), EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Selection().first, Selection().second) << "-1 removes the selection";
  SendMessageA(View(), EM_SETSEL, 0, 1000);
  EXPECT_EQ(Selection(), std::make_pair(DWORD(0), DWORD(text.size()))) << "held within the text";

  // Ctrl+A selects all, Ctrl+C copies.
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SetClipboardText("before");
  SendMessageA(View(), WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(Selection(), std::make_pair(DWORD(0), DWORD(text.size())));
  SendMessageA(View(), WM_KEYDOWN, 'C', 0);
  EXPECT_EQ(ClipboardText(), text);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);

  // Dragging with the mouse from the start of the first row to past the end
  // of the second selects both rows.
  const int h = RowHeight();
  SendMessageA(View(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, h / 2));
  SendMessageA(View(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, h + h / 2));
  SendMessageA(View(), WM_LBUTTONUP, 0, MAKELPARAM(400, h + h / 2));
  EXPECT_EQ(Selection(), std::make_pair(DWORD(0), DWORD(13)));
  EXPECT_EQ(GetFocus(), View());
  EXPECT_TRUE(RowHasInk(0));
  UpdateWindow(View());
  POINT caret{};
  GetCaretPos(&caret);
  EXPECT_EQ(caret.y, h) << "the caret marks the end of the selection, in the second row";
  EXPECT_GT(caret.x, 10);
  // A click past the end of a row puts the caret at the row's end.
  SendMessageA(View(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, h / 2));
  SendMessageA(View(), WM_LBUTTONUP, 0, MAKELPARAM(400, h / 2));
  EXPECT_EQ(Selection(), std::make_pair(DWORD(5), DWORD(5)));
}

TEST_F(ReportView, WaitsForAClipboardThatAnotherProgramHolds) {
  Form1->aln("report");
  memo_->SelectAll();
  for (int holdMs : {50, 3000}) {
    std::atomic<bool> held{false};
    std::thread holder([&] {
      if (!OpenClipboard(nullptr)) return;
      held = true;
      Sleep(static_cast<DWORD>(holdMs));
      CloseClipboard();
    });
    while (!held) Sleep(1);
    if (holdMs < 100) {
      EXPECT_NO_THROW(memo_->CopyToClipboard()) << "a short hold is waited out";
      EXPECT_EQ(ClipboardText(), "report\r\n");
    } else {
      try {
        memo_->CopyToClipboard();
        ADD_FAILURE() << "a clipboard held for long is a failure";
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot open clipboard");
      }
    }
    holder.join();
  }
  EXPECT_EQ(ClipboardText(), "report\r\n") << "the failed copy left the clipboard as it was";
}

TEST_F(ReportView, HugeLineIsKeptWholeAndPainted) {
  const std::string huge(1000000, 'W');
  Form1->aln(huge);
  Form1->aln("after");
  EXPECT_EQ(memo_->Text(), huge + "\r\nafter\r\n");
  EXPECT_EQ(SendMessageA(View(), EM_GETLINECOUNT, 0, 0), 3) << "no word wrap";
  EXPECT_TRUE(RowHasInk(0));
  EXPECT_TRUE(RowHasInk(1));
  memo_->SelectAll();
  SetFocus(View());
  UpdateWindow(View());
  EXPECT_TRUE(RowHasInk(1)) << "painted while all is selected";
  SendMessageA(View(), WM_KEYDOWN, VK_RIGHT, 0);  // scrolls sideways, within the text
  SendMessageA(View(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, RowHeight() / 2));
  SendMessageA(View(), WM_LBUTTONUP, 0, MAKELPARAM(100, RowHeight() / 2));
  const auto sel = Selection();
  EXPECT_GT(sel.first, 10u);
  EXPECT_LT(sel.first, 100u);
}
