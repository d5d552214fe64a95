#pragma once
// Places where a test build can make the report fail on purpose: with
// QRT_FAULT_POINTS defined, FaultPoint(name) raises a failure when the
// environment variable QRT_FAULT names that point ("name" for an ordinary
// failure, "name:abort" for a silent one, "name:sleep" for a step that takes
// three seconds). The product has none.
#ifdef QRT_FAULT_POINTS
#include <windows.h>

#include <cstdlib>
#include <string>

#include "vcl/exceptions.h"

inline void FaultPoint(const char* name) {
  const char* wanted = std::getenv("QRT_FAULT");
  if (!wanted) return;
  std::string w = wanted;
  if (w == name) throw Exception(std::string("Injected failure at ") + name);
  if (w == std::string(name) + ":abort") throw EAbort();
  if (w == std::string(name) + ":sleep") Sleep(3000);
}
#else
inline void FaultPoint(const char*) {}
#endif
