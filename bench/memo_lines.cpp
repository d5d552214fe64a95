// The cost of one line in the report view, in process: a visible form with a
// report view of the product's size, lines appended the way aln does
// (BeginUpdate, Add, EndUpdate: the line and a repaint), through the line
// list alone, and through the line list with a paint after each line; and a
// repaint and a message check on their own. Each figure is taken with the
// view already holding a given number of lines (set in one go), so the
// growth with the report's length shows without appending them one by one.
#include <cstdlib>
#include <string>

#include "bench_common.h"
#include "mainwindow/Unit1.h"
#include "vcl/form_description.h"

namespace {
const char* const kForm =
    "object Form1: TForm1\n"
    "  ClientHeight = 640\n"
    "  ClientWidth = 520\n"
    "  object Memo1: TMemo\n"
    "    Left = 12\n"
    "    Top = 12\n"
    "    Width = 489\n"
    "    Height = 417\n"
    "    ReadOnly = True\n"
    "    ScrollBars = ssVertical\n"
    "    WordWrap = False\n"
    "    MaxLength = 0\n"
    "  end\n"
    "end\n";

// A line as long as a typical data source file line.
std::string LineNo(int i) {
  return "c:\\windows\\twain_32\\d" + std::to_string(i / 100) + "\\f" + std::to_string(i) + ".ds";
}

void Prefill(TForm1& form, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += LineNo(i) + "\r\n";
  SetWindowTextA(form.Memo1->Handle(), text.c_str());
  form.aln("prefilled");  // brings the end into sight and paints it, as in a run
  Application->ProcessMessages();
}

// Milliseconds per line over `count` repetitions of step, after a prefill.
template <typename Step>
double PerLine(TForm1& form, int prefill, int count, Step step) {
  Prefill(form, prefill);
  const double start = NowMs();
  for (int i = 0; i < count; ++i) step(form, prefill + i);
  const double elapsed = NowMs() - start;
  Application->ProcessMessages();
  return elapsed / count;
}
}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 200;
  TApplication app;
  app.Initialize();
  TForm1 form;
  form.Load(ParseFormDescription(kForm), TForm1::Published());
  form.Show();
  Application->ProcessMessages();
  HWND h = form.Memo1->Handle();

  const auto aln = [](TForm1& f, int i) { f.aln(LineNo(i)); };
  const auto add = [](TForm1& f, int i) { f.Memo1->Lines->Add(LineNo(i)); };
  // The worst case of the files section: each line painted before the next.
  const auto addAndPaint = [](TForm1& f, int i) {
    f.Memo1->Lines->Add(LineNo(i));
    Application->ProcessMessages();
  };
  const auto repaint = [h](TForm1&, int) {
    InvalidateRect(h, nullptr, FALSE);
    UpdateWindow(h);
  };
  const auto idle = [](TForm1&, int) { Application->ProcessMessages(); };

  for (int prefill : {0, 5000, 50000}) {
    const std::string at = " (view holding " + std::to_string(prefill) + " lines)";
    const double a = PerLine(form, prefill, count, aln);
    const double b = PerLine(form, prefill, count, add);
    Row("line through aln, ms" + at, Fmt("%.4f", a), Fmt("%.0f x Lines->Add alone", a / b));
    Row("line through Lines->Add alone, ms" + at, Fmt("%.4f", b));
    Row("line through Lines->Add, then painted, ms" + at,
        Fmt("%.4f", PerLine(form, prefill, count, addAndPaint)));
    Row("  a full repaint of the view, ms" + at,
        Fmt("%.4f", PerLine(form, prefill, count, repaint)));
  }
  Row("Application->ProcessMessages with nothing waiting, ms",
      Fmt("%.4f", PerLine(form, 0, count * 20, idle)), "once per entry of the subdirectory pass");
  return 0;
}
