#pragma once
// Owners of Windows handles: each releases its handle exactly once.
#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, Traits::Invalid()));
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return h_; }
  bool Valid() const { return h_ != Traits::Invalid(); }
  void Reset(Handle h = Traits::Invalid()) {
    if (Valid()) Traits::Close(h_);
    h_ = h;
  }
  Handle Release() { return std::exchange(h_, Traits::Invalid()); }

 private:
  Handle h_ = Traits::Invalid();
};

struct KernelHandleTraits {  // CreateToolhelp32Snapshot and other "invalid is -1" handles
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindClose(h); }
};
struct RegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { RegCloseKey(h); }
};
struct LibraryTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Close(HMODULE h) { FreeLibrary(h); }
};
struct GdiObjectTraits {
  static HGDIOBJ Invalid() { return nullptr; }
  static void Close(HGDIOBJ h) { DeleteObject(h); }
};

using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueFindHandle = UniqueHandle<HANDLE, FindHandleTraits>;
using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;
using UniqueLibrary = UniqueHandle<HMODULE, LibraryTraits>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, GdiObjectTraits>;

// Holds the clipboard open for one scope.
class ClipboardScope {
 public:
  explicit ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardScope() {
    if (open_) CloseClipboard();
  }
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};
