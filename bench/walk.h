#pragma once
// The walk of the data source files section done with FindFirstFileA and
// FindNextFileA alone: the matching files of a directory, then each
// subdirectory that is neither hidden nor system, depth first. Each full path
// is built as a line, as the report does, but nothing is shown. onEntry runs
// for every entry of the subdirectory pass, where the section handles window
// messages.
#include <windows.h>

#include <string>
#include <vector>

#include "vcl/handles.h"

template <typename OnEntry>
void Walk(const std::string& directory, const std::string& mask, std::vector<std::string>& lines,
          OnEntry onEntry) {
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
    onEntry();
    const std::string name = data.cFileName;
    const DWORD skip = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & skip) &&
        name != "." && name != "..")
      Walk(base + name, mask, lines, onEntry);
  } while (FindNextFileA(directories.Get(), &data));
}
