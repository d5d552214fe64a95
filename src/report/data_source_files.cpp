// Installed data source files: every *.ds file under c:\windows\twain_32.
#include "mainwindow/Unit1.h"
#include "report/fault_points.h"
#include "report/sections.h"
#include "vcl/filesearch.h"
#include "vcl/sysutils.h"

// Lists the files of the directory that match the mask, one full path per
// line, then (when recurse is set) searches each subdirectory that is
// neither hidden nor system the same way, depth first, in the order in which
// the system returns the entries. A search that fails, for whatever reason
// (missing or unreadable directory, a path too long for the system), ends its
// pass quietly.
void TForm1::FileSearch(const std::string& directory, const std::string& mask, bool recurse) {
  const std::string base = IncludeTrailingBackslash(directory);
  // One record per level serves both passes; each pass's search is closed
  // before the next one opens, on every way out.
  TSearchRec record;

  {
    TSearchScope scope(record);
    if (FindFirst(base + mask, faAnyFile & ~faDirectory, record) == 0) {
      do {
        Memo1->Lines->Add(base + record.Name);
      } while (FindNext(record) == 0);
    }
  }

  if (!recurse) return;

  TSearchScope scope(record);
  if (FindFirst(base + "*.*", faDirectory, record) == 0) {
    do {
      FaultPoint("dsfiles.entry");
      // The window keeps repainting and taking input while a large tree is searched.
      Application->ProcessMessages();
      if ((record.Attr & faDirectory) != 0 && record.Name != "." && record.Name != "..")
        FileSearch(base + record.Name, mask, true);
    } while (FindNext(record) == 0);
  }
}

void AppendInstalledDataSourceFiles(TForm1& form) {
  try {
    form.aln("Installed Data Sources:");
    form.FileSearch("c:\\windows\\twain_32", "*.ds", true);
    form.aln(Separator);
  } catch (...) {
  }
}
