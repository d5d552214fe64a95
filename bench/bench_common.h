#pragma once
// Shared by the benchmark programs: a clock and the row format of the one
// table that scripts/bench.sh prints.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

inline double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One row of the table: what was measured, the figure, and the goal or note.
inline void Row(const std::string& what, const std::string& figure, const std::string& note = "") {
  std::printf("| %-66s | %22s | %-34s |\n", what.c_str(), figure.c_str(), note.c_str());
  std::fflush(stdout);
}

inline std::string Fmt(const char* format, double a, double b = 0, double c = 0) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}
