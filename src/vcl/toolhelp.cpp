#include "vcl/toolhelp.h"

namespace TlHelp32 {
namespace {

struct State {
  bool bound = false;
  Binding binding;
};

State& TheState() {
  static State state;
  return state;
}

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

Binding BindFromKernel32() {
  Binding b;
  HMODULE kernel = GetModuleHandleA("kernel32.dll");  // always loaded: no reference to release
  if (!kernel) return b;
  b.createSnapshot = Lookup<CreateSnapshotFn>(kernel, "CreateToolhelp32Snapshot");
  if (!b.createSnapshot) return b;
  b.processFirst = Lookup<ProcessWalkFn>(kernel, "Process32First");
  b.processNext = Lookup<ProcessWalkFn>(kernel, "Process32Next");
  return b;
}

}  // namespace

const Binding& CurrentBinding() {
  State& s = TheState();
  if (!s.bound) {
    s.binding = BindFromKernel32();
    s.bound = true;
  }
  return s.binding;
}

void OverrideBinding(const Binding& binding) {
  TheState().binding = binding;
  TheState().bound = true;
}

void RestoreBinding() { TheState() = State(); }

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
  const Binding& b = CurrentBinding();
  return b.createSnapshot ? b.createSnapshot(flags, processId) : INVALID_HANDLE_VALUE;
}

// Each walk function is tested on its own: a system that has the snapshot
// but not the walk must not make us call through a null pointer.
bool Process32First(HANDLE snapshot, TProcessEntry32& entry) {
  const Binding& b = CurrentBinding();
  return b.createSnapshot && b.processFirst && b.processFirst(snapshot, &entry) != FALSE;
}

bool Process32Next(HANDLE snapshot, TProcessEntry32& entry) {
  const Binding& b = CurrentBinding();
  return b.createSnapshot && b.processNext && b.processNext(snapshot, &entry) != FALSE;
}

}  // namespace TlHelp32
