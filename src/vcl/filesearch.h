#pragma once
// Directory searches of the class library: FindFirst, FindNext and FindClose
// over a TSearchRec, with the attribute rule that picks which entries a
// search yields.
#include <windows.h>

#include <string>

#include "vcl/handles.h"

// File attribute bits; all but faVolumeID are the Windows bits of that value.
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;
constexpr int faAnyFile = 0x3F;
// The attributes that a search skips unless they are asked for.
constexpr int faSpecial = faHidden | faSysFile | faVolumeID | faDirectory;

// One directory search and the entry it stands on. Owns the search handle:
// a record that goes out of scope releases its search.
struct TSearchRec {
  int Attr = 0;         // the entry's file attributes
  std::string Name;     // the entry's long name, without any directory part
  int ExcludeAttr = 0;  // special attributes that make the search skip an entry
  UniqueFindHandle FindHandle;
  WIN32_FIND_DATAA FindData{};
};

// True when an entry of these attributes is skipped by a search that
// excludes the given attributes.
inline bool IsExcludedEntry(DWORD attributes, int excludeAttr) {
  return (attributes & static_cast<DWORD>(excludeAttr)) != 0;
}

// Opens a search for the pattern and moves to the first entry that passes
// the attribute rule: returns 0, or the system's error code (never 0) when
// the search cannot be opened or no entry passes; then no search is left open.
int FindFirst(const std::string& Path, int Attr, TSearchRec& F);
// Moves to the next entry that passes the rule: 0, or the system's error code.
int FindNext(TSearchRec& F);
// Releases the record's search, if one is open.
void FindClose(TSearchRec& F);

// Closes a record's search when the scope ends, on every path out.
class TSearchScope {
 public:
  explicit TSearchScope(TSearchRec& F) : f_(F) {}
  ~TSearchScope() { FindClose(f_); }
  TSearchScope(const TSearchScope&) = delete;
  TSearchScope& operator=(const TSearchScope&) = delete;

 private:
  TSearchRec& f_;
};
