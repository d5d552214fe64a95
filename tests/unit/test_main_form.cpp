// The main window as its form description builds it, inspected in-process:
// what another process cannot read (fonts, colours, component fields).
#include <gtest/gtest.h>

#include "mainwindow/Unit1.h"

namespace {
LOGFONTA FontOf(TControl* control) {
  LOGFONTA lf{};
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(control->Handle(), WM_GETFONT, 0, 0));
  GetObjectA(font, sizeof lf, &lf);
  return lf;
}
COLORREF TextColourOf(TControl* control) {
  HDC dc = GetDC(control->Handle());
  control->CtlColor(dc);
  COLORREF colour = GetTextColor(dc);
  ReleaseDC(control->Handle(), dc);
  return colour;
}
}  // namespace

TEST(MainForm, BuiltFromItsDescription) {
  TApplication app;
  RegisterTwainClasses();
  app.Initialize();
  app.CreateForm(Form1);
  ASSERT_EQ(app.MainForm(), Form1);

  TControl* controls[] = {Form1->Label1,  Form1->Label2,   Form1->Label3,  Form1->Label4,
                          Form1->Label5,  Form1->Label6,   Form1->Label7,  Form1->Bevel1,
                          Form1->Button1, Form1->Memo1,    Form1->Button2, Form1->Edit1,
                          Form1->Edit2,   Form1->CheckBox1};
  for (TControl* c : controls) {
    ASSERT_NE(c, nullptr);
    ASSERT_NE(c->Handle(), nullptr) << c->Name;
    if (c == Form1->Bevel1) continue;  // a rule, no text
    LOGFONTA lf = FontOf(c);
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif") << c->Name;
    EXPECT_EQ(lf.lfHeight, -11) << c->Name;
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET) << c->Name;
    EXPECT_EQ(lf.lfWeight, c == Form1->Label3 ? FW_BOLD : FW_NORMAL) << c->Name;
  }
  EXPECT_NE(Form1->DTwain1, nullptr);
  EXPECT_NE(Form1->XPManifest1, nullptr);

  EXPECT_EQ(TextColourOf(Form1->Label1), RGB(255, 0, 0));
  EXPECT_EQ(TextColourOf(Form1->Label2), RGB(255, 0, 0));
  EXPECT_EQ(TextColourOf(Form1->Label3), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(TextColourOf(Form1->Label6), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(GetClassLongPtrA(Form1->Handle(), GCLP_HBRBACKGROUND),
            reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));

  // The bevel draws its lowered line along its bottom edge.
  ShowWindow(Form1->Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(Form1->Handle());
  HDC dc = GetDC(Form1->Bevel1->Handle());
  EXPECT_EQ(GetPixel(dc, 100, 15), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(GetPixel(dc, 100, 16), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(GetPixel(dc, 100, 5), GetSysColor(COLOR_BTNFACE));
  ReleaseDC(Form1->Bevel1->Handle(), dc);

  // The entry fields have no text limit (the report view's is in its own test).
  EXPECT_GE(SendMessageA(Form1->Edit1->Handle(), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST(MainForm, AlnAppendsOneLineFollowedByCrLf) {
  TApplication app;
  RegisterTwainClasses();
  app.Initialize();
  app.CreateForm(Form1);
  const char* lines[] = {"first", "", " ", "x\ty"};
  for (const char* line : lines) Form1->aln(line);
  EXPECT_EQ(Form1->Memo1->Text(), "first\r\n\r\n \r\nx\ty\r\n");
  // A report longer than the edit control's default limit is kept whole.
  std::string longLine(40000, 'L');
  Form1->aln(longLine);
  EXPECT_EQ(Form1->Memo1->Text().size(), 17 + 40000 + 2u);
}
