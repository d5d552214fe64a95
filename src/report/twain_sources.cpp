// TWAIN sources: the data sources that the TWAIN data source manager reports.
#include "mainwindow/Unit1.h"
#include "report/sections.h"
#include "vcl/sysutils.h"

namespace {
// The identity of the source at index, looked up afresh; a failure when the
// component yields none.
const TW_IDENTITY& IdentityAt(TDTwain& twain, int index) {
  TTwainSource* source = twain.SourceAt(index);
  if (!source) throw Exception("No TWAIN source at index " + IntToStr(index));
  return source->Identity();
}
}  // namespace

void AppendTwainSources(TForm1& form) {
  TDTwain& twain = *form.DTwain1;
  if (!twain.LoadManagerLibrary())
    form.aln("Cannot load Twain DSM. Twain may not installed on this PC");
  try {
    twain.SetSourceManagerLoaded(true);
  } catch (...) {
  }
  const int n = twain.SourceCount();
  if (n == 0) form.aln("No Twain data sources were found on this system");
  if (n > 0) form.aln(IntToStr(n) + " Twain data source(s) found:");
  for (int i = 0; i < n; ++i) {
    form.aln(" ");
    form.aln("Source Index:" + IntToStr(i));
    try {
      form.aln(TwainString(IdentityAt(twain, i).ProductName));
      form.aln(TwainString(IdentityAt(twain, i).Manufacturer));
      form.aln(TwainString(IdentityAt(twain, i).ProductFamily));
      form.aln(TwainString(IdentityAt(twain, i).Version.Info));
    } catch (...) {
    }
  }
  twain.SetSourceManagerLoaded(false);
  twain.UnloadManagerLibrary();
}
