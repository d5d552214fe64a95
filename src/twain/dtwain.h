#pragma once
// The TWAIN component: the application's identity towards the TWAIN data
// source manager, the manager library's load and unload, the manager's open
// and close, and the list of the data sources it reports. It owns a window
// of its own, never shown, whose handle it hands to the manager as parent.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "twain/twain_source.h"
#include "twain/twain_types.h"
#include "vcl/classes.h"
#include "vcl/handles.h"

class TDTwain : public TComponent {
 public:
  // The published Info properties: each setter writes its field of the
  // application identity record.
  class TInfo {
   public:
    explicit TInfo(TW_IDENTITY& record) : record_(record) {}
    void SetMajorVersion(int v) { record_.Version.MajorNum = static_cast<TW_UINT16>(v); }
    void SetMinorVersion(int v) { record_.Version.MinorNum = static_cast<TW_UINT16>(v); }
    void SetLanguage(TW_INT16 code) { record_.Version.Language = static_cast<TW_UINT16>(code); }
    void SetCountryCode(int v) { record_.Version.Country = static_cast<TW_UINT16>(v); }
    // DG_CONTROL always, DG_IMAGE and DG_AUDIO as asked.
    void SetGroups(bool image, bool audio) {
      record_.SupportedGroups = DG_CONTROL | (image ? DG_IMAGE : 0) | (audio ? DG_AUDIO : 0);
    }
    void SetVersionInfo(const std::string& t) { SetTwainString(record_.Version.Info, t); }
    void SetManufacturer(const std::string& t) { SetTwainString(record_.Manufacturer, t); }
    void SetProductFamily(const std::string& t) { SetTwainString(record_.ProductFamily, t); }
    void SetProductName(const std::string& t) { SetTwainString(record_.ProductName, t); }

   private:
    TW_IDENTITY& record_;
  };

  TDTwain();
  ~TDTwain() override;
  TDTwain(const TDTwain&) = delete;
  TDTwain& operator=(const TDTwain&) = delete;

  TInfo Info{identity_};
  const TW_IDENTITY& Identity() const { return identity_; }
  HWND WindowHandle() const { return window_; }

  bool LibraryLoaded() const { return entry_ != nullptr; }
  void SetLibraryLoaded(bool loaded);
  // Finds TWAINDSM.DLL, loads it by its full path and looks up ordinal 1.
  // True when the library is loaded after the call.
  bool LoadManagerLibrary();
  // Closes the manager if open, then frees the library.
  bool UnloadManagerLibrary();

  bool SourceManagerLoaded() const { return managerOpen_; }
  void SetSourceManagerLoaded(bool open);
  // The number of sources; the first read after the open fills the list.
  int SourceCount();
  // The source at index, or nullptr (index out of range, or nothing open).
  TTwainSource* SourceAt(int index);

  void SetProperty(const std::string& name, const TPropValue& value, TReader& reader) override;

  // At most this many sources are listed: a manager that never ends its
  // list must not exhaust memory or hang the run.
  static constexpr size_t kMaxSources = 1000;

 private:
  TW_UINT16 CallManager(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
  void FillSourceList();
  void FreeLibraryGuarded();

  TW_IDENTITY identity_;
  HWND window_ = nullptr;
  UniqueLibrary library_;
  DSMENTRYPROC entry_ = nullptr;
  bool managerOpen_ = false;
  bool listFilled_ = false;
  std::vector<std::unique_ptr<TTwainSource>> sources_;
};

// The candidate paths of the manager library, in the order they are tried:
// the Windows, system, current, executable's and temporary-files directories.
std::vector<std::string> ManagerLibraryCandidates();

// Registers TDTwain for form descriptions.
void RegisterTwainClasses();
