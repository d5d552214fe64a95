// A scripted demonstration run: starts the tool, types a make and model,
// clicks Run Report, waits for the report and prints what was copied to the
// clipboard. Used where there is no display for the tool to be used by hand.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../tests/e2e/driver.h"

int main(int argc, char** argv) {
  int lingerSeconds = 0;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--linger") == 0) lingerSeconds = std::atoi(argv[i + 1]);
  try {
    ToolSession tool;
    tool.Type(kEdit1, "Acme");
    tool.Type(kEdit2, "ScanMaster 3000");
    RunOutcome outcome = tool.RunReport();
    if (!outcome.completed) {
      std::fprintf(stderr, "the run did not complete: %s\n", outcome.box.text.c_str());
      return 1;
    }
    std::string report = ClipboardText();
    std::fwrite(report.data(), 1, report.size(), stdout);
    RECT r;
    GetWindowRect(tool.Window(), &r);
    std::fprintf(stderr, "WINDOW %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left,
                 r.bottom - r.top);
    std::fflush(stdout);
    std::fflush(stderr);
    if (lingerSeconds > 0) Sleep(static_cast<DWORD>(lingerSeconds) * 1000);
    tool.CloseAndWait();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
