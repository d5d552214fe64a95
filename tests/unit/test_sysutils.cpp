#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <limits>
#include <string>

#include "vcl/sysutils.h"

#undef GetEnvironmentVariable

TEST(SysUtils, TrimDropsControlCharsAndBlanksAtBothEndsOnly) {
  using namespace std::string_literals;
  struct Case {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"abc", "abc"},
      {"  abc  ", "abc"},
      {"\tabc\t", "abc"},
      {"\r\nabc\r\n", "abc"},
      {"\0\0abc\0"s, "abc"},
      {"\x01\x1F\x20x\x1F", "x"},
      {" a b\r\nc ", "a b\r\nc"},
      {" \t\r\n\0 "s, ""},
      {"\x80x\xFF", "\x80x\xFF"},
      {" \xA0 ", "\xA0"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Trim(c.in), c.out) << "input of " << c.in.size() << " bytes";
}

TEST(SysUtils, IntToStrWritesPlainDecimal) {
  struct Case {
    int64_t in;
    const char* out;
  } cases[] = {
      {0, "0"},
      {7, "7"},
      {-7, "-7"},
      {1000, "1000"},
      {-2147483648LL, "-2147483648"},
      {std::numeric_limits<int64_t>::max(), "9223372036854775807"},
      {std::numeric_limits<int64_t>::min(), "-9223372036854775808"},
  };
  for (const Case& c : cases) EXPECT_EQ(IntToStr(c.in), c.out);
}

TEST(SysUtils, UIntToStrWritesPlainDecimal) {
  EXPECT_EQ(UIntToStr(0), "0");
  EXPECT_EQ(UIntToStr(4294967295u), "4294967295");
  EXPECT_EQ(UIntToStr(std::numeric_limits<uint64_t>::max()), "18446744073709551615");
}

TEST(SysUtils, IncludeTrailingBackslashAddsOneOnlyWhenMissing) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"", "\\"},   {"c:\\x", "c:\\x\\"}, {"c:\\x\\", "c:\\x\\"},
      {"\\", "\\"}, {"c:", "c:\\"},       {"a\\\\", "a\\\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(IncludeTrailingBackslash(c.in), c.out) << c.in;
}

TEST(SysUtils, IncludeTrailingBackslashSeesTrailByteOfDoubleByteChar) {
  if (GetACP() != 932) GTEST_SKIP() << "needs the Shift-JIS code page, ACP is " << GetACP();
  // 0x95 0x5C is one Shift-JIS character whose second byte equals '\'.
  EXPECT_EQ(IncludeTrailingBackslash("c:\\\x95\x5C"), "c:\\\x95\x5C\\");
  EXPECT_EQ(IncludeTrailingBackslash("c:\\\x95\x5C\\"), "c:\\\x95\x5C\\");
  // Two such characters in a row: the walk must stay in step.
  EXPECT_EQ(IncludeTrailingBackslash("\x95\x5C\x95\x5C"), "\x95\x5C\x95\x5C\\");
  // 0x95 0x95 is one character, so the final 0x5C is a backslash of its own
  // although the byte before it is a lead byte value.
  EXPECT_EQ(IncludeTrailingBackslash("\x95\x95\x5C"), "\x95\x95\x5C");
}

TEST(SysUtils, GetEnvironmentVariableUnsetAndEmptyGiveEmptyText) {
  const char* name = "QRT_TEST_SYSUTILS_VAR";
  ASSERT_TRUE(SetEnvironmentVariableA(name, nullptr) || GetLastError() == ERROR_ENVVAR_NOT_FOUND);
  EXPECT_EQ(GetEnvironmentVariable(name), "");

  ASSERT_TRUE(SetEnvironmentVariableA(name, "value"));
  EXPECT_EQ(GetEnvironmentVariable(name), "value");

  ASSERT_TRUE(SetEnvironmentVariableA(name, ""));
  EXPECT_EQ(GetEnvironmentVariable(name), "");
  SetEnvironmentVariableA(name, nullptr);
}

TEST(SysUtils, GetEnvironmentVariableReadsLongValue) {
  // The longest value a variable can hold: the system keeps it in a counted
  // string of at most 65,535 bytes, that is 32,767 wide characters with the
  // terminating zero. Longer values are accepted by SetEnvironmentVariableA
  // but do not read back.
  const char* name = "QRT_TEST_SYSUTILS_LONG";
  std::string value;
  for (int i = 0; i < 32766; ++i) value += static_cast<char>('a' + i % 26);
  ASSERT_TRUE(SetEnvironmentVariableA(name, value.c_str()));
  const std::string got = GetEnvironmentVariable(name);
  SetEnvironmentVariableA(name, nullptr);
  EXPECT_EQ(got.size(), value.size());
  EXPECT_TRUE(got == value);  // no 40,000-char dump on failure
}
