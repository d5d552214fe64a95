// The report run: the handler of Run Report.
#include "mainwindow/Unit1.h"
#include "report/fault_points.h"
#include "report/sections.h"
#include "report/system_facts.h"

const char* const Separator =
    "------------------------------------------------------------------------------";

void TForm1::Button1Click(TObject*) {
  if (Edit1->Text().empty()) {
    ShowMessage("Please enter the Make of your scanner");
    return;
  }
  if (Edit2->Text().empty()) {
    ShowMessage("Please enter the Model of your scanner");
    return;
  }

  Button1->SetEnabled(false);
  Memo1->Clear();
  FaultPoint("start");
  Application->ProcessMessages();

  aln("Quibrel Diagnostics v1.58");
  FaultPoint("title");
  AppendSystemFacts(*this);
  aln(Separator);
  aln(Edit1->Text());
  aln(Edit2->Text());
  aln(Separator);

  if (CheckBox1->Checked()) AppendTwainSources(*this);
  aln(Separator);
  AppendInstalledDataSourceFiles(*this);
  aln(Separator);
  AppendPagorinSettings(*this);
  aln(Separator);
  AppendFolvaneSettings(*this);
  aln(Separator);

  try {
    Memo1->Lines->BeginUpdate();
    Button2->Click();
  } catch (...) {
  }
  Memo1->Lines->EndUpdate();

  FaultPoint("finish");
  Memo1->SelectAll();
  Memo1->CopyToClipboard();
  Label1->SetVisible(true);
  Label2->SetVisible(true);
  Button1->SetEnabled(true);
}
