#pragma once
// The ToolHelp process walk of kernel32. The three functions are looked up by
// name at the first call and the binding is kept for the life of the process;
// on a system without them every call reports failure without calling it.
#include <windows.h>

#include <cstddef>

namespace TlHelp32 {

// The snapshot kinds: heap lists, processes, threads and modules.
constexpr DWORD TH32CS_SNAPHEAPLIST = 0x1;
constexpr DWORD TH32CS_SNAPPROCESS = 0x2;
constexpr DWORD TH32CS_SNAPTHREAD = 0x4;
constexpr DWORD TH32CS_SNAPMODULE = 0x8;
constexpr DWORD TH32CS_SNAPALL =
    TH32CS_SNAPHEAPLIST | TH32CS_SNAPPROCESS | TH32CS_SNAPTHREAD | TH32CS_SNAPMODULE;

// The system's process entry in its single-byte-text form (PROCESSENTRY32).
struct TProcessEntry32 {
  DWORD dwSize;
  DWORD cntUsage;
  DWORD th32ProcessID;
  ULONG_PTR th32DefaultHeapID;
  DWORD th32ModuleID;
  DWORD cntThreads;
  DWORD th32ParentProcessID;
  LONG pcPriClassBase;
  DWORD dwFlags;
  char szExeFile[MAX_PATH];
};
static_assert(sizeof(TProcessEntry32::szExeFile) == 260, "executable name field");
#if defined(_WIN64)
static_assert(sizeof(TProcessEntry32) == 304, "64-bit process entry layout");
static_assert(offsetof(TProcessEntry32, szExeFile) == 44, "64-bit process entry layout");
#else
static_assert(sizeof(TProcessEntry32) == 296, "32-bit process entry layout");
static_assert(offsetof(TProcessEntry32, szExeFile) == 36, "32-bit process entry layout");
#endif

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD flags, DWORD processId);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE snapshot, TProcessEntry32* entry);

// The entry points in use; a null one is absent.
struct Binding {
  CreateSnapshotFn createSnapshot = nullptr;
  ProcessWalkFn processFirst = nullptr;
  ProcessWalkFn processNext = nullptr;
};

// A snapshot handle, or INVALID_HANDLE_VALUE when none is taken.
HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
// True with the first or next process entry filled in.
bool Process32First(HANDLE snapshot, TProcessEntry32& entry);
bool Process32Next(HANDLE snapshot, TProcessEntry32& entry);

// The binding, made from kernel32 at the first call.
const Binding& CurrentBinding();
// Puts another binding in place (a test's stand-in, or none at all), and
// takes it away again: the next call then binds from kernel32.
void OverrideBinding(const Binding& binding);
void RestoreBinding();

}  // namespace TlHelp32
