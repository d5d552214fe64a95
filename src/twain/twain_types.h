#pragma once
// The TWAIN records, codes and entry point that the tool uses, laid out as
// the TWAIN data source manager expects them: 2-byte packing on every
// platform, the identity record 156 bytes.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

using TW_UINT16 = uint16_t;
using TW_UINT32 = uint32_t;
using TW_INT16 = int16_t;
using TW_MEMREF = void*;

#pragma pack(push, 2)
using TW_STR32 = char[34];

struct TW_VERSION {
  TW_UINT16 MajorNum;
  TW_UINT16 MinorNum;
  TW_UINT16 Language;
  TW_UINT16 Country;
  TW_STR32 Info;
};

struct TW_IDENTITY {
  TW_UINT32 Id;
  TW_VERSION Version;
  TW_UINT16 ProtocolMajor;
  TW_UINT16 ProtocolMinor;
  TW_UINT32 SupportedGroups;
  TW_STR32 Manufacturer;
  TW_STR32 ProductFamily;
  TW_STR32 ProductName;
};
#pragma pack(pop)

static_assert(sizeof(TW_STR32) == 34);
static_assert(sizeof(TW_VERSION) == 42);
static_assert(offsetof(TW_VERSION, Info) == 8);
static_assert(sizeof(TW_IDENTITY) == 156);
static_assert(offsetof(TW_IDENTITY, Id) == 0);
static_assert(offsetof(TW_IDENTITY, Version) == 4);
static_assert(offsetof(TW_IDENTITY, Version) + offsetof(TW_VERSION, Info) == 12);
static_assert(offsetof(TW_IDENTITY, ProtocolMajor) == 46);
static_assert(offsetof(TW_IDENTITY, ProtocolMinor) == 48);
static_assert(offsetof(TW_IDENTITY, SupportedGroups) == 50);
static_assert(offsetof(TW_IDENTITY, Manufacturer) == 54);
static_assert(offsetof(TW_IDENTITY, ProductFamily) == 88);
static_assert(offsetof(TW_IDENTITY, ProductName) == 122);

// Data groups.
constexpr TW_UINT32 DG_CONTROL = 0x0001;
constexpr TW_UINT32 DG_IMAGE = 0x0002;
constexpr TW_UINT32 DG_AUDIO = 0x0004;
// Data argument types.
constexpr TW_UINT16 DAT_IDENTITY = 0x0003;
constexpr TW_UINT16 DAT_PARENT = 0x0004;
// Messages.
constexpr TW_UINT16 MSG_GETFIRST = 0x0004;
constexpr TW_UINT16 MSG_GETNEXT = 0x0005;
constexpr TW_UINT16 MSG_OPENDSM = 0x0301;
constexpr TW_UINT16 MSG_CLOSEDSM = 0x0302;
// Return codes.
constexpr TW_UINT16 TWRC_SUCCESS = 0;
constexpr TW_UINT16 TWRC_FAILURE = 1;
constexpr TW_UINT16 TWRC_ENDOFLIST = 7;
// Language and country.
constexpr TW_INT16 TWLG_USERLOCALE = -1;
constexpr TW_UINT16 TWCY_USA = 1;

// DSM_Entry, the manager's one entry point (exported at ordinal 1).
using DSMENTRYPROC = TW_UINT16(WINAPI*)(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg,
                                        TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

// The text of a TW_STR32 field: its bytes up to the first zero byte, or all
// 34 when none is zero; nothing else is changed.
inline std::string TwainString(const TW_STR32& field) {
  size_t n = 0;
  while (n < sizeof(TW_STR32) && field[n] != '\0') ++n;
  return std::string(field, n);
}

// Zero-fills the field and copies the text into it; a text that does not
// fit is cut so that the field keeps its terminating zero.
inline void SetTwainString(TW_STR32& field, const std::string& text) {
  for (char& c : field) c = '\0';
  const size_t n = text.size() < sizeof(TW_STR32) - 1 ? text.size() : sizeof(TW_STR32) - 1;
  for (size_t i = 0; i < n; ++i) field[i] = text[i];
}
