// The test TWAIN data source manager. Its script, TWAINDSM.script beside the
// library, has one instruction per line:
//   source <ProductName> <Manufacturer> <ProductFamily> <VersionInfo>
//       a source to report, each field 34 raw bytes written as 68 hex digits
//   return <call> <code> [<n>]   the n-th call (every call without n) returns code
//   fault <call> <kind> [<n>]    the n-th call (every call without n) faults
// with <call> one of load, open, getfirst, getnext, close, unload and <kind>
// one of av (write to address 0), div, ill, stack. Every event goes to
// TWAINDSM.log beside the library, one line each, written at once.
#include <windows.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "twain/twain_types.h"

namespace {
std::string g_dir;
std::vector<TW_IDENTITY> g_sources;
struct Rule {
  int nth;  // 0: every call
  std::string value;
};
std::map<std::string, std::vector<Rule>> g_returns, g_faults;
std::map<std::string, int> g_counts;
size_t g_next = 0;

void Log(const std::string& line) {
  HANDLE f = CreateFileA((g_dir + "TWAINDSM.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
}

std::string Hex(const void* data, size_t size) {
  static const char digits[] = "0123456789ABCDEF";
  std::string s;
  for (size_t i = 0; i < size; ++i) {
    const unsigned char b = static_cast<const unsigned char*>(data)[i];
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

bool FromHex(const std::string& hex, char* out, size_t size) {
  if (hex.size() != 2 * size) return false;
  for (size_t i = 0; i < size; ++i)
    out[i] = static_cast<char>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
  return true;
}

void ReadScript() {
  HANDLE f = CreateFileA((g_dir + "TWAINDSM.script").c_str(), GENERIC_READ, FILE_SHARE_READ,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(f);
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    if (verb == "source") {
      TW_IDENTITY id{};
      std::string pn, mf, pf, vi;
      words >> pn >> mf >> pf >> vi;
      id.Id = static_cast<TW_UINT32>(100 + g_sources.size());
      if (FromHex(pn, id.ProductName, 34) && FromHex(mf, id.Manufacturer, 34) &&
          FromHex(pf, id.ProductFamily, 34) && FromHex(vi, id.Version.Info, 34))
        g_sources.push_back(id);
    } else if (verb == "return" || verb == "fault") {
      std::string call, value;
      int nth = 0;
      words >> call >> value >> nth;
      (verb == "return" ? g_returns : g_faults)[call].push_back({nth, value});
    }
  }
}

const Rule* Find(std::map<std::string, std::vector<Rule>>& rules, const std::string& call,
                 int nth) {
  auto it = rules.find(call);
  if (it == rules.end()) return nullptr;
  for (const Rule& r : it->second)
    if (r.nth == 0 || r.nth == nth) return &r;
  return nullptr;
}

int* volatile g_nowhere = nullptr;
volatile int g_zero = 0;
volatile int g_one = 1;
volatile int g_sink = 0;

__attribute__((noinline)) int Recurse(int depth) {
  volatile char buffer[4096];
  buffer[0] = static_cast<char>(depth);
  if (depth == g_zero - 1)
    return 0;  // never: keeps the recursion from being endless to the compiler
  return Recurse(depth + 1) + buffer[0];
}

void Fault(const std::string& kind) {
  if (kind == "av") *g_nowhere = 1;
  if (kind == "div") g_sink = g_one / g_zero;
  if (kind == "ill") asm volatile("ud2");
  if (kind == "stack") g_sink = Recurse(0);
}

// Counts the call and faults when the script says so.
int Enter(const std::string& call) {
  const int nth = ++g_counts[call];
  if (const Rule* f = Find(g_faults, call, nth)) {
    Log("fault " + call + " " + f->value);
    Fault(f->value);
  }
  return nth;
}

std::string ParentData(TW_MEMREF data) {
  if (!data) return "null";
  HWND h = *static_cast<HWND*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  const bool ok = IsWindow(h) && !IsWindowVisible(h) && pid == GetCurrentProcessId();
  return ok ? "hwnd-ok" : "hwnd-bad";
}

std::string IdentityData(TW_MEMREF data) {
  if (!data) return "null";
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < sizeof(TW_IDENTITY); ++i)
    if (p[i]) return "identity-dirty";
  return "identity-zero";
}
}  // namespace

extern "C" TW_UINT16 WINAPI DSM_Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg,
                                      TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
  std::string call = "other";
  if (dg == DG_CONTROL && dat == DAT_PARENT && msg == MSG_OPENDSM) call = "open";
  if (dg == DG_CONTROL && dat == DAT_PARENT && msg == MSG_CLOSEDSM) call = "close";
  if (dg == DG_CONTROL && dat == DAT_IDENTITY && msg == MSG_GETFIRST) call = "getfirst";
  if (dg == DG_CONTROL && dat == DAT_IDENTITY && msg == MSG_GETNEXT) call = "getnext";
  char head[128];
  std::snprintf(head, sizeof head, "call %s DG=%u DAT=%u MSG=%04X dest=%s data=", call.c_str(),
                static_cast<unsigned>(dg), dat, msg, dest ? "set" : "null");
  Log(std::string(head) + (dat == DAT_PARENT ? ParentData(data) : IdentityData(data)) +
      " origin=" + std::to_string(reinterpret_cast<uintptr_t>(origin)) + ":" +
      (origin ? Hex(origin, sizeof(TW_IDENTITY)) : "null"));
  const int nth = Enter(call);
  if (const Rule* r = Find(g_returns, call, nth))
    return static_cast<TW_UINT16>(std::stoi(r->value));
  if (call == "open") {
    if (origin) origin->Id = 0x51;
    return TWRC_SUCCESS;
  }
  if (call == "close") return TWRC_SUCCESS;
  if (call == "getfirst") g_next = 0;
  if (call == "getfirst" || call == "getnext") {
    if (g_next >= g_sources.size() || !data) return TWRC_ENDOFLIST;
    *static_cast<TW_IDENTITY*>(data) = g_sources[g_next++];
    return TWRC_SUCCESS;
  }
  return TWRC_FAILURE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(instance, path, MAX_PATH);
    g_dir = path;
    g_dir.erase(g_dir.find_last_of('\\') + 1);
    ReadScript();
    Log("load");
    Enter("load");
  } else if (reason == DLL_PROCESS_DETACH) {
    Log("unload");
    Enter("unload");
  }
  return TRUE;
}
