#include "lib/string/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "lib/math/data_width.h"

namespace tembrovia {
namespace {

TEST(NumberText, StrStrCutsTheMantissaOnly) {
  struct StrStrCase { double value; int64_t decimals; const char* want; };
  for (const StrStrCase& c : {StrStrCase{3.14159, 2, "3.14"}, StrStrCase{3.14159, 0, "3"},
                              StrStrCase{2.5, 4, "2.5"}, StrStrCase{2.5, -1, "2."},
                              StrStrCase{42, 2, "42"}, StrStrCase{-0.125, 1, "-0.1"},
                              StrStrCase{1e20, 2, "1e+20"},
                              // The exponent stays: "1.5e-07" must not become "1.5".
                              StrStrCase{1.5e-7, 2, "1.5e-07"}, StrStrCase{1.5e-7, 0, "1e-07"},
                              StrStrCase{1.23456e-7, 2, "1.23e-07"}, StrStrCase{-9.87654e+30, 1, "-9.8e+30"},
                              StrStrCase{1.23456e-7, -1, "1.e-07"},
                              StrStrCase{1.0 / 3.0, 20, "0.33333333333333"},
                              StrStrCase{INFINITY, 2, "inf"}}) {
    EXPECT_EQ(StrStr(c.value, c.decimals), c.want) << c.value << " with " << c.decimals;
  }
}

TEST(NumberText, HexAndBinaryDigits) {
  EXPECT_EQ(HexStr(255), "$FF");
  EXPECT_EQ(HexStr(-1), "$FFFFFFFF");
  EXPECT_EQ(HexStr(0), "$0");
  EXPECT_EQ(HexStr(4294967296.0 + 16), "$10");  // the low 32 bits
  EXPECT_EQ(HexStr(NAN), "$0");

  EXPECT_EQ(BinStr(5, kWidthByte), "00000101");
  EXPECT_EQ(BinStr(-1, kWidthShort), "1111111111111111");
  EXPECT_EQ(BinStr(0x1FF, kWidthByte), "11111111");
  EXPECT_EQ(BinStr(0x80000001u, kWidthInteger), "10000000000000000000000000000001");
  EXPECT_EQ(BinStr(5, 2), "");
}

TEST(NumberText, PadNum) {
  std::string out;
  ASSERT_EQ(PadNum(7, 3, out), ERR_NONE);
  EXPECT_EQ(out, "007");
  ASSERT_EQ(PadNum(1234, 2, out), ERR_NONE);
  EXPECT_EQ(out, "1234");
  ASSERT_EQ(PadNum(7.9, 1, out), ERR_NONE);
  EXPECT_EQ(out, "7");
  ASSERT_EQ(PadNum(5e9, 12, out), ERR_NONE);
  EXPECT_EQ(out, "005000000000");
  EXPECT_EQ(PadNum(-1, 3, out), ERR_WRONGUSAGE);
  EXPECT_EQ(PadNum(1, 0, out), ERR_WRONGUSAGE);
  EXPECT_EQ(PadNum(1, int64_t{1} << 40, out), ERR_MEM);
}

TEST(NumberText, ToNumberInBase) {
  struct BaseCase { const char* text; int64_t base; double want; };
  for (const BaseCase& c : {BaseCase{"ff", 16, 255}, BaseCase{"  FF  ", 16, 255}, BaseCase{"0x1f", 16, 31},
                            BaseCase{"101", 2, 5}, BaseCase{"z", 36, 35}, BaseCase{"Zz", 36, 1295},
                            BaseCase{"-1", 16, 4294967295.0}, BaseCase{"123456789012", 10, 4294967295.0},
                            BaseCase{"12x", 16, 0}, BaseCase{"", 16, 0}, BaseCase{"  ", 8, 0},
                            BaseCase{"19", 8, 0}, BaseCase{"+17", 8, 15}}) {
    double value = -1;
    ASSERT_EQ(ToNumberInBase(c.text, c.base, value), ERR_NONE);
    EXPECT_EQ(value, c.want) << c.text << " base " << c.base;
  }
  double value = -1;
  ASSERT_EQ(ToNumberInBase(std::string_view("12\0", 3), 10, value), ERR_NONE);
  EXPECT_EQ(value, 0) << "a zero byte after the digits is not white space";
  EXPECT_EQ(ToNumberInBase("1", 1, value), ERR_WRONGUSAGE);
  EXPECT_EQ(ToNumberInBase("1", 37, value), ERR_WRONGUSAGE);
}

}  // namespace
}  // namespace tembrovia
