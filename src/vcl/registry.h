#pragma once
// The registry object: one root key, at most one open key under it, and text
// reads from that key. The open key is closed by CloseKey, by changing the
// root, by opening another key and when the object goes.
#include <windows.h>

#include <string>

#include "vcl/classes.h"
#include "vcl/exceptions.h"
#include "vcl/handles.h"

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

class TRegistry : public TObject {
 public:
  // KEY_ALL_ACCESS unless told otherwise; the root starts as HKEY_CURRENT_USER.
  TRegistry() : TRegistry(KEY_ALL_ACCESS) {}
  explicit TRegistry(REGSAM access) : access_(access) {}
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;
  ~TRegistry() override = default;

  HKEY RootKey() const { return root_; }
  void SetRootKey(HKEY root);
  REGSAM Access() const { return access_; }
  HKEY CurrentKey() const { return current_.Get(); }

  // Opens the key, creating it and every missing key on its path when
  // canCreate is true. A path without a leading backslash is taken relative
  // to the open key when there is one, else to the root. Returns whether a
  // key is open now; on failure the key open before stays open.
  bool OpenKey(const std::string& key, bool canCreate);
  void CloseKey() { current_.Reset(); }

  // The text of a REG_SZ or REG_EXPAND_SZ value up to its first NUL, taken
  // as stored (no expansion). Empty text when no key is open, the value is
  // missing or its data is empty. ERegistryException for data of any other
  // type and when the data cannot be read.
  std::string ReadString(const std::string& name) const;

 private:
  REGSAM access_;
  HKEY root_ = HKEY_CURRENT_USER;
  UniqueRegKey current_;
};
