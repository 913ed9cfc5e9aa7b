#include "common/number_literal.h"

#include <gtest/gtest.h>

namespace tembrovia {
namespace {

struct LiteralCase {
  const char* text;
  double value;
  int count;
  ErrorCode error;
};

class ParseNumberLiteralTest : public ::testing::TestWithParam<LiteralCase> {};

TEST_P(ParseNumberLiteralTest, ReadsValueCountAndError) {
  const LiteralCase& c = GetParam();
  NumberLiteral got = ParseNumberLiteral(c.text);
  EXPECT_EQ(got.value, c.value) << c.text;
  EXPECT_EQ(got.count, c.count) << c.text;
  EXPECT_EQ(got.error, c.error) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseNumberLiteralTest,
    ::testing::Values(
        LiteralCase{"42", 42, 2, ERR_NONE},
        LiteralCase{"42abc", 42, 2, ERR_NONE},
        LiteralCase{"-3.5e2x", -350, 6, ERR_NONE},
        LiteralCase{".5", 0.5, 2, ERR_NONE},
        LiteralCase{".x", 0, 0, ERR_VALUEEXPECTED},
        LiteralCase{"$FF", 255, 3, ERR_NONE},
        LiteralCase{"$ff zz", 255, 3, ERR_NONE},
        LiteralCase{"-$10", -16, 4, ERR_NONE},
        LiteralCase{"$-10", -16, 4, ERR_NONE},
        // A 64-bit strtoul would read 4294967296; the literal is 32-bit and saturates.
        LiteralCase{"$100000000", 4294967295.0, 10, ERR_NONE},
        LiteralCase{"$FFFFFFFF", 4294967295.0, 9, ERR_NONE},
        LiteralCase{"$", 0, 0, ERR_SYNTAXERROR},
        LiteralCase{"$g", 0, 0, ERR_SYNTAXERROR},
        LiteralCase{"%1011", 11, 5, ERR_NONE},
        LiteralCase{"%", 0, 1, ERR_NONE},
        LiteralCase{"-%12", -1, 3, ERR_NONE},
        LiteralCase{"0x1F", 31, 4, ERR_NONE},
        LiteralCase{"0X1f", 31, 4, ERR_NONE},
        LiteralCase{"0x", 0, 0, ERR_SYNTAXERROR},
        LiteralCase{"0", 0, 1, ERR_NONE},
        LiteralCase{"--5", 0, 0, ERR_VALUEEXPECTED},
        LiteralCase{"", 0, 0, ERR_VALUEEXPECTED},
        LiteralCase{" 5", 0, 0, ERR_VALUEEXPECTED},
        LiteralCase{"abc", 0, 0, ERR_VALUEEXPECTED}));

TEST(StrToUint32, FollowsStrtoulIn32Bits) {
  const char* end = nullptr;
  EXPECT_EQ(StrToUint32("  ff!", &end, 16), 0xFFu);
  EXPECT_STREQ(end, "!");
  EXPECT_EQ(StrToUint32("-1", &end, 10), 4294967295u);
  EXPECT_EQ(StrToUint32("-5", &end, 10), 4294967291u);
  EXPECT_EQ(StrToUint32("99999999999", &end, 10), 4294967295u);
  EXPECT_STREQ(end, "");
  EXPECT_EQ(StrToUint32("0x1g", &end, 16), 1u);  // prefix accepted for base 16
  EXPECT_EQ(StrToUint32("0xg", &end, 16), 0u);   // "0" read, stops at the "x"
  EXPECT_STREQ(end, "xg");
  EXPECT_EQ(StrToUint32("zz", &end, 36), 35u * 36 + 35);
  const char* text = "  +";
  EXPECT_EQ(StrToUint32(text, &end, 10), 0u);
  EXPECT_EQ(end, text);
}

}  // namespace
}  // namespace tembrovia
