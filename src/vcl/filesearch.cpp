// Directory searches of the class library.
#include "vcl/filesearch.h"

#include <cstring>

namespace {
// The error code of a failed call; never 0, so that a failure is never
// mistaken for success when the system leaves no code behind.
int LastErrorCode() {
  const DWORD code = GetLastError();
  return code != 0 ? static_cast<int>(code) : static_cast<int>(ERROR_NO_MORE_FILES);
}

// Takes the current entry into the record. The name field need not end in
// a zero, so the name is taken up to its first zero or the field's end.
void TakeEntry(TSearchRec& F) {
  const char* name = F.FindData.cFileName;
  F.Name.assign(name, strnlen(name, sizeof F.FindData.cFileName));
  F.Attr = static_cast<int>(F.FindData.dwFileAttributes);
}

// Steps over entries that the attribute rule skips, starting at the current
// one; 0 when the record stands on an entry that passes.
int SkipExcluded(TSearchRec& F) {
  while (IsExcludedEntry(F.FindData.dwFileAttributes, F.ExcludeAttr)) {
    if (!FindNextFileA(F.FindHandle.Get(), &F.FindData)) return LastErrorCode();
  }
  TakeEntry(F);
  return 0;
}
}  // namespace

int FindFirst(const std::string& Path, int Attr, TSearchRec& F) {
  FindClose(F);
  F.ExcludeAttr = ~Attr & faSpecial;
  // A pattern with a zero inside would be searched cut short; no such name exists.
  if (Path.find('\0') != std::string::npos) return ERROR_INVALID_NAME;
  HANDLE h = FindFirstFileA(Path.c_str(), &F.FindData);
  if (h == INVALID_HANDLE_VALUE) return LastErrorCode();
  F.FindHandle.Reset(h);
  const int result = SkipExcluded(F);
  if (result != 0) FindClose(F);
  return result;
}

int FindNext(TSearchRec& F) {
  if (!F.FindHandle.Valid()) return ERROR_INVALID_HANDLE;
  if (!FindNextFileA(F.FindHandle.Get(), &F.FindData)) return LastErrorCode();
  return SkipExcluded(F);
}

void FindClose(TSearchRec& F) { F.FindHandle.Reset(); }
