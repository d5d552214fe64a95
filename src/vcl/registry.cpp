// The registry object over advapi32.
#include "vcl/registry.h"

#include <cstring>

void TRegistry::SetRootKey(HKEY root) {
  if (root == root_) return;
  CloseKey();
  root_ = root;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  bool relative = key.empty() || key[0] != '\\';
  std::string path = relative ? key : key.substr(1);
  HKEY base = relative && current_.Valid() ? current_.Get() : root_;
  HKEY opened = nullptr;
  LONG rc;
  if (canCreate) {
    DWORD disposition = 0;
    rc = RegCreateKeyExA(base, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr,
                         &opened, &disposition);
  } else {
    rc = RegOpenKeyExA(base, path.c_str(), 0, access_, &opened);
  }
  if (rc != ERROR_SUCCESS || !opened) return false;
  current_.Reset(opened);
  return true;
}

std::string TRegistry::ReadString(const std::string& name) const {
  if (!current_.Valid()) return std::string();
  DWORD type = REG_NONE, size = 0;
  if (RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
      ERROR_SUCCESS)
    return std::string();
  if (size == 0) return std::string();
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException("Invalid data type for '" + name + "'");

  // Room for exactly the reported data plus a terminator of our own, so text
  // stored without a NUL still ends inside the buffer; only the bytes the
  // data query says it wrote are looked at.
  std::string buffer(static_cast<size_t>(size) + 1, '\0');
  DWORD got = size;
  LONG rc = RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(&buffer[0]), &got);
  if (rc != ERROR_SUCCESS) throw ERegistryException("Failed to get data for '" + name + "'");
  // The value may have been replaced between the two queries.
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException("Invalid data type for '" + name + "'");
  if (got > size) got = size;
  const void* nul = std::memchr(buffer.data(), '\0', got);
  size_t length = nul ? static_cast<const char*>(nul) - buffer.data() : got;
  buffer.resize(length);
  return buffer;
}
