#pragma once
class TForm1;

// The date and time, uptime, a blank line, the OS version line, the bitness
// and the directory lines.
void AppendSystemFacts(TForm1& form);
