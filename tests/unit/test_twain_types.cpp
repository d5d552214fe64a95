#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "twain/twain_types.h"

using namespace std::string_literals;

TEST(TwainTypes, FieldTextIsTheBytesUpToTheFirstZero) {
  struct Case {
    std::string bytes, text;
  } cases[] = {
      {"", ""},
      {"\0Hidden"s, ""},
      {"Scanner\0junk"s, "Scanner"},
      {std::string(34, 'A'), std::string(34, 'A')},
      {std::string(33, 'B'), std::string(33, 'B')},
      {" padded  ", " padded  "},
      {"\xC4\xFC\x80\xFF", "\xC4\xFC\x80\xFF"},
  };
  for (const Case& c : cases) {
    TW_STR32 field;
    std::memset(field, 0, sizeof field);
    std::memcpy(field, c.bytes.data(), c.bytes.size());
    EXPECT_EQ(TwainString(field), c.text) << c.bytes;
  }
}

TEST(TwainTypes, SetFieldZeroFillsAndKeepsTheTerminator) {
  TW_STR32 field;
  std::memset(field, 'x', sizeof field);
  SetTwainString(field, "Quibrel");
  EXPECT_EQ(std::string(field, sizeof field), "Quibrel" + std::string(27, '\0'));
  SetTwainString(field, std::string(40, 'L'));
  EXPECT_EQ(std::string(field, sizeof field), std::string(33, 'L') + '\0');
}
