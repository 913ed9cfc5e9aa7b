// ToString and DebugPrint.
#include <cstdio>
#include <string>

#include "support/command_fixture.h"

namespace tembrovia {
namespace {

std::string PointerText(const char* prefix, const void* pointer) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s: %p", prefix, pointer);
  return buffer;
}

int Shout(VMState* state) {
  PushString(state, "X");
  return 1;
}

int TableMaker(VMState* state) {
  NewTable(state);
  return 1;
}

int Failing(VMState*) { return ERR_WRONGUSAGE; }

int CustomText(VMState* state) {
  PushString(state, "custom");
  return 1;
}

using ToStringTest = CommandTest;

TEST_F(ToStringTest, PlainValues) {
  struct Case {
    Arg value;
    const char* text;
  };
  const Case cases[] = {
      {kNil, "Nil"},       {true, "true"},     {false, "false"}, {10, "10"},
      {3.5, "3.5"},        {1e20, "1e+20"},    {-0.25, "-0.25"}, {1.0 / 3, "0.33333333333333"},
      {"text", "text"},    {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(fx.Call("ToString", {c.value}).string(0), c.text);
}

TEST_F(ToStringTest, ObjectsShowTheirAddress) {
  fx.SetGlobal("t", Arg::List({}));
  const ScriptValue table = fx.Global("t");
  EXPECT_EQ(fx.Call("ToString", {table}).string(0), PointerText("Table", table.pointer));
  const ScriptValue function = fx.Global("tostring");
  EXPECT_EQ(fx.Call("ToString", {function}).string(0), PointerText("Function", function.pointer));
  int anchor = 0;
  EXPECT_EQ(fx.Call("ToString", {Arg::Handle(&anchor)}).string(0), PointerText("UserData", &anchor));
}

TEST_F(ToStringTest, TheToStringHandlerOfTheMetatableWins) {
  VMState* state = fx.state();
  NewTable(state);
  NewTable(state);
  PushNativeFunction(state, CustomText);
  SetField(state, -2, "__tostring");
  SetMetatable(state, -2);
  SetGlobal(state, "special");
  EXPECT_EQ(fx.Call("ToString", {Arg::Global("special")}).string(0), "custom");
}

TEST_F(ToStringTest, TakesExactlyOneArgument) {
  EXPECT_EQ(fx.Call("ToString", {}).error, ERR_MISSINGPARAMTR);
  EXPECT_EQ(fx.Call("ToString", {1, 2}).error, ERR_TOOMANYARGS);
}

using DebugPrintTest = CommandTest;

TEST_F(DebugPrintTest, ValuesSeparatedBySpacesEndingWithALineFeed) {
  ASSERT_EQ(fx.Call("DebugPrint", {"a", 1, 2.5, kNil, true}).error, ERR_NONE);
  EXPECT_EQ(fx.TakeDebugOutput(), "a 1 2.5 Nil true\n");
  fx.Call("DebugStr", {"one"});
  fx.Call("debugval", {"two"});
  EXPECT_EQ(fx.TakeDebugOutput(), "one\ntwo\n");
}

TEST_F(DebugPrintTest, PercentSignsAreWrittenAsTheyAre) {
  fx.Call("DebugPrint", {"%d %s 100%", "%%"});
  EXPECT_EQ(fx.TakeDebugOutput(), "%d %s 100% %%\n");
}

TEST_F(DebugPrintTest, NeedsAValue) {
  EXPECT_EQ(fx.Call("DebugPrint", {}).error, ERR_MISSINGPARAMTR);
  EXPECT_EQ(fx.TakeDebugOutput(), "");
}

TEST_F(DebugPrintTest, GoesThroughTheGlobalToString) {
  fx.SetGlobal("tostring", Arg::Function(Shout));
  fx.Call("DebugPrint", {1, "two"});
  EXPECT_EQ(fx.TakeDebugOutput(), "X X\n");

  // A replacement that returns no text: the value is shown as ToString shows it.
  fx.SetGlobal("tostring", Arg::Function(TableMaker));
  fx.Call("DebugPrint", {1});
  EXPECT_EQ(fx.TakeDebugOutput().rfind("Table: ", 0), 0u);

  // A replacement that fails makes DebugPrint fail with its code.
  fx.SetGlobal("tostring", Arg::Function(Failing));
  EXPECT_EQ(fx.Call("DebugPrint", {1}).error, ERR_WRONGUSAGE);
}

TEST_F(DebugPrintTest, AScriptPrints) {
  const CallResult r = fx.Run(R"(
        loadconst r0, 0
        loadconst r1, 0
        loadconst r2, 10
        loadconst r3, 1
        jump  test
  body: add r0, r0, r1
  test: numloop r1, body
        call DebugPrint, "sum", r0, #ERR_MEM
        return r0, 2
  )");
  ASSERT_EQ(r.error, ERR_NONE) << r.message;
  EXPECT_EQ(r.number(0), 55);
  EXPECT_EQ(fx.TakeDebugOutput(), "sum 55 1000\n");
}

}  // namespace
}  // namespace tembrovia
