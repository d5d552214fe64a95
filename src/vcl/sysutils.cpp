// Text routines of the class library.
#include "vcl/sysutils.h"

#include <windows.h>

#undef GetEnvironmentVariable

std::string IntToStr(int64_t value) { return std::to_string(static_cast<long long>(value)); }

std::string UIntToStr(uint64_t value) {
  return std::to_string(static_cast<unsigned long long>(value));
}

namespace {
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
}  // namespace

std::string Trim(const std::string& text) {
  size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string IncludeTrailingBackslash(const std::string& text) {
  // Walk the characters from the start: only then is it known whether the
  // last byte stands alone or is the trail byte of a double-byte character.
  size_t lastStart = 0;
  for (size_t i = 0; i < text.size();) {
    lastStart = i;
    const bool lead = IsDBCSLeadByte(static_cast<BYTE>(text[i])) && i + 1 < text.size();
    i += lead ? 2 : 1;
  }
  const bool endsInBackslash =
      !text.empty() && lastStart == text.size() - 1 && text[lastStart] == '\\';
  return endsInBackslash ? text : text + '\\';
}

std::string GetEnvironmentVariable(const std::string& name) {
  // The size query counts the terminating zero; a later read that does not
  // fit (the value grew in between) reports the new size, so try again.
  DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  while (size != 0) {
    std::string value(size, '\0');
    const DWORD got = GetEnvironmentVariableA(name.c_str(), &value[0], size);
    if (got < size) {
      value.resize(got);  // 0 when the variable went away or is empty
      return value;
    }
    size = got;
  }
  return std::string();  // not set (ERROR_ENVVAR_NOT_FOUND) or empty
}
