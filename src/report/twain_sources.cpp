// TWAIN sources: the data sources that the TWAIN data source manager reports.
#include "mainwindow/Unit1.h"
#include "report/sections.h"

void AppendTwainSources(TForm1&) {}
