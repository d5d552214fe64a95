// The data source files section timed inside the program: the product's
// main form, built from its own form description and shown, runs its
// FileSearch over a tree, and nothing else is on the clock. Beside it, in the
// same process, the raw walk with one message check per entry of the
// subdirectory pass: the least that the section can cost, since it handles
// window messages there.
//   bench_file_search DIRECTORY REPEATS  ->  "<lines> <section ms> <floor ms>"
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_common.h"
#include "mainwindow/Unit1.h"
#include "walk.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_file_search DIRECTORY [REPEATS]\n");
    return 2;
  }
  const std::string directory = argv[1];
  const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  TApplication app;
  RegisterTwainClasses();
  app.Initialize();
  app.CreateForm(Form1);
  Form1->Show();
  Application->ProcessMessages();

  std::vector<double> section, floor;
  size_t lines = 0;
  for (int i = 0; i < repeats; ++i) {
    Form1->Memo1->Clear();
    Application->ProcessMessages();
    double start = NowMs();
    Form1->FileSearch(directory, "*.ds", true);
    section.push_back(NowMs() - start);
    lines = static_cast<size_t>(SendMessageA(Form1->Memo1->Handle(), EM_GETLINECOUNT, 0, 0)) - 1;
    Application->ProcessMessages();

    std::vector<std::string> walked;
    start = NowMs();
    Walk(directory, "*.ds", walked, [] { Application->ProcessMessages(); });
    floor.push_back(NowMs() - start);
  }
  std::printf("%zu %.3f %.3f\n", lines, Median(section), Median(floor));
  return 0;
}
