// Running processes: the executable name of every process in a snapshot,
// one line each, in snapshot order, straight onto the report view.
#include <cstring>
#include <string>

#include "mainwindow/Unit1.h"
#include "report/fault_points.h"
#include "vcl/handles.h"
#include "vcl/toolhelp.h"

#ifdef QRT_FAULT_POINTS
#include <cstdlib>

namespace {
// The test build stands in for a system without ToolHelp when QRT_FAULT
// reads "toolhelp:absent".
void ApplyToolHelpFault() {
  const char* wanted = std::getenv("QRT_FAULT");
  if (wanted && std::strcmp(wanted, "toolhelp:absent") == 0)
    TlHelp32::OverrideBinding(TlHelp32::Binding());
}
}  // namespace
#endif

void TForm1::Button2Click(TObject*) {
#ifdef QRT_FAULT_POINTS
  ApplyToolHelpFault();
#endif
  TlHelp32::TProcessEntry32 entry{};

  // The current entry's name: up to its first NUL, never past the field,
  // byte for byte.
  auto ExeFileToStr = [&entry]() -> std::string {
    const char* name = entry.szExeFile;
    const void* nul = std::memchr(name, '\0', sizeof entry.szExeFile);
    size_t length =
        nul ? static_cast<size_t>(static_cast<const char*>(nul) - name) : sizeof entry.szExeFile;
    return std::string(name, length);
  };

  // Closed on every way out, a failure while appending included.
  UniqueKernelHandle snapshot(TlHelp32::CreateToolhelp32Snapshot(TlHelp32::TH32CS_SNAPALL, 0));
  entry.dwSize = sizeof entry;
  if (!TlHelp32::Process32First(snapshot.Get(), entry)) return;
  Memo1->Lines->Add(ExeFileToStr());
  FaultPoint("processes");
  while (TlHelp32::Process32Next(snapshot.Get(), entry)) Memo1->Lines->Add(ExeFileToStr());
}
