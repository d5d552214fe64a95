// Drives the real Project1.exe from outside, in the benchmark's prefix:
//   bench_tool startup RUNS          process start to the window shown
//   bench_tool run RUNS              a complete run, click to clipboard
//   bench_tool files RAW_WALK FILE_SEARCH N...
//                                    the data source files section over
//                                    generated trees of N files
// Each prints rows of the one table. Run completion is seen through the
// clipboard's sequence number and Run Report being enabled again, polled
// every millisecond without opening the clipboard (which would get in the
// way of the tool's own copy).
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_common.h"
#include "driver.h"
#include "vcl/handles.h"

namespace {
const char* const kTwainDir = "c:\\windows\\twain_32";
const char* const kSavedDir = "c:\\windows\\twain_32.bench-saved";
const char* const kTreesDir = "c:\\bench-trees";
const int kFilesPerDirectory = 100;

struct TopWindowSearch {
  DWORD pid;
  HWND found = nullptr;
};

BOOL CALLBACK FindFormOf(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<TopWindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[32] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == s->pid && lstrcmpA(cls, "TForm1") == 0 && IsWindowVisible(hwnd)) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Process start to the main window shown, in ms; the process is closed again.
double StartUpOnce() {
  const std::string exe = ToolPath();
  std::string cmd = "\"" + exe + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double start = NowMs();
  if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    throw std::runtime_error("cannot start " + exe);
  UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
  TopWindowSearch search{pi.dwProcessId};
  double shown = 0;
  while (!search.found && NowMs() - start < 30000) {
    EnumWindows(FindFormOf, reinterpret_cast<LPARAM>(&search));
    if (search.found)
      shown = NowMs() - start;
    else
      Sleep(1);
  }
  if (!search.found) throw std::runtime_error("the window did not appear");
  PostMessageA(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.Get(), 30000) != WAIT_OBJECT_0)
    TerminateProcess(process.Get(), 99);
  return shown;
}

// One click on Run Report to the report on the clipboard, in ms.
double TimedRun(ToolSession& tool, size_t* lines, size_t* sectionLines = nullptr) {
  SetClipboardText("(clipboard before the run)");
  const DWORD before = GetClipboardSequenceNumber();
  const double start = NowMs();
  tool.PostClick(kButton1);
  for (;;) {
    if (GetClipboardSequenceNumber() != before && tool.Enabled(kButton1)) break;
    if (NowMs() - start > 600000) throw std::runtime_error("the run did not end");
    Sleep(1);
  }
  const double elapsed = NowMs() - start;
  if (tool.FindMessageBox().hwnd) throw std::runtime_error("the run showed a message box");
  if (lines) *lines = SplitLines(ClipboardText()).size();
  if (sectionLines) {
    // The lines between the section's heading and its Separator.
    const std::vector<std::string> report = SplitLines(ClipboardText());
    auto it = std::find(report.begin(), report.end(), "Installed Data Sources:");
    *sectionLines = 0;
    if (it != report.end())
      for (++it; it != report.end() && *it != kSeparator; ++it) ++*sectionLines;
  }
  return elapsed;
}

std::vector<double> Runs(int count, size_t* lines, size_t* sectionLines = nullptr) {
  ToolSession tool;
  tool.Type(kEdit1, "Acme");
  tool.Type(kEdit2, "ScanMaster 3000");
  std::vector<double> times;
  for (int i = 0; i < count; ++i) times.push_back(TimedRun(tool, lines, sectionLines));
  tool.CloseAndWait();
  return times;
}

void MakeTree(const std::string& root, int files) {
  CreateDirectoryA(root.c_str(), nullptr);
  for (int d = 0; d * kFilesPerDirectory < files; ++d) {
    const std::string dir = root + "\\d" + std::to_string(d);
    CreateDirectoryA(dir.c_str(), nullptr);
    for (int f = d * kFilesPerDirectory; f < files && f < (d + 1) * kFilesPerDirectory; ++f) {
      UniqueKernelHandle h(CreateFileA((dir + "\\f" + std::to_string(f) + ".ds").c_str(),
                                       GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    }
  }
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA data;
  {
    UniqueFindHandle h(FindFirstFileA((path + "\\*").c_str(), &data));
    if (h.Valid()) {
      do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string child = path + "\\" + name;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(child);
        else
          DeleteFileA(child.c_str());
      } while (FindNextFileA(h.Get(), &data));
    }
  }
  RemoveDirectoryA(path.c_str());
}

// Runs a benchmark program of ours and returns what it printed.
std::string Output(const std::string& commandLine) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string out = std::string(temp) + "bench-output.txt";
  {
    UniqueKernelHandle file(
        CreateFileA(out.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = file.Get();
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string cmd = commandLine;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
      throw std::runtime_error("cannot start " + commandLine);
    UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    WaitForSingleObject(process.Get(), INFINITE);
  }
  std::string text;
  if (FILE* f = std::fopen(out.c_str(), "r")) {
    char buffer[256];
    if (std::fgets(buffer, sizeof buffer, f)) text = buffer;
    std::fclose(f);
  }
  DeleteFileA(out.c_str());
  return text;
}

struct Programs {
  std::string rawWalk, fileSearch;
};

void Files(const Programs& programs, const std::vector<int>& sizes) {
  size_t lines = 0;
  RemoveTree(kTreesDir);
  CreateDirectoryA(kTreesDir, nullptr);
  double perLineAt5000 = 0;
  for (int n : sizes) {
    const std::string tree = std::string(kTreesDir) + "\\" + std::to_string(n);
    MakeTree(tree, n);
    size_t rawLines = 0, searchLines = 0;
    double raw = 0, section = 0, floor = 0;
    std::sscanf(Output("\"" + programs.rawWalk + "\" " + tree + " *.ds 5").c_str(), "%zu %lf",
                &rawLines, &raw);
    std::sscanf(Output("\"" + programs.fileSearch + "\" " + tree + " 3").c_str(), "%zu %lf %lf",
                &searchLines, &section, &floor);
    // The tree in the place of the prefix's own data source directory.
    MoveFileA(kTwainDir, kSavedDir);
    MoveFileA(tree.c_str(), kTwainDir);
    size_t fileLines = 0;
    double run = 0;
    try {
      run = Median(Runs(3, &lines, &fileLines));
    } catch (...) {
      MoveFileA(kTwainDir, tree.c_str());
      MoveFileA(kSavedDir, kTwainDir);
      throw;
    }
    MoveFileA(kTwainDir, tree.c_str());
    MoveFileA(kSavedDir, kTwainDir);
    RemoveTree(tree);

    const std::string at =
        std::to_string(n) + " files, " + std::to_string((n + 99) / 100) + " dirs: ";
    const double perLine = section / n;
    if (n == 5000) perLineAt5000 = perLine;
    std::string check;
    if (fileLines != static_cast<size_t>(n) || rawLines != static_cast<size_t>(n) ||
        searchLines != static_cast<size_t>(n))
      check = " LINE COUNT MISMATCH";
    Row(at + "complete run with the tree, end to end, ms", Fmt("%.0f", run),
        Fmt("median of 3; %.0f lines", double(lines)) + check);
    Row(at + "files section, in the program, ms", Fmt("%.1f", section),
        Fmt("section = %.2f x raw walk", raw > 0 ? section / raw : 0));
    Row(at + "time per line, ms", Fmt("%.4f", perLine),
        n > 5000 && perLineAt5000 > 0 ? Fmt("%.2f x per line at 5,000", perLine / perLineAt5000)
                                      : "");
    Row(at + "raw FindFirstFileA walk, ms", Fmt("%.1f", raw), "a program with no window");
    Row(at + "raw walk + a message check per entry, ms", Fmt("%.1f", floor),
        Fmt("section = %.2f x this floor", floor > 0 ? section / floor : 0));
  }
  RemoveTree(kTreesDir);
}
}  // namespace

int main(int argc, char** argv) {
  try {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc > 2) {
      std::vector<double> times;
      StartUpOnce();  // the first start loads the libraries into the cache
      for (int i = 0; i < std::atoi(argv[2]); ++i) times.push_back(StartUpOnce());
      std::sort(times.begin(), times.end());
      Row("start-up: process start to window shown, ms (median)", Fmt("%.0f", Median(times)),
          Fmt("goal < 500; %.0f..%.0f over %.0f", times.front(), times.back(),
              double(times.size())));
    } else if (mode == "run" && argc > 2) {
      size_t lines = 0;
      std::vector<double> times = Runs(std::atoi(argv[2]), &lines);
      std::sort(times.begin(), times.end());
      Row("complete run, click to clipboard, ms (median)", Fmt("%.0f", Median(times)),
          Fmt("goal < 1000; %.0f..%.0f over %.0f", times.front(), times.back(),
              double(times.size())));
      Row("  lines in that report", Fmt("%.0f", double(lines)));
    } else if (mode == "files" && argc > 4) {
      std::vector<int> sizes;
      for (int i = 4; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
      Files({argv[2], argv[3]}, sizes);
    } else {
      std::fprintf(stderr,
                   "usage: bench_tool startup RUNS | run RUNS | files RAW_WALK FILE_SEARCH N...\n");
      return 2;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_tool: %s\n", e.what());
    return 1;
  }
  return 0;
}
