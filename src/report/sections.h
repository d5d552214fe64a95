#pragma once
// The report's sections, each appended by the run in its place.
#include <string>

class TForm1;

extern const char* const Separator;

void AppendTwainSources(TForm1& form);
void AppendInstalledDataSourceFiles(TForm1& form);
void AppendPagorinSettings(TForm1& form);
void AppendFolvaneSettings(TForm1& form);
