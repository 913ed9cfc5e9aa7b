// The argument helpers, driven through small probe commands registered in the fixture.
#include <cmath>
#include <string>
#include <vector>

#include "lib/core/arguments.h"
#include "support/command_fixture.h"

namespace tembrovia {
namespace {

template <int Min, int Max>
int CountProbe(VMState* state) {
  CheckArgCount(state, Min, Max);
  PushNumber(state, GetTop(state));
  return 1;
}

int NumberProbe(VMState* state) {
  PushNumber(state, CheckNumber(state, 1));
  return 1;
}

int IntegerProbe(VMState* state) {
  PushNumber(state, CheckInteger(state, 1));
  return 1;
}

int OptNumberProbe(VMState* state) {
  PushNumber(state, OptNumber(state, 1, 42.5));
  PushNumber(state, OptInteger(state, 2, -7));
  return 2;
}

// Returns the argument itself after the check, to show the conversion in place.
int StringProbe(VMState* state) {
  const std::string_view text = CheckString(state, 1);
  PushValue(state, 1);
  PushNumber(state, static_cast<double>(text.size()));
  return 2;
}

int OptStringProbe(VMState* state) {
  PushStringView(state, OptString(state, 1, "fallback"));
  return 1;
}

// Argument 1 is padding so that the message shows position 2.
int TypesProbe(VMState* state) {
  CheckTable(state, 2);
  CheckFunction(state, 3);
  PushLightUserdata(state, CheckUserdata(state, 4));
  return 1;
}

// CheckNumberOrPercent(1, reference 200, allowOver100 from argument 2).
int PercentProbe(VMState* state) {
  const bool allow_over = ToBoolean(state, 2);
  const NumberOrPercent value = CheckNumberOrPercent(state, 1, 200.0, allow_over);
  PushNumber(state, value.value);
  PushBoolean(state, value.relative);
  return 2;
}

int RelativePercentProbe(VMState* state) {
  const NumberOrPercent value = CheckNumberOrPercent(state, 1, std::nullopt, false);
  PushNumber(state, value.value);
  PushBoolean(state, value.relative);
  return 2;
}

class ArgumentsTest : public CommandTest {
 protected:
  ArgumentsTest() {
    fx.Register("Count11", CountProbe<1, 1>);
    fx.Register("Count00", CountProbe<0, 0>);
    fx.Register("Count10", CountProbe<1, 0>);
    fx.Register("Count2Minus", CountProbe<2, -1>);
    fx.Register("Count13", CountProbe<1, 3>);
    fx.Register("NumberProbe", NumberProbe);
    fx.Register("IntegerProbe", IntegerProbe);
    fx.Register("OptNumberProbe", OptNumberProbe);
    fx.Register("StringProbe", StringProbe);
    fx.Register("OptStringProbe", OptStringProbe);
    fx.Register("TypesProbe", TypesProbe);
    fx.Register("PercentProbe", PercentProbe);
    fx.Register("RelativePercentProbe", RelativePercentProbe);
  }
};

TEST_F(ArgumentsTest, ArgumentCounts) {
  struct Case {
    const char* probe;
    int count;
    ErrorCode error;
  };
  const Case cases[] = {
      {"Count11", 0, ERR_MISSINGPARAMTR}, {"Count11", 1, ERR_NONE},
      {"Count11", 2, ERR_TOOMANYARGS},    {"Count00", 0, ERR_NONE},
      {"Count00", 1, ERR_TOOMANYARGS},    {"Count10", 0, ERR_MISSINGPARAMTR},
      {"Count10", 9, ERR_NONE},           {"Count2Minus", 1, ERR_MISSINGPARAMTR},
      {"Count2Minus", 12, ERR_NONE},      {"Count13", 3, ERR_NONE},
      {"Count13", 4, ERR_TOOMANYARGS},
  };
  for (const Case& c : cases) {
    const CallResult r = fx.Call(c.probe, std::vector<Arg>(c.count, Arg(1)));
    EXPECT_EQ(r.error, c.error) << c.probe << " with " << c.count;
    if (c.error == ERR_NONE) {
      EXPECT_EQ(r.number(0), c.count);
    }
  }
  EXPECT_EQ(fx.Call("Count11", {}).message, "Not enough arguments!");
  EXPECT_EQ(fx.Call("Count11", {1, 2}).message, "Too many arguments for this function!");
}

TEST_F(ArgumentsTest, ExplicitNilCountsAsAnArgumentAndReadsAsZero) {
  EXPECT_EQ(fx.Call("Count11", {kNil}).number(0), 1);
  EXPECT_EQ(fx.Call("NumberProbe", {kNil}).number(0), 0);
}

TEST_F(ArgumentsTest, NumbersAcceptNumericStrings) {
  EXPECT_EQ(fx.Call("NumberProbe", {"12.5"}).number(0), 12.5);
  EXPECT_EQ(fx.Call("NumberProbe", {"$ff"}).number(0), 255);
  EXPECT_EQ(fx.Call("IntegerProbe", {3.9}).number(0), 3);
  EXPECT_EQ(fx.Call("IntegerProbe", {-3.9}).number(0), -3);
  EXPECT_EQ(fx.Call("IntegerProbe", {1e12}).number(0), 2147483647);
}

TEST_F(ArgumentsTest, NumberErrorsNameTheArgument) {
  const CallResult absent = fx.Call("NumberProbe", {});
  EXPECT_EQ(absent.error, ERR_NUMEXPECTED);
  EXPECT_EQ(absent.message, "Number expected in argument 1!");
  EXPECT_EQ(fx.Call("NumberProbe", {"abc"}).error, ERR_NUMEXPECTED);
  EXPECT_EQ(fx.Call("NumberProbe", {true}).error, ERR_NUMEXPECTED);
  const CallResult second = fx.Call("OptNumberProbe", {1, "x"});
  EXPECT_EQ(second.message, "Number expected in argument 2!");
}

TEST_F(ArgumentsTest, OptionalNumbersTellAbsentFromNil) {
  const CallResult absent = fx.Call("OptNumberProbe", {});
  EXPECT_EQ(absent.number(0), 42.5);
  EXPECT_EQ(absent.number(1), -7);
  const CallResult nils = fx.Call("OptNumberProbe", {kNil, kNil});
  EXPECT_EQ(nils.number(0), 0);
  EXPECT_EQ(nils.number(1), 0);
}

TEST_F(ArgumentsTest, StringsConvertNumbersInPlace) {
  const CallResult r = fx.Call("StringProbe", {3.5});
  EXPECT_EQ(r.value(0).type, TagString);
  EXPECT_EQ(r.string(0), "3.5");
  EXPECT_EQ(fx.Call("StringProbe", {1e15}).string(0), "1e+15");
  // Embedded zero bytes belong to the string.
  EXPECT_EQ(fx.Call("StringProbe", {std::string("a\0b", 3)}).number(1), 3);
  const CallResult nil = fx.Call("StringProbe", {kNil});
  EXPECT_EQ(nil.error, ERR_STREXPECTED);
  EXPECT_EQ(nil.message, "String expected in argument 1!");
  EXPECT_EQ(fx.Call("StringProbe", {Arg::List({})}).error, ERR_STREXPECTED);
  EXPECT_EQ(fx.Call("OptStringProbe", {}).string(0), "fallback");
  EXPECT_EQ(fx.Call("OptStringProbe", {7}).string(0), "7");
  EXPECT_EQ(fx.Call("OptStringProbe", {kNil}).error, ERR_STREXPECTED);
}

TEST_F(ArgumentsTest, TypeChecks) {
  int anchor = 0;
  const Arg table = Arg::List({});
  const Arg function = Arg::Function(NumberProbe);
  const Arg handle = Arg::Handle(&anchor);
  EXPECT_EQ(fx.Call("TypesProbe", {0, table, function, handle}).handle(0), &anchor);

  struct Case {
    std::vector<Arg> args;
    ErrorCode error;
    const char* message;
  };
  const Case cases[] = {
      {{0, 5, function, handle}, ERR_TABEXPECTED, "Table expected in argument 2!"},
      {{0, table, "f", handle}, ERR_FUNCEXPECTED, "Function expected in argument 3!"},
      {{0, table, function, 5}, ERR_UDEXPECTED, "Userdata expected in argument 4!"},
      {{0, table, function}, ERR_UDEXPECTED, "Userdata expected in argument 4!"},
  };
  for (const Case& c : cases) {
    const CallResult r = fx.Call("TypesProbe", c.args);
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(r.message, c.message);
  }
}

TEST_F(ArgumentsTest, NumberOrPercent) {
  struct Case {
    Arg arg;
    bool allow_over;
    ErrorCode error;
    double value;
  };
  const Case cases[] = {
      {25, false, ERR_NONE, 25},          {kNil, false, ERR_NONE, 0},
      {"50%", false, ERR_NONE, 100},      {"12.5%", false, ERR_NONE, 25},
      {"0%", false, ERR_NONE, 0},         {"100%", false, ERR_NONE, 200},
      {"30", false, ERR_NONE, 30},        {"-4.5", false, ERR_NONE, -4.5},
      {"150%", true, ERR_NONE, 300},      {"150%", false, ERR_PERCENTFORMAT, 0},
      {"-5%", true, ERR_PERCENTFORMAT, 0}, {"abc", false, ERR_PERCENTFORMAT, 0},
      {"50 %", false, ERR_PERCENTFORMAT, 0}, {"%", false, ERR_PERCENTFORMAT, 0},
      {"", false, ERR_PERCENTFORMAT, 0},  {"5%%", false, ERR_PERCENTFORMAT, 0},
      {"0x10", false, ERR_PERCENTFORMAT, 0}, {"nan", false, ERR_PERCENTFORMAT, 0},
      {true, false, ERR_STRORNUM, 0},     {Arg::List({}), false, ERR_STRORNUM, 0},
  };
  for (const Case& c : cases) {
    const CallResult r = fx.Call("PercentProbe", {c.arg, c.allow_over});
    ASSERT_EQ(r.error, c.error) << r.message;
    if (c.error == ERR_NONE) {
      EXPECT_EQ(r.number(0), c.value);
      EXPECT_FALSE(r.value(1).boolean);
    }
  }
  EXPECT_EQ(fx.Call("PercentProbe", {"abc"}).message, "Invalid percent format in argument 1!");
  EXPECT_EQ(fx.Call("PercentProbe", {true}).message, "String or number expected in argument 1!");
}

TEST_F(ArgumentsTest, PercentWithoutReferenceIsRelative) {
  const CallResult half = fx.Call("RelativePercentProbe", {"50%"});
  EXPECT_EQ(half.number(0), 0.5);
  EXPECT_TRUE(half.value(1).boolean);
  const CallResult plain = fx.Call("RelativePercentProbe", {"50"});
  EXPECT_EQ(plain.number(0), 50);
  EXPECT_FALSE(plain.value(1).boolean);
}

}  // namespace
}  // namespace tembrovia
