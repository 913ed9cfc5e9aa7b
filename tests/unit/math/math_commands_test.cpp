// The math library's commands through the VM: each command reaches the right function with
// its arguments in order, the errors, the variadic and two-result commands, #PI, and the
// shared random generator.
#include <stdlib.h>

#include <cmath>
#include <vector>

#include "lib/math/shared_random.h"
#include "platform/headless/virtual_clock.h"
#include "support/command_fixture.h"

namespace tembrovia {
namespace {

using MathCommandsTest = CommandTest;

struct Case {
  const char* command;
  std::vector<Arg> args;
  double expected;
};

TEST_F(MathCommandsTest, Results) {
  const double pi = 3.141592653589793;
  const Case cases[] = {
      {"Abs", {-2.5}, 2.5},
      {"ACos", {1}, 0},
      {"ASin", {1}, pi / 2},
      {"ATan", {1}, pi / 4},
      {"ATan2", {1, -1}, 3 * pi / 4},  // y first
      {"Add", {2, "3"}, 5},
      {"Sub", {2, 3}, -1},
      {"Mul", {2, 3}, 6},
      {"Div", {3, 2}, 1.5},
      {"Mod", {-7, 3}, -1},
      {"Pow", {2, 10}, 1024},
      {"Hypot", {3, 4}, 5},
      {"Exp", {0}, 1},
      {"Ln", {1}, 0},
      {"Log", {8, 2}, 3},
      {"Ld", {1024}, 10},
      {"LdExp", {3, 2.9}, 12},
      {"Rt", {27, 3}, 3},
      {"Sqrt", {16}, 4},
      {"Ceil", {1.2}, 2},
      {"Floor", {-1.2}, -2},
      {"Cos", {0}, 1},
      {"Sin", {0}, 0},
      {"Tan", {0}, 0},
      {"Deg", {pi}, 180},
      {"Rad", {180}, pi},
      {"Int", {-2.7}, -2},
      {"Round", {-2.7}, -3},
      {"Round", {2.5}, 2},
      {"Round", {3.5}, 4},
      {"Frac", {-2.75}, -0.75},
      {"Sgn", {-3}, -1},
      {"Sgn", {0}, 0},
      {"Limit", {5, 10, 20}, 10},
      {"Limit", {25, 10, 20}, 20},
      {"Wrap", {-1, 0, 10}, 9},
      {"Wrap", {10, 0, 10}, 0},
      {"Wrap", {25, 0, 10}, 15},
      {"Shl", {1, 31}, 2147483648.0},
      {"Shl", {1, 32}, 1},
      {"Shl", {1, -1}, 2147483648.0},
      {"Sar", {-8, 1}, -4},
      {"Shr", {-8, 1}, 2147483644.0},
      {"BitComplement", {0}, 4294967295.0},
      {"BitSet", {0, 31}, 2147483648.0},
      {"BitClear", {-1, 0}, 4294967294.0},
      {"BitTest", {5, 2}, 1},
      {"BitTest", {5, 1}, 0},
      {"BitXor", {-1, 4294967295.0}, 0},
      {"Cast", {255, 1, 7}, -1},
      {"Cast", {255, 0, 7}, 255},
      {"Cast", {-1, 0, 6}, 65535},
      {"Rol", {128, 1, 7}, 1},
      {"Ror", {1, 1, 6}, 32768},
      {"Rol", {1, -1}, 2147483648.0},
      {"Max", {1, 5, 3}, 5},
      {"Min", {4, -2, 7, -2}, -2},
      {"Rnd", {1}, 0},
      {"Rnd", {0}, 0},
  };
  for (const Case& c : cases) {
    const CallResult r = fx.Call(c.command, c.args);
    ASSERT_TRUE(r.ok()) << c.command << ": " << r.message;
    ASSERT_EQ(r.count(), 1u) << c.command;
    EXPECT_NEAR(r.number(0), c.expected, 1e-12) << c.command;
  }
}

TEST_F(MathCommandsTest, DomainErrorsAreResultsNotFailures) {
  EXPECT_TRUE(std::isnan(fx.Call("Sqrt", {-1}).number(0)));
  EXPECT_TRUE(std::isinf(fx.Call("Ln", {0}).number(0)));
  EXPECT_TRUE(std::isnan(fx.Call("ASin", {2}).number(0)));
}

TEST_F(MathCommandsTest, Errors) {
  struct ErrorCase {
    const char* command;
    std::vector<Arg> args;
    ErrorCode error;
  };
  const ErrorCase cases[] = {
      {"Div", {1, 0}, ERR_ZERODIVISION},
      {"Mod", {1, 0}, ERR_ZERODIVISION},
      {"Rt", {8, 0}, ERR_ZERODIVISION},
      {"Rt", {8, -3}, ERR_WRONGUSAGE},
      {"BitSet", {0, 32}, ERR_WRONGUSAGE},
      {"BitClear", {0, -1}, ERR_WRONGUSAGE},
      {"BitTest", {0, 40}, ERR_WRONGUSAGE},
      {"Cast", {1, 1, 3}, ERR_WRONGUSAGE},
      {"Rol", {1, 1, 2}, ERR_WRONGUSAGE},
      {"Rnd", {-1}, ERR_WRONGUSAGE},
      {"Max", {1}, ERR_MISSINGPARAMTR},
      {"Max", {1, "x"}, ERR_NUMEXPECTED},
      {"Abs", {}, ERR_MISSINGPARAMTR},
      {"Add", {1, 2, 3}, ERR_TOOMANYARGS},
      {"RndF", {1}, ERR_TOOMANYARGS},
      {"Limit", {1, 2}, ERR_MISSINGPARAMTR},
  };
  for (const ErrorCase& c : cases) EXPECT_EQ(fx.Call(c.command, c.args).error, c.error) << c.command;
  EXPECT_EQ(fx.Call("Max", {1, 2, Arg::List({})}).message, "Number expected in argument 3!");
}

TEST_F(MathCommandsTest, FrExpGivesMantissaAndExponent) {
  const CallResult r = fx.Call("FrExp", {12});
  ASSERT_EQ(r.count(), 2u);
  EXPECT_EQ(r.number(0), 0.75);
  EXPECT_EQ(r.number(1), 4);
}

TEST_F(MathCommandsTest, PiIsAConstant) {
  EXPECT_EQ(fx.Call("GetConstant", {"#PI"}).number(0), 3.141592653589793);
}

// Rnd and RndF draw from the shared generator, which is the C library's drand48.
TEST_F(MathCommandsTest, RandomNumbersFollowDrand48) {
  SharedRandom(fx.state()).Seed(4711);
  srand48(4711);
  for (int i = 0; i < 100; ++i) {
    const double n = 1 + i * 37;
    EXPECT_EQ(fx.Call("Rnd", {n}).number(0), std::trunc(drand48() * n));
    EXPECT_EQ(fx.Call("RndF").number(0), drand48());
  }
}

TEST(MathLibrary, TheGeneratorIsSeededWithTheCalendarTime) {
  VirtualClock clock(1234567890);
  SetPlatformClock(&clock);
  CommandFixture fx;
  SetPlatformClock(nullptr);
  srand48(1234567890);
  EXPECT_EQ(fx.Call("RndF").number(0), drand48());
}

}  // namespace
}  // namespace tembrovia
