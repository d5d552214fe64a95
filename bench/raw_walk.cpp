// The raw walk: the same depth-first search that the data source files
// section makes (the matching files of a directory, then each subdirectory
// that is neither hidden nor system), done with FindFirstFileA/FindNextFileA
// alone in a console program with no window. It builds each full path as a
// line, as the report does, but shows nothing.
//   bench_raw_walk DIRECTORY MASK REPEATS  ->  "<lines> <median ms>"
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_common.h"
#include "vcl/handles.h"

namespace {
void Walk(const std::string& directory, const std::string& mask, std::vector<std::string>& lines) {
  const std::string base = directory.back() == '\\' ? directory : directory + "\\";
  WIN32_FIND_DATAA data;
  {
    UniqueFindHandle files(FindFirstFileA((base + mask).c_str(), &data));
    if (files.Valid()) {
      do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
          lines.push_back(base + data.cFileName);
      } while (FindNextFileA(files.Get(), &data));
    }
  }
  UniqueFindHandle directories(FindFirstFileA((base + "*.*").c_str(), &data));
  if (!directories.Valid()) return;
  do {
    const std::string name = data.cFileName;
    const DWORD skip = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & skip) &&
        name != "." && name != "..")
      Walk(base + name, mask, lines);
  } while (FindNextFileA(directories.Get(), &data));
}
}  // namespace

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
    Walk(argv[1], argv[2], lines);
    times.push_back(NowMs() - start);
    count = lines.size();
  }
  std::printf("%zu %.3f\n", count, Median(times));
  return 0;
}
