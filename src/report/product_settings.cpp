// Product settings: the Pagorin and Folvane registry values.
#include "mainwindow/Unit1.h"
#include "report/sections.h"

std::string ReadPagorinInfo(const std::string&) { return std::string(); }
std::string ReadPagorinSetting(const std::string&) { return std::string(); }
std::string ReadFolvaneInfo(const std::string&) { return std::string(); }
std::string ReadFolvaneSetting(const std::string&) { return std::string(); }

void AppendPagorinSettings(TForm1&) {}
void AppendFolvaneSettings(TForm1&) {}
