// The raw walk as a console program with no window.
//   bench_raw_walk DIRECTORY MASK REPEATS  ->  "<lines> <median ms>"
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_common.h"
#include "walk.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_raw_walk DIRECTORY MASK [REPEATS]\n");
    return 2;
  }
  const int repeats = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  std::vector<double> times;
  size_t count = 0;
  for (int i = 0; i < repeats; ++i) {
    std::vector<std::string> lines;
    const double start = NowMs();
    Walk(argv[1], argv[2], lines, [] {});
    times.push_back(NowMs() - start);
    count = lines.size();
  }
  std::printf("%zu %.3f\n", count, Median(times));
  return 0;
}
