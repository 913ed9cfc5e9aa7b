// Interned strings, the string hash and the number/string conversions.
#include <gtest/gtest.h>

#include <string>

#include "vm/api.h"
#include "vm/conversion.h"
#include "vm/string_table.h"

namespace tembrovia {
namespace {

TEST(StringConversion, NumbersFromStrings) {
  struct Case {
    std::string text;
    bool converts;
    double value;
  };
  const Case cases[] = {
      {"0x10", true, 16},     {"$10", true, 16},       {"0X10", false, 0},     {"  12  ", true, 12},
      {"", false, 0},         {"12a", false, 0},       {"1e3", true, 1000},    {"-2.5", true, -2.5},
      {"$FFFFFFFFF", true, 4294967295.0},              {"0x", false, 0},       {"$", false, 0},
      {"inf", false, 0},      {"nan", false, 0},       {".5", true, 0.5},      {"1 2", false, 0},
      {std::string("1\0", 2), false, 0},               {"0xg", false, 0},      {"\t7\n", true, 7},
  };
  for (const Case& c : cases) {
    double value = -99;
    EXPECT_EQ(StringToNumber(c.text.c_str(), c.text.size(), &value), c.converts) << c.text;
    if (c.converts) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(StringConversion, NumbersPrintWithFourteenDigits) {
  EXPECT_EQ(FormatNumber(1e15), "1e+15");
  EXPECT_EQ(FormatNumber(0.1), "0.1");
  EXPECT_EQ(FormatNumber(100), "100");
  EXPECT_EQ(FormatNumber(1.0 / 3), "0.33333333333333");
}

TEST(StringTable, HashSamplesLongStringsFromTheEnd) {
  // Short strings hash every byte.
  EXPECT_NE(StringHash("ab", 2), StringHash("ba", 2));
  // A 64-byte string hashes every 3rd byte from the end: 64, 61, ... so byte 0 (position 1)
  // is not sampled and two strings differing there hash alike.
  std::string a(64, 'x'), b(64, 'x');
  b[0] = 'y';
  EXPECT_EQ(StringHash(a.data(), a.size()), StringHash(b.data(), b.size()));
  uint32_t h = 0;
  EXPECT_EQ(StringHash("", 0), h);
}

TEST(StringTable, StringsThatHashAlikeStillInternSeparately) {
  VMState* L = NewState();
  std::string a(64, 'x'), b(64, 'x');
  b[0] = 'y';
  InternedString* sa = InternString(L, a);
  InternedString* sb = InternString(L, b);
  EXPECT_NE(sa, sb);
  EXPECT_EQ(sa, InternString(L, a));
  EXPECT_EQ(std::string(sb->data(), sb->length), b);
  // Strings with NUL bytes intern by their length.
  EXPECT_NE(InternString(L, std::string_view("a\0b", 3)), InternString(L, std::string_view("a\0c", 3)));
  CloseState(L);
}

TEST(StringTable, GrowsPastItsSize) {
  VMState* L = NewState();
  uint32_t before = G(L)->stringTableSize;
  for (int i = 0; i < 200; ++i) InternString(L, "s" + std::to_string(i));
  EXPECT_GT(G(L)->stringTableSize, before);
  EXPECT_LE(G(L)->stringCount, G(L)->stringTableSize);
  CloseState(L);
}

}  // namespace
}  // namespace tembrovia
