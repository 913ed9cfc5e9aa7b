// Registration and the start-up sequence, engine attributes, command names, CallCommand.
#include <string>
#include <vector>

#include "lib/core/call_command.h"
#include "lib/core/core_commands.h"
#include "lib/core/engine_attributes.h"
#include "lib/core/registration.h"
#include "support/command_fixture.h"

namespace tembrovia {
namespace {

int Noop(VMState*) { return 0; }

// Returns every argument as it arrived.
int Echo(VMState* state) { return GetTop(state); }

int Answer(VMState* state) {
  PushString(state, "replaced");
  return 1;
}

constexpr CommandEntry kAlphaCommands[] = {
    {"\xC4rgerCmd", Noop},  // a Latin-1 capital A with diaeresis
    {"MixedCase", Noop},
};
constexpr ConstantEntry kAlphaConstants[] = {
    {"MyText", "hello", 0},
    {"MY\xC4NUMBER", nullptr, 3.5},
};
const LibraryTable kAlpha{"alpha", kAlphaCommands, kAlphaConstants};
const LibraryTable* const kAlphaOnly[] = {&kAlpha};

std::vector<std::string> g_events;

ErrorCode InitFirst(VMState* state, LibraryRuntime&) {
  // The globals table is pushed, and attribute handlers are not installed yet.
  PushValue(state, kGlobalsIndex);
  g_events.push_back(RawEqual(state, -1, -2) ? "first sees globals" : "first without globals");
  Pop(state, 1);
  if (SetEngineAttribute(state, 40, 1)) g_events.push_back("handler too early");
  return ERR_NONE;
}
ErrorCode InitFailing(VMState*, LibraryRuntime&) {
  g_events.push_back("failing");
  return ERR_MEM;
}
ErrorCode InitLast(VMState*, LibraryRuntime&) {
  g_events.push_back("last");
  return ERR_NONE;
}

bool SetForty(VMState*, int id, intptr_t value) {
  if (id != 40) return false;
  g_events.push_back("first handler set " + std::to_string(value));
  return true;
}
bool SetFortyToo(VMState*, int id, intptr_t) {
  if (id != 40 && id != 41) return false;
  g_events.push_back("second handler set " + std::to_string(id));
  return true;
}
bool GetForty(VMState*, int id, intptr_t* value) {
  if (id != 40) return false;
  *value = 4040;
  return true;
}

constexpr CommandEntry kLastCommands[] = {{"LastCmd", Noop}};
const LibraryTable kFirst{"first", {}, {}, InitFirst, SetForty, GetForty};
const LibraryTable kSecond{"second", {}, {}, nullptr, SetFortyToo};
const LibraryTable kFailing{"failing", {}, {}, InitFailing};
const LibraryTable kLast{"last", kLastCommands, {}, InitLast};

// A state with a runtime, without the fixture (start-up itself is under test).
struct BareState {
  BareState() : state(NewState()), runtime(std::make_unique<LibraryRuntime>(state)) {}
  ~BareState() {
    runtime.reset();
    CloseState(state);
  }
  VMState* state;
  std::unique_ptr<LibraryRuntime> runtime;
};

TEST(Registration, CommandsBecomeGlobalsUnderLatin1LowerCaseNames) {
  CommandFixture fx(kAlphaOnly);
  EXPECT_EQ(fx.Global("\xE4rgercmd").type, TagFunction);
  EXPECT_EQ(fx.Global("mixedcase").type, TagFunction);
  EXPECT_TRUE(fx.Global("MixedCase").is_nil());
  EXPECT_EQ(fx.Call("MIXEDCASE", {}).error, ERR_NONE);
}

TEST(Registration, ConstantsGoIntoTheRegistryUnderLowerCaseNames) {
  CommandFixture fx(kAlphaOnly);
  GetField(fx.state(), kRegistryIndex, kConstantsTable);
  const ScriptValue constants = fx.Snapshot(-1);
  Pop(fx.state(), 1);
  ASSERT_EQ(constants.type, TagTable);
  EXPECT_EQ(constants.keys.size(), 2u);
  ASSERT_NE(constants.Field("mytext"), nullptr);
  EXPECT_EQ(constants.Field("mytext")->text, "hello");
  ASSERT_NE(constants.Field("my\xE4number"), nullptr);
  EXPECT_EQ(constants.Field("my\xE4number")->number, 3.5);
}

TEST(Registration, StartupFields) {
  BareState bare;
  int applet = 0;
  int clargs = 0;
  ASSERT_EQ(StartLibraries(bare.state, kAlphaOnly, reinterpret_cast<DisplayConfig*>(&applet),
                           reinterpret_cast<PlayerConfig*>(&clargs)),
            ERR_NONE);
  EXPECT_EQ(GetRegistryPointer(bare.state, "applet"), &applet);
  EXPECT_EQ(GetRegistryPointer(bare.state, "clargs"), &clargs);

  GetField(bare.state, kRegistryIndex, "inclevels");
  GetField(bare.state, -1, "count");
  EXPECT_EQ(Type(bare.state, -1), TagNumber);
  EXPECT_EQ(ToNumber(bare.state, -1), 0);
  SetTop(bare.state, 0);

  GetGlobal(bare.state, "_g");
  PushValue(bare.state, kGlobalsIndex);
  EXPECT_TRUE(RawEqual(bare.state, -1, -2));
  SetTop(bare.state, 0);
}

TEST(Registration, LibrariesStartInOrderAndTheFirstErrorEndsStartup) {
  g_events.clear();
  BareState bare;
  const LibraryTable* const libraries[] = {&kFirst, &kFailing, &kLast};
  EXPECT_EQ(StartLibraries(bare.state, libraries, nullptr, nullptr), ERR_MEM);
  EXPECT_EQ(g_events, (std::vector<std::string>{"first sees globals", "failing"}));
  GetGlobal(bare.state, "lastcmd");
  EXPECT_TRUE(IsNil(bare.state, -1));
  SetTop(bare.state, 0);
}

TEST(Registration, AttributeHandlersAreAskedInLibraryOrder) {
  g_events.clear();
  BareState bare;
  const LibraryTable* const libraries[] = {&kFirst, &kSecond, &kLast};
  ASSERT_EQ(StartLibraries(bare.state, libraries, nullptr, nullptr), ERR_NONE);
  EXPECT_EQ(g_events, (std::vector<std::string>{"first sees globals", "last"}));

  g_events.clear();
  EXPECT_TRUE(SetEngineAttribute(bare.state, 40, 7));
  EXPECT_TRUE(SetEngineAttribute(bare.state, 41, 0));
  EXPECT_FALSE(SetEngineAttribute(bare.state, 42, 0));
  EXPECT_EQ(g_events, (std::vector<std::string>{"first handler set 7", "second handler set 41"}));
  EXPECT_EQ(GetEngineAttribute(bare.state, 40), 4040);
  EXPECT_EQ(GetEngineAttribute(bare.state, 41), std::nullopt);
}

TEST(Registration, CoreAttributes) {
  BareState bare;
  ASSERT_EQ(StartLibraries(bare.state, kAlphaOnly, nullptr, nullptr), ERR_NONE);
  EXPECT_EQ(GetEngineAttribute(bare.state, kAttrExitOnError), 1);
  EXPECT_TRUE(SetEngineAttribute(bare.state, kAttrExitOnError, 0));
  EXPECT_FALSE(GetExitOnError(bare.state));
  EXPECT_EQ(GetEngineAttribute(bare.state, kAttrExitOnError), 0);

  EXPECT_TRUE(SetEngineAttribute(bare.state, kAttrCallbackDepth, 3));
  EXPECT_EQ(GetCallbackDepth(bare.state), 3);
  EXPECT_EQ(GetEngineAttribute(bare.state, kAttrCallbackDepth), 3);

  EXPECT_FALSE(bare.runtime->attributes().script_loaded());
  EXPECT_TRUE(SetEngineAttribute(bare.state, kAttrScriptLoaded, 1));
  EXPECT_TRUE(bare.runtime->attributes().script_loaded());

  EXPECT_EQ(GetEngineAttribute(bare.state, kAttrCore6), 0);
  EXPECT_TRUE(SetEngineAttribute(bare.state, kAttrCore6, 66));
  EXPECT_EQ(GetEngineAttribute(bare.state, kAttrCore6), 66);
  EXPECT_EQ(GetEngineAttribute(bare.state, 99), std::nullopt);
}

TEST(Registration, CommandNamesKeepTheirSpelling) {
  CommandFixture fx;
  EXPECT_EQ(fx.runtime().CommandName(CmdDebugPrint), "DebugPrint");
  EXPECT_EQ(fx.runtime().CommandName(Noop), "");
  EXPECT_STREQ(fx.runtime().commands().Spelling("DEBUGVAL"), "DebugVal");
  EXPECT_EQ(fx.runtime().commands().Spelling("nosuchcommand"), nullptr);

  // The VM names a failing command in its error context with the table's spelling.
  EXPECT_EQ(fx.Call("getobjectdata", {}).error, ERR_MISSINGPARAMTR);
  EXPECT_EQ(GetErrorContext(fx.state()).name, "GetObjectData");
}

TEST(Registration, TheVMReportsThroughTheRuntime) {
  CommandFixture fx;
  // The call trace goes to the debug channel.
  SetCallTrace(fx.state(), true);
  fx.Call("ToString", {5});
  SetCallTrace(fx.state(), false);
  EXPECT_NE(fx.TakeDebugOutput().find("Now calling ToString()"), std::string::npos);

  // A script's failing command: the error context names it as its table spells it.
  const CallResult failed = fx.Run(R"(
    .line 3
        call getobjectdata, 3, 99, "x"
        return r0, 1
  )");
  EXPECT_EQ(failed.error, ERR_FINDARRAY);
  EXPECT_EQ(GetErrorContext(fx.state()).name, "GetObjectData");
  EXPECT_EQ(GetErrorContext(fx.state()).line, 3);
}

TEST(Registration, CallCommandPushesTypedArguments) {
  CommandFixture fx;
  fx.Register("Echo", Echo);
  int anchor = 0;
  VMState* state = fx.state();
  ASSERT_EQ(CallCommand(state, "ECHO", kMultipleResults,
                        {CommandArgument::Signed(-5), CommandArgument::Unsigned(4000000000u),
                         CommandArgument::String("text"), CommandArgument::Nil(),
                         CommandArgument::Handle(&anchor), CommandArgument::Object({7, nullptr}),
                         CommandArgument::Object({0, &anchor})}),
            ERR_NONE);
  ASSERT_EQ(GetTop(state), 7);
  EXPECT_EQ(ToNumber(state, 1), -5);
  EXPECT_EQ(ToNumber(state, 2), 4000000000.0);
  EXPECT_STREQ(ToString(state, 3), "text");
  EXPECT_TRUE(IsNil(state, 4));
  EXPECT_EQ(ToUserdata(state, 5), &anchor);
  EXPECT_EQ(ToNumber(state, 6), 7);
  EXPECT_EQ(Type(state, 7), TagLightUserdata);
  EXPECT_EQ(ToUserdata(state, 7), &anchor);
  SetTop(state, 0);

  // A script that replaces the global replaces what is called.
  PushNativeFunction(state, Answer);
  SetGlobal(state, "echo");
  ASSERT_EQ(CallCommand(state, "Echo", 1, {}), ERR_NONE);
  EXPECT_STREQ(ToString(state, -1), "replaced");
  SetTop(state, 0);

  // A failing command's code comes back.
  ASSERT_EQ(CallCommand(state, "GetConstant", 1, {CommandArgument::String("#nothing")}), ERR_FINDCST);
  SetTop(state, 0);
}

}  // namespace
}  // namespace tembrovia
