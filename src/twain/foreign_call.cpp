// The fault guard. Each guarded call runs inside an exception frame of our
// own (registered on the fs:[0] chain on i686, described by unwind data of a
// small trampoline on x86_64). Its handler only records the fault and points
// the faulting thread at a landing routine, on a stack pointer below the
// guard's frame; the landing routine jumps back to where the call was made,
// and the caller raises the failure from ordinary code. Nothing is thrown
// from the handler and it calls nothing, as it may run on the last bit of
// an overflowed stack.
#include "twain/foreign_call.h"

#include <float.h>

#include <cstdint>
#include <cstdio>

namespace {
constexpr DWORD kUnwinding = 0x2 | 0x4;  // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND
constexpr DWORD kNoncontinuable = 0x1;

struct GuardState {
  void* jump[5];  // __builtin_setjmp buffer
  GuardState* outer;
  TForeignFault fault;
  void* savedChain;  // i686: the fs:[0] chain outside the guard
};

GuardState* g_guard = nullptr;  // the innermost active guard (one thread)

bool IsHardwareFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
      return true;
  }
  return false;
}

__attribute__((noinline, noreturn, used)) void LandFromFault() {
  __builtin_longjmp(g_guard->jump, 1);
}

// The stack for the landing routine: well below the guard's frame, where the
// guarded call's dead frames were, aligned as right after a call.
uintptr_t LandingStack(const void* frame) {
  return ((reinterpret_cast<uintptr_t>(frame) - 512) & ~uintptr_t(15)) - sizeof(void*);
}

// After a stack overflow the stack has lost its guard page: put it back on
// the lowest committed page, so that a later overflow is caught again.
void RearmStackGuard() {
  char here = 0;
  MEMORY_BASIC_INFORMATION mbi{};
  if (!VirtualQuery(&here, &mbi, sizeof mbi)) return;
  char* p = static_cast<char*>(mbi.AllocationBase);
  for (;;) {
    if (!VirtualQuery(p, &mbi, sizeof mbi)) return;
    if (mbi.State == MEM_COMMIT) break;
    p = static_cast<char*>(mbi.BaseAddress) + mbi.RegionSize;
    if (p >= &here) return;
  }
  if (mbi.Protect & PAGE_GUARD) return;
  SYSTEM_INFO si{};
  GetSystemInfo(&si);
  char* page = static_cast<char*>(mbi.BaseAddress);
  if (page + 4 * si.dwPageSize > &here) return;  // too close to where we are
  DWORD old = 0;
  VirtualProtect(page, si.dwPageSize, PAGE_READWRITE | PAGE_GUARD, &old);
}

std::string Hex(uintptr_t value, int digits) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*llX", digits, static_cast<unsigned long long>(value));
  return buffer;
}

const char* FaultName(DWORD code) {
  switch (code) {
    case EXCEPTION_IN_PAGE_ERROR:
      return "In-page error";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
      return "Illegal instruction";
    case EXCEPTION_PRIV_INSTRUCTION:
      return "Privileged instruction";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return "Division by zero";
    case EXCEPTION_INT_OVERFLOW:
      return "Integer overflow";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
      return "Array bounds exceeded";
    case EXCEPTION_FLT_DENORMAL_OPERAND:
      return "Floating point denormal operand";
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
      return "Floating point division by zero";
    case EXCEPTION_FLT_INEXACT_RESULT:
      return "Floating point inexact result";
    case EXCEPTION_FLT_INVALID_OPERATION:
      return "Invalid floating point operation";
    case EXCEPTION_FLT_OVERFLOW:
      return "Floating point overflow";
    case EXCEPTION_FLT_STACK_CHECK:
      return "Floating point stack check";
    case EXCEPTION_FLT_UNDERFLOW:
      return "Floating point underflow";
    case EXCEPTION_STACK_OVERFLOW:
      return "Stack overflow";
    case EXCEPTION_DATATYPE_MISALIGNMENT:
      return "Data type misalignment";
  }
  return nullptr;
}
}  // namespace

// The handler of the guard's frame, for both architectures.
extern "C" EXCEPTION_DISPOSITION QrtForeignFaultHandler(EXCEPTION_RECORD* record, void* frame,
                                                        CONTEXT* context, void*) {
  GuardState* guard = g_guard;
  if (!guard || (record->ExceptionFlags & (kUnwinding | kNoncontinuable)) ||
      !IsHardwareFault(record->ExceptionCode))
    return ExceptionContinueSearch;
  guard->fault.code = record->ExceptionCode;
  guard->fault.address = record->ExceptionAddress;
  guard->fault.parameterCount = record->NumberParameters;
  for (DWORD i = 0; i < 2; ++i)
    guard->fault.parameters[i] = i < record->NumberParameters ? record->ExceptionInformation[i] : 0;
#if defined(__x86_64__)
  context->Rip = reinterpret_cast<DWORD64>(&LandFromFault);
  context->Rsp = LandingStack(frame);
#elif defined(__i386__)
  context->Eip = reinterpret_cast<DWORD>(&LandFromFault);
  context->Esp = LandingStack(frame);
#else
#error "no fault guard for this architecture"
#endif
  return ExceptionContinueExecution;
}

#if defined(__x86_64__)
// The trampoline: calls body(context) in a frame whose unwind data names the
// handler above.
extern "C" void QrtCallFramed(void (*body)(void*), void* context);
asm(R"(
  .text
  .p2align 4
  .globl QrtCallFramed
  .def QrtCallFramed; .scl 2; .type 32; .endef
  .seh_proc QrtCallFramed
QrtCallFramed:
  .seh_handler QrtForeignFaultHandler, @except
  subq $40, %rsp
  .seh_stackalloc 40
  .seh_endprologue
  movq %rcx, %rax
  movq %rdx, %rcx
  callq *%rax
  nop
  addq $40, %rsp
  ret
  .seh_endproc
)");
#else
namespace {
struct SehRegistration {
  SehRegistration* next;
  void* handler;
};

__attribute__((noinline)) void QrtCallFramed(void (*body)(void*), void* context) {
  SehRegistration registration;
  asm volatile("movl %%fs:0, %0" : "=r"(registration.next));
  registration.handler = reinterpret_cast<void*>(&QrtForeignFaultHandler);
  g_guard->savedChain = registration.next;
  asm volatile("movl %0, %%fs:0" : : "r"(&registration) : "memory");
  body(context);
  asm volatile("movl %0, %%fs:0" : : "r"(registration.next) : "memory");
}
}  // namespace
#endif

bool RunUnderFaultGuard(void (*body)(void*), void* context, TForeignFault& fault) {
  GuardState state{};
  state.outer = g_guard;
  g_guard = &state;
  if (__builtin_setjmp(state.jump)) {
    GuardState* guard = g_guard;  // &state, read back from memory
#if defined(__i386__)
    // Drop the frames that the cut-short code left on the chain, and ours.
    asm volatile("movl %0, %%fs:0" : : "r"(guard->savedChain) : "memory");
#endif
    g_guard = guard->outer;
    fault = guard->fault;
    if (fault.code == EXCEPTION_STACK_OVERFLOW) RearmStackGuard();
    if (fault.code >= EXCEPTION_FLT_DENORMAL_OPERAND && fault.code <= EXCEPTION_FLT_UNDERFLOW)
      _fpreset();  // the FPU state the fault left behind
    return false;
  }
  QrtCallFramed(body, context);
  g_guard = state.outer;
  return true;
}

std::string ModuleNameAt(const void* address) {
  MEMORY_BASIC_INFORMATION mbi{};
  if (!address || !VirtualQuery(address, &mbi, sizeof mbi) || mbi.State != MEM_COMMIT ||
      mbi.Type != MEM_IMAGE)
    return std::string();
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(static_cast<HMODULE>(mbi.AllocationBase), path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  std::string name(path, n);
  const size_t cut = name.find_last_of("\\/:");
  return cut == std::string::npos ? name : name.substr(cut + 1);
}

std::string ForeignFaultMessage(const TForeignFault& fault, const std::string& module) {
  const int digits = static_cast<int>(2 * sizeof(void*));
  std::string where = " at address " + Hex(reinterpret_cast<uintptr_t>(fault.address), digits);
  if (!module.empty()) where += " in module '" + module + "'";
  if (fault.code == EXCEPTION_ACCESS_VIOLATION) {
    const char* kind = "Read";
    if (fault.parameterCount >= 1 && fault.parameters[0] == 1) kind = "Write";
    if (fault.parameterCount >= 1 && fault.parameters[0] == 8) kind = "Execution";
    std::string message = "Access violation" + where;
    if (fault.parameterCount >= 2)
      message += std::string(". ") + kind + " of address " + Hex(fault.parameters[1], digits);
    return message;
  }
  if (const char* name = FaultName(fault.code)) return name + where + ".";
  return "External exception " + Hex(fault.code, 8) + where + ".";
}

void RaiseForeignFault(const TForeignFault& fault) {
  throw EExternalException(ForeignFaultMessage(fault, ModuleNameAt(fault.address)));
}
