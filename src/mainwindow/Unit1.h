#pragma once
// The main window: the form class TForm1 with its components, and the
// program-wide values and plain routines that the report uses.
#include <windows.h>

#include <cstdint>
#include <string>

#include "twain/dtwain.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"

class TForm1 : public TForm {
 public:
  static constexpr const char* ClassName = "TForm1";
  static const TPublishedTable& Published();

  TDTwain* DTwain1 = nullptr;
  TButton* Button1 = nullptr;
  TMemo* Memo1 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TButton* Button2 = nullptr;
  TXPManifest* XPManifest1 = nullptr;
  TEdit* Edit1 = nullptr;
  TEdit* Edit2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* Label5 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TLabel* Label6 = nullptr;
  TLabel* Label7 = nullptr;
  TBevel* Bevel1 = nullptr;

  void Button1Click(TObject* Sender);
  // Appends one line to the report view and repaints it at once.
  void aln(const std::string& Line);
  void Button2Click(TObject* Sender);
  void FileSearch(const std::string& directory, const std::string& mask, bool recurse);
  void CheckBox1Click(TObject* Sender);
};

extern TForm1* Form1;

// Operating-system version values, set by GetOSVersion in every run.
extern uint32_t OSMajor, OSMinor, OSBuild;
extern std::string OSPlatform;

std::string TicksToDHMS(uint32_t Ticks);
std::string GetUpTime();
void GetOSVersion();
bool IsWow64();
std::string GetSystemDir();
std::string GetTempDir();

// Registry readers: the trimmed text value, empty text when it cannot be read.
std::string ReadPagorinInfo(const std::string& Name);
std::string ReadPagorinSetting(const std::string& Name);
std::string ReadFolvaneInfo(const std::string& Name);
std::string ReadFolvaneSetting(const std::string& Name);
