#include "mainwindow/Unit1.h"

TForm1* Form1 = nullptr;

const TPublishedTable& TForm1::Published() {
  static const TPublishedTable table = TPublishedTable()
                                           .Field("DTwain1", &TForm1::DTwain1)
                                           .Field("Button1", &TForm1::Button1)
                                           .Field("Memo1", &TForm1::Memo1)
                                           .Field("Label1", &TForm1::Label1)
                                           .Field("Label2", &TForm1::Label2)
                                           .Field("Button2", &TForm1::Button2)
                                           .Field("XPManifest1", &TForm1::XPManifest1)
                                           .Field("Edit1", &TForm1::Edit1)
                                           .Field("Edit2", &TForm1::Edit2)
                                           .Field("Label3", &TForm1::Label3)
                                           .Field("Label4", &TForm1::Label4)
                                           .Field("Label5", &TForm1::Label5)
                                           .Field("CheckBox1", &TForm1::CheckBox1)
                                           .Field("Label6", &TForm1::Label6)
                                           .Field("Label7", &TForm1::Label7)
                                           .Field("Bevel1", &TForm1::Bevel1)
                                           .Handler("Button1Click", &TForm1::Button1Click)
                                           .Handler("Button2Click", &TForm1::Button2Click)
                                           .Handler("CheckBox1Click", &TForm1::CheckBox1Click);
  return table;
}

void TForm1::aln(const std::string& Line) {
  Memo1->Lines->BeginUpdate();
  Memo1->Lines->Add(Line);
  Memo1->Lines->EndUpdate();
}

void TForm1::CheckBox1Click(TObject*) { Button1->SetEnabled(true); }
