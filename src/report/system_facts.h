#pragma once
#include <string>

class TForm1;

// The version line from the four OS version values: all numbers unsigned.
std::string OSVersionLine();

// The date and time, uptime, a blank line, the OS version line, the bitness
// and the directory lines.
void AppendSystemFacts(TForm1& form);
