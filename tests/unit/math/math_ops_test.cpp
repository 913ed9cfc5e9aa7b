#include "lib/math/math_ops.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <functional>

#include "lib/math/data_width.h"

namespace tembrovia::math {
namespace {

constexpr double kNoResult = -12345.678;

struct OpCase {
  const char* name;
  std::function<ErrorCode(double&)> run;
  ErrorCode error;
  double want;
};

ErrorCode Plain(double value, double& out) {
  out = value;
  return ERR_NONE;
}

TEST(MathOps, Table) {
  const OpCase cases[] = {
      {"Shl(1,31)", [](double& o) { return Plain(Shl(1, 31), o); }, ERR_NONE, 2147483648.0},
      {"Shl(1,32)", [](double& o) { return Plain(Shl(1, 32), o); }, ERR_NONE, 1},
      {"Shl(1,-1)", [](double& o) { return Plain(Shl(1, -1), o); }, ERR_NONE, 2147483648.0},
      {"Sar(-8,1)", [](double& o) { return Plain(Sar(-8, 1), o); }, ERR_NONE, -4},
      {"Sar(-8,33)", [](double& o) { return Plain(Sar(-8, 33), o); }, ERR_NONE, -4},
      {"Shr(-8,1)", [](double& o) { return Plain(Shr(-8, 1), o); }, ERR_NONE, 2147483644.0},
      {"Shr(4294967295,-4)", [](double& o) { return Plain(Shr(4294967295.0, -4), o); }, ERR_NONE, 15},
      {"BitComplement(0)", [](double& o) { return Plain(BitComplement(0), o); }, ERR_NONE, 4294967295.0},
      {"BitXor(-1,1)", [](double& o) { return Plain(BitXor(-1, 1), o); }, ERR_NONE, 4294967294.0},
      {"BitSet(0,31)", [](double& o) { return BitSet(0, 31, o); }, ERR_NONE, 2147483648.0},
      {"BitSet(0,32)", [](double& o) { return BitSet(0, 32, o); }, ERR_WRONGUSAGE, kNoResult},
      {"BitClear(-1,0)", [](double& o) { return BitClear(-1, 0, o); }, ERR_NONE, 4294967294.0},
      {"BitClear(1,-1)", [](double& o) { return BitClear(1, -1, o); }, ERR_WRONGUSAGE, kNoResult},
      {"BitTest(5,2)", [](double& o) { return BitTest(5, 2, o); }, ERR_NONE, 1},
      {"BitTest(5,1)", [](double& o) { return BitTest(5, 1, o); }, ERR_NONE, 0},
      {"Rol(128,1,#BYTE)", [](double& o) { return Rol(128, 1, kWidthByte, o); }, ERR_NONE, 1},
      {"Ror(1,1,#SHORT)", [](double& o) { return Ror(1, 1, kWidthShort, o); }, ERR_NONE, 32768},
      {"Rol(1,-1)", [](double& o) { return Rol(1, -1, kWidthInteger, o); }, ERR_NONE, 2147483648.0},
      {"Ror(1,-1,#BYTE)", [](double& o) { return Ror(1, -1, kWidthByte, o); }, ERR_NONE, 2},
      {"Rol(0x1FF,8,#BYTE)", [](double& o) { return Rol(0x1FF, 8, kWidthByte, o); }, ERR_NONE, 255},
      {"Rol(1,1,2)", [](double& o) { return Rol(1, 1, 2, o); }, ERR_WRONGUSAGE, kNoResult},
      {"Cast(255,1,#BYTE)", [](double& o) { return Cast(255, 1, kWidthByte, o); }, ERR_NONE, -1},
      {"Cast(255,0,#BYTE)", [](double& o) { return Cast(255, 0, kWidthByte, o); }, ERR_NONE, 255},
      {"Cast(-1,0,#SHORT)", [](double& o) { return Cast(-1, 0, kWidthShort, o); }, ERR_NONE, 65535},
      {"Cast(4294967295,1,#INTEGER)", [](double& o) { return Cast(4294967295.0, 1, kWidthInteger, o); }, ERR_NONE, -1},
      {"Cast(-1,0,#INTEGER)", [](double& o) { return Cast(-1, 0, kWidthInteger, o); }, ERR_NONE, 4294967295.0},
      {"Cast(1,1,5)", [](double& o) { return Cast(1, 1, 5, o); }, ERR_WRONGUSAGE, kNoResult},
      {"Int(-2.7)", [](double& o) { return Plain(Int(-2.7), o); }, ERR_NONE, -2},
      {"Int(1e12)", [](double& o) { return Plain(Int(1e12), o); }, ERR_NONE, 2147483647},
      {"Int(NaN)", [](double& o) { return Plain(Int(NAN), o); }, ERR_NONE, 0},
      {"Round(-2.7)", [](double& o) { return Plain(Round(-2.7), o); }, ERR_NONE, -3},
      {"Round(2.5)", [](double& o) { return Plain(Round(2.5), o); }, ERR_NONE, 2},
      {"Round(3.5)", [](double& o) { return Plain(Round(3.5), o); }, ERR_NONE, 4},
      {"Round(-2.5)", [](double& o) { return Plain(Round(-2.5), o); }, ERR_NONE, -2},
      {"Round(2147483648)", [](double& o) { return Plain(Round(2147483648.0), o); }, ERR_NONE, -2147483648.0},
      // 2^53 + 2^32 + 5: beyond the magic-constant trick, still the low bits of the integer
      {"Round(2^53+2^32+6)", [](double& o) { return Plain(Round(9007203549708294.0), o); }, ERR_NONE, 6},
      {"Round(inf)", [](double& o) { return Plain(Round(INFINITY), o); }, ERR_NONE, 0},
      {"Frac(-2.75)", [](double& o) { return Plain(Frac(-2.75), o); }, ERR_NONE, -0.75},
      {"Mod(-7,3)", [](double& o) { return Mod(-7, 3, o); }, ERR_NONE, -1},
      {"Mod(1,0)", [](double& o) { return Mod(1, 0, o); }, ERR_ZERODIVISION, kNoResult},
      {"Div(1,4)", [](double& o) { return Div(1, 4, o); }, ERR_NONE, 0.25},
      {"Div(1,-0)", [](double& o) { return Div(1, -0.0, o); }, ERR_ZERODIVISION, kNoResult},
      {"Limit(5,10,20)", [](double& o) { return Plain(Limit(5, 10, 20), o); }, ERR_NONE, 10},
      {"Limit(25,10,20)", [](double& o) { return Plain(Limit(25, 10, 20), o); }, ERR_NONE, 20},
      {"Limit(15,10,20)", [](double& o) { return Plain(Limit(15, 10, 20), o); }, ERR_NONE, 15},
      {"Wrap(-1,0,10)", [](double& o) { return Plain(Wrap(-1, 0, 10), o); }, ERR_NONE, 9},
      {"Wrap(10,0,10)", [](double& o) { return Plain(Wrap(10, 0, 10), o); }, ERR_NONE, 0},
      {"Wrap(25,0,10)", [](double& o) { return Plain(Wrap(25, 0, 10), o); }, ERR_NONE, 15},
      {"Rt(8,0)", [](double& o) { return Rt(8, 0, o); }, ERR_ZERODIVISION, kNoResult},
      {"Rt(8,-3)", [](double& o) { return Rt(8, -3, o); }, ERR_WRONGUSAGE, kNoResult},
      {"Sgn(-0.5)", [](double& o) { return Plain(Sgn(-0.5), o); }, ERR_NONE, -1},
      {"Sgn(0)", [](double& o) { return Plain(Sgn(0), o); }, ERR_NONE, 0},
      {"LdExp(0.75,4.9)", [](double& o) { return Plain(LdExp(0.75, 4.9), o); }, ERR_NONE, 12},
      {"LdExp(1,1e300)", [](double& o) { return Plain(LdExp(1, 1e300), o); }, ERR_NONE, INFINITY},
      {"LdExp(1,NaN)", [](double& o) { return Plain(LdExp(1, NAN), o); }, ERR_NONE, 1},
      {"Deg(Pi)", [](double& o) { return Plain(Deg(kPi), o); }, ERR_NONE, 180},
      {"Max(1,3,2)", [](double& o) { double v[] = {1, 3, 2}; return Plain(Max(v), o); }, ERR_NONE, 3},
      {"Min(1,-3,2)", [](double& o) { double v[] = {1, -3, 2}; return Plain(Min(v), o); }, ERR_NONE, -3},
  };
  for (const OpCase& c : cases) {
    double out = kNoResult;
    EXPECT_EQ(c.run(out), c.error) << c.name;
    EXPECT_EQ(out, c.want) << c.name;
  }
  // Results of the C library within rounding.
  EXPECT_NEAR(Log(8, 2), 3, 1e-12);
  EXPECT_NEAR(Ld(1024), 10, 1e-12);
  double root = 0;
  ASSERT_EQ(Rt(27, 3, root), ERR_NONE);
  EXPECT_NEAR(root, 3, 1e-12);
  EXPECT_NEAR(Rad(180), kPi, 1e-15);
  FrExpResult parts = FrExp(-12);
  EXPECT_EQ(parts.mantissa, -0.75);
  EXPECT_EQ(parts.exponent, 4);
}

TEST(MathOps, MaxAndMinKeepTheEarlierOfEqualValues) {
  double values[] = {-0.0, 0.0};
  EXPECT_TRUE(std::signbit(Max(values)));
  EXPECT_TRUE(std::signbit(Min(values)));
}

// Rnd scales one draw of the shared generator, which is the C library's drand48.
TEST(MathOps, RndDrawsFromTheSharedGenerator) {
  Rand48State random;
  random.Seed(4711);
  srand48(4711);
  for (int n : {1, 0, 6, 100, 2147483647}) {
    for (int i = 0; i < 200; ++i) {
      double out = -1;
      ASSERT_EQ(Rnd(random, n + 0.9, out), ERR_NONE);
      EXPECT_EQ(out, std::trunc(drand48() * n)) << n;
      EXPECT_GE(out, 0);
      if (n > 0) {
        EXPECT_LT(out, n);
      }
    }
  }
  double out = kNoResult;
  EXPECT_EQ(Rnd(random, -1, out), ERR_WRONGUSAGE);
  EXPECT_EQ(out, kNoResult);
}

}  // namespace
}  // namespace tembrovia::math
