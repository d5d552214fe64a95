#include "twain/dtwain.h"

#include "twain/foreign_call.h"
#include "vcl/sysutils.h"

namespace {
const char kManagerFileName[] = "TWAINDSM.DLL";
const char kWindowClass[] = "TDTwainWindow";

// A text that a Windows call writes into a buffer, of any length: call asks
// for size bytes and returns the length (or the size needed when too small).
template <typename Call>
std::string WindowsText(Call call) {
  std::string text(MAX_PATH + 1, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD n = call(&text[0], static_cast<DWORD>(text.size()));
    if (n == 0) return std::string();
    if (n < text.size()) {
      text.resize(n);
      return text;
    }
    text.assign(static_cast<size_t>(n) + 1, '\0');
  }
  return std::string();
}

std::string ExecutableDirectory() {
  std::string path(MAX_PATH + 1, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    if (path.size() > 65536) return std::string();
    path.assign(path.size() * 2, '\0');
  }
  const size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool Exists(const std::string& path) {
  WIN32_FIND_DATAA data;
  UniqueFindHandle find(FindFirstFileA(path.c_str(), &data));
  return find.Valid();
}

HWND CreateOwnWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!GetClassInfoA(instance, kWindowClass, &wc)) {
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);
  }
  HWND window = CreateWindowExA(0, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
  if (!window) throw EOSError("Cannot create the window of the TWAIN component");
  return window;
}
}  // namespace

std::vector<std::string> ManagerLibraryCandidates() {
  const std::string directories[] = {
      WindowsText([](char* b, DWORD n) { return GetWindowsDirectoryA(b, n); }),
      WindowsText([](char* b, DWORD n) { return GetSystemDirectoryA(b, n); }),
      WindowsText([](char* b, DWORD n) { return GetCurrentDirectoryA(n, b); }),
      ExecutableDirectory(),
      WindowsText([](char* b, DWORD n) { return GetTempPathA(n, b); }),
  };
  std::vector<std::string> candidates;
  for (const std::string& directory : directories) {
    // A directory that cannot be told is skipped, not taken for the root.
    if (!directory.empty())
      candidates.push_back(IncludeTrailingBackslash(directory) + kManagerFileName);
  }
  return candidates;
}

void RegisterTwainClasses() {
  RegisterComponentClass("TDTwain", [] { return std::make_unique<TDTwain>(); });
}

TDTwain::TDTwain() : identity_() {
  identity_.ProtocolMajor = 1;
  identity_.ProtocolMinor = 9;
  identity_.SupportedGroups = DG_CONTROL;
  window_ = CreateOwnWindow();
}

TDTwain::~TDTwain() {
  // The manager may fault once more here; the program is ending and nothing
  // of it may escape a destructor.
  try {
    SetSourceManagerLoaded(false);
  } catch (...) {
  }
  try {
    FreeLibraryGuarded();
  } catch (...) {
  }
  DestroyWindow(window_);
}

void TDTwain::SetLibraryLoaded(bool loaded) {
  if (loaded)
    LoadManagerLibrary();
  else
    UnloadManagerLibrary();
}

bool TDTwain::LoadManagerLibrary() {
  if (LibraryLoaded()) return true;
  std::string path;
  for (const std::string& candidate : ManagerLibraryCandidates()) {
    if (Exists(candidate)) {
      path = candidate;
      break;
    }
  }
  if (path.empty()) return false;

  // No system error box for a file that is no library or lacks a part.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module;
  try {
    module = ForeignCall([&] { return LoadLibraryA(path.c_str()); });
  } catch (...) {
    SetErrorMode(oldMode);
    throw;
  }
  SetErrorMode(oldMode);
  if (!module) return false;
  library_.Reset(module);
  FARPROC entry = ForeignCall([&] { return GetProcAddress(module, MAKEINTRESOURCEA(1)); });
  if (!entry) {
    FreeLibraryGuarded();
    return false;
  }
  entry_ = reinterpret_cast<DSMENTRYPROC>(reinterpret_cast<void (*)()>(entry));
  return true;
}

bool TDTwain::UnloadManagerLibrary() {
  if (!LibraryLoaded()) return false;
  SetSourceManagerLoaded(false);
  FreeLibraryGuarded();
  return true;
}

void TDTwain::FreeLibraryGuarded() {
  // Forget the library first: after a fault in its unload it is gone all
  // the same, and it is never freed twice.
  entry_ = nullptr;
  managerOpen_ = false;
  listFilled_ = false;
  sources_.clear();
  if (!library_.Valid()) return;
  HMODULE module = library_.Release();
  ForeignCall([module] { return FreeLibrary(module); });
}

TW_UINT16 TDTwain::CallManager(TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
  DSMENTRYPROC entry = entry_;
  TW_IDENTITY* origin = &identity_;
  return ForeignCall([=] { return entry(origin, nullptr, DG_CONTROL, dat, msg, data); });
}

void TDTwain::SetSourceManagerLoaded(bool open) {
  if (!LibraryLoaded() || open == managerOpen_) return;
  if (open) {
    if (CallManager(DAT_PARENT, MSG_OPENDSM, &window_) == TWRC_SUCCESS) {
      managerOpen_ = true;
      listFilled_ = false;
    }
  } else {
    sources_.clear();
    listFilled_ = false;
    if (CallManager(DAT_PARENT, MSG_CLOSEDSM, &window_) == TWRC_SUCCESS) managerOpen_ = false;
  }
}

int TDTwain::SourceCount() {
  if (!LibraryLoaded() || !managerOpen_) return 0;
  if (!listFilled_) FillSourceList();
  return static_cast<int>(sources_.size());
}

void TDTwain::FillSourceList() {
  sources_.clear();
  auto source = std::make_unique<TTwainSource>();
  TW_UINT16 rc = CallManager(DAT_IDENTITY, MSG_GETFIRST, &source->Identity());
  while (rc == TWRC_SUCCESS) {
    sources_.push_back(std::move(source));
    if (sources_.size() >= kMaxSources) break;
    source = std::make_unique<TTwainSource>();
    rc = CallManager(DAT_IDENTITY, MSG_GETNEXT, &source->Identity());
  }
  listFilled_ = true;
}

TTwainSource* TDTwain::SourceAt(int index) {
  if (!LibraryLoaded() || !managerOpen_) return nullptr;
  if (index < 0 || static_cast<size_t>(index) >= sources_.size()) return nullptr;
  return sources_[static_cast<size_t>(index)].get();
}

void TDTwain::SetProperty(const std::string& name, const TPropValue& v, TReader& reader) {
  if (name == "Info.MajorVersion") {
    Info.SetMajorVersion(static_cast<int>(reader.Integer(name, v)));
  } else if (name == "Info.MinorVersion") {
    Info.SetMinorVersion(static_cast<int>(reader.Integer(name, v)));
  } else if (name == "Info.Language") {
    if (reader.Identifier(name, v) != "tlUserLocale") reader.Fail("Unsupported " + name);
    Info.SetLanguage(TWLG_USERLOCALE);
  } else if (name == "Info.CountryCode") {
    Info.SetCountryCode(static_cast<int>(reader.Integer(name, v)));
  } else if (name == "Info.Groups") {
    if (v.kind != TPropValue::Kind::Set) reader.Fail("Invalid property value for " + name);
    bool image = false, audio = false;
    for (const std::string& g : v.members) {
      if (g == "tgImage")
        image = true;
      else if (g == "tgAudio")
        audio = true;
      else if (g != "tgControl")
        reader.Fail("Unknown group " + g);
    }
    Info.SetGroups(image, audio);
  } else if (name == "Info.VersionInfo") {
    Info.SetVersionInfo(reader.String(name, v));
  } else if (name == "Info.Manufacturer") {
    Info.SetManufacturer(reader.String(name, v));
  } else if (name == "Info.ProductFamily") {
    Info.SetProductFamily(reader.String(name, v));
  } else if (name == "Info.ProductName") {
    Info.SetProductName(reader.String(name, v));
  } else if (name == "TransferMode") {
    if (reader.Identifier(name, v) != "ttmNative") reader.Fail("Unsupported " + name);
  } else if (name == "SourceCount") {
    reader.Integer(name, v);  // stored with the form; the count always comes from the manager
  } else if (name == "LibraryLoaded" || name == "SourceManagerLoaded") {
    if (reader.Boolean(name, v)) reader.Fail(name + " = True is not supported at start-up");
  } else {
    TComponent::SetProperty(name, v, reader);
  }
}
