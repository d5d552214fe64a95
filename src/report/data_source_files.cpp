// Installed data source files: every *.ds file under c:\windows\twain_32.
#include "mainwindow/Unit1.h"
#include "report/sections.h"

void TForm1::FileSearch(const std::string&, const std::string&, bool) {}

void AppendInstalledDataSourceFiles(TForm1&) {}
