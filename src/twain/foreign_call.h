#pragma once
// Calls into foreign code: the TWAIN manager library's load, each call of its
// entry point and its unload (and with them every scanner driver that the
// manager loads). A hardware fault raised inside such a call (access
// violation, illegal instruction, division by zero, stack overflow...) ends
// that call and becomes an EExternalException raised at the call, naming the
// fault and the module it happened in, so that the caller's guards handle it
// like any other failure. Code inside the call that the fault cut short never
// finishes; treat the library as unreliable from then on.
#include <windows.h>

#include <exception>
#include <string>
#include <type_traits>

#include "vcl/exceptions.h"

struct TForeignFault {
  DWORD code = 0;
  const void* address = nullptr;
  DWORD parameterCount = 0;
  ULONG_PTR parameters[2] = {};
};

// Runs body(context); returns false and fills fault when a hardware fault
// ended it. body must not let a C++ exception out.
bool RunUnderFaultGuard(void (*body)(void*), void* context, TForeignFault& fault);

// The message for a fault, module being the file name of the module that
// holds the fault address (empty when there is none).
std::string ForeignFaultMessage(const TForeignFault& fault, const std::string& module);
// The file name of the module whose image holds address; empty when none.
std::string ModuleNameAt(const void* address);
[[noreturn]] void RaiseForeignFault(const TForeignFault& fault);

// Runs f() under the fault guard and returns its result; a hardware fault
// raises EExternalException, a C++ exception of f passes on unchanged.
template <typename F>
auto ForeignCall(F f) -> decltype(f()) {
  using R = decltype(f());
  static_assert(!std::is_void_v<R>, "ForeignCall needs a result");
  struct Call {
    F* f;
    R result;
    std::exception_ptr error;
  } call{&f, R(), nullptr};
  auto body = [](void* p) noexcept {
    auto* c = static_cast<Call*>(p);
    try {
      c->result = (*c->f)();
    } catch (...) {
      c->error = std::current_exception();
    }
  };
  TForeignFault fault;
  if (!RunUnderFaultGuard(body, &call, fault)) RaiseForeignFault(fault);
  if (call.error) std::rethrow_exception(call.error);
  return call.result;
}
