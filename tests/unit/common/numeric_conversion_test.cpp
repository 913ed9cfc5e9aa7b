#include "common/numeric_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tembrovia {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(NumericConversion, Int32TruncatesAndSaturates) {
  EXPECT_EQ(TruncToInt32(7.9), 7);
  EXPECT_EQ(TruncToInt32(-7.9), -7);
  EXPECT_EQ(TruncToInt32(2147483647.5), 2147483647);
  EXPECT_EQ(TruncToInt32(-2147483648.9), -2147483647 - 1);
  EXPECT_EQ(TruncToInt32(1e20), 2147483647);
  EXPECT_EQ(TruncToInt32(-1e20), -2147483647 - 1);
  EXPECT_EQ(TruncToInt32(kInf), 2147483647);
  EXPECT_EQ(TruncToInt32(-kInf), -2147483647 - 1);
  EXPECT_EQ(TruncToInt32(kNaN), 0);
}

TEST(NumericConversion, Int64TruncatesAndSaturates) {
  EXPECT_EQ(TruncToInt64(-1e10 - 0.5), -10000000000LL);
  EXPECT_EQ(TruncToInt64(1e300), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(TruncToInt64(-1e300), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(TruncToInt64(kNaN), 0);
}

TEST(NumericConversion, Low32KeepsTheBitsOfTheInteger) {
  EXPECT_EQ(TruncToLow32(-1.0), 0xFFFFFFFFu);
  EXPECT_EQ(TruncToLow32(4294967295.0), 0xFFFFFFFFu);
  EXPECT_EQ(TruncToLow32(4294967296.0 + 5.7), 5u);
  EXPECT_EQ(TruncToLow32(-4294967296.0 - 1.2), 0xFFFFFFFFu);
  EXPECT_EQ(TruncToLow32(-0.9), 0u);
  // Beyond 64 bits the value is still an integer; its low 32 bits here are 2^32 * k + 0.
  EXPECT_EQ(TruncToLow32(std::ldexp(3.0, 70)), 0u);
  EXPECT_EQ(TruncToLow32(std::ldexp(1.0, 63) + std::ldexp(1.0, 31)), 0x80000000u);
  EXPECT_EQ(TruncToLow32(kNaN), 0u);
  EXPECT_EQ(TruncToLow32(kInf), 0u);
  EXPECT_EQ(TruncToLow32Signed(4294967295.0), -1);
}

TEST(NumericConversion, Uint32ClampsToItsRange) {
  EXPECT_EQ(TruncToUint32(-3.0), 0u);
  EXPECT_EQ(TruncToUint32(3.99), 3u);
  EXPECT_EQ(TruncToUint32(1e12), 0xFFFFFFFFu);
  EXPECT_EQ(TruncToUint32(kNaN), 0u);
}

}  // namespace
}  // namespace tembrovia
