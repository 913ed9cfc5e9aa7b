// Calls between script and native code: the return convention, command errors with
// exit-on-error and the script error handler, callbacks, protected calls, the error context
// and names, hooks and the call trace.
#include <string>

#include "vm/opcodes.h"
#include "vm_fixture.h"

namespace tembrovia {
namespace {

class CallTest : public VmTest {};

int Fail(VMState*) { return ERR_FINDBRUSH; }
int Succeed(VMState* L) {
  PushNumber(L, 1);
  return 1;
}
int LastError(VMState* L) {
  PushNumber(L, GetLastErrorCode(L));
  return 1;
}

TEST_F(CallTest, NativeResultsArePaddedOrCut) {
  Register("two", [](VMState* L) {
    PushNumber(L, 1);
    PushNumber(L, 2);
    return 2;
  });
  // Wanting three results gives nil for the third; a native claiming more than it pushed
  // gives only what is there.
  ASSERT_EQ(Run("call Two => r0\nreadglobal r1, \"two\"\ncall r1, 1, 4\nreturn r1, 4"), ERR_NONE);
  EXPECT_EQ(GetTop(L), 3);
  EXPECT_EQ(ToNumber(L, 1), 1);
  EXPECT_EQ(ToNumber(L, 2), 2);
  EXPECT_TRUE(IsNil(L, 3));
  Register("liar", [](VMState* L) {
    PushNumber(L, 9);
    return 50;
  });
  ASSERT_EQ(Run("readglobal r0, \"liar\"\ncall r0, 1, 0\nreturn r0, 0"), ERR_NONE);
  EXPECT_EQ(GetTop(L), 1);
}

TEST_F(CallTest, AFailingCommandEndsTheRunAndSetsTheStopFlag) {
  Register("DisplayBrush", Fail);
  EXPECT_EQ(Run(".line 12\ncall DisplayBrush, 5\nreturn r0, 1"), ERR_FINDBRUSH);
  EXPECT_EQ(GetLastErrorCode(L), ERR_FINDBRUSH);
  EXPECT_TRUE(GetStopFlag(L));
  const ErrorContext& context = GetErrorContext(L);
  EXPECT_EQ(context.name, "DisplayBrush");
  EXPECT_EQ(context.line, 12);
  EXPECT_EQ(context.script, "@test.vxs");
}

TEST_F(CallTest, WithoutExitOnErrorTheScriptGoesOnAndKeepsTheCode) {
  SetExitOnError(L, false);
  Register("fail", Fail);
  Register("succeed", Succeed);
  Register("getlasterror", LastError);
  SetLastErrorReader(L, LastError);
  ASSERT_EQ(Run(R"(
    call Fail
    call GetLastError => r0
    call Fail
    call Succeed
    call GetLastError => r1
    return r0, 3
  )"), ERR_NONE);
  EXPECT_EQ(ToNumber(L, 1), ERR_FINDBRUSH);
  EXPECT_EQ(ToNumber(L, 2), 0) << "a successful command in between clears it";
  EXPECT_FALSE(GetStopFlag(L));
  EXPECT_EQ(GetErrorContext(L).name, "----");
  EXPECT_EQ(GetErrorContext(L).line, -1);
}

TEST_F(CallTest, TheErrorHandlerTakesTheErrorAndTheScriptContinues) {
  Register("fail", Fail);
  ASSERT_EQ(Run(R"(
    .function handler
      .params 4
      writeglobal r0, "code"
      writeglobal r1, "message"
      writeglobal r2, "name"
      writeglobal r3, "line"
      return r0, 1
    .end
    makeclosure r0, handler
    writeglobal r0, "h"
    return r0, 1
  )"), ERR_NONE);
  GetGlobal(L, "h");
  SetErrorHandlerRef(L, RegistryRef(L));
  ASSERT_EQ(Run(".line 7\ncall Fail\nloadconst r0, 5\nreturn r0, 2"), ERR_NONE);
  EXPECT_EQ(ToNumber(L, -1), 5);
  GetGlobal(L, "code");
  EXPECT_EQ(ToNumber(L, -1), ERR_FINDBRUSH);
  GetGlobal(L, "message");
  EXPECT_EQ(StringAt(-1), "message 1174");
  GetGlobal(L, "name");
  EXPECT_EQ(StringAt(-1), "fail");
  GetGlobal(L, "line");
  EXPECT_EQ(ToNumber(L, -1), 7);
  EXPECT_FALSE(GetStopFlag(L));
}

TEST_F(CallTest, AnErrorInsideACallbackDoesNotStopTheRun) {
  Register("fail", Fail);
  // A command that calls its function argument back, as a sort comparator would.
  Register("foreach", [](VMState* L) {
    PushValue(L, 1);
    ErrorCode status = CallbackCall(L, 0, 0);
    return status == ERR_NONE ? 0 : status;
  });
  SetExitOnError(L, true);
  ASSERT_EQ(Load(R"(
    .function callback
      call Fail
      return r0, 1
    .end
    makeclosure r0, callback
    call ForEach, r0
    return r0, 1
  )"), ERR_NONE);
  EXPECT_EQ(ProtectedCall(L, 0, 0), ERR_FINDBRUSH);
  EXPECT_EQ(GetCallbackDepth(L), 0);
  // The callback's failure did not set the stop flag; the outer command's return did.
  EXPECT_TRUE(GetStopFlag(L));
  EXPECT_EQ(GetErrorContext(L).name, "fail") << "the innermost frame names the context";
}

TEST_F(CallTest, CallbackErrorsLeaveTheStopFlagClear) {
  Register("fail", Fail);
  ASSERT_EQ(Load(".function cb\ncall Fail\nreturn r0, 1\n.end\nmakeclosure r0, cb\nreturn r0, 2"), ERR_NONE);
  ASSERT_EQ(ProtectedCall(L, 0, 1), ERR_NONE);
  EXPECT_EQ(CallbackCall(L, 0, 0), ERR_FINDBRUSH);
  EXPECT_FALSE(GetStopFlag(L));
}

TEST_F(CallTest, CallingANonFunctionNamesIt) {
  EXPECT_EQ(Run("maketable r0, 0, 0\nwriteglobal r0, \"t\"\nreadglobal r1, \"t\"\ncall r1, 1, 1\nreturn r0, 1"),
            ERR_FUNCDECLA);
  EXPECT_EQ(host.errorText, "t()");
  EXPECT_EQ(Run("maketable r1, 0, 0\nreadfield r2, r1, \"x\"\nreturn r0, 1"), ERR_FIELDINIT);
  EXPECT_EQ(Run(".local \"obj\", 0, 3\nloadconst r0, 1\nmaketable r0, 0, 0\ncall r0, 1, 1\nreturn r0, 1"), ERR_FUNCDECLA);
  EXPECT_EQ(host.errorText, "obj()");
  EXPECT_EQ(Run("maketable r1, 0, 0\nwritefield r1, \"m\", 1\nmethod r2, r1, \"m\"\ncall r2, 2, 1\nreturn r0, 1"),
            ERR_FUNCDECLA);
  EXPECT_EQ(host.errorText, "m()");
  EXPECT_EQ(Run("loadconst r0, 1\ncall r0, 1, 1\nreturn r0, 1"), ERR_FUNCDECLA);
  EXPECT_EQ(host.errorText, "?" "?()");
}

TEST_F(CallTest, CallHandlersMakeTablesCallable) {
  Register("setmetatable", [](VMState* L) {
    SetTop(L, 2);
    SetMetatable(L, 1);
    return 1;
  });
  EXPECT_EQ(RunNumber(R"(
    .function callme
      .params 2
      add r0, r1, 1
      return r0, 2
    .end
    maketable r1, 0, 0
    maketable r2, 0, 0
    makeclosure r3, callme
    writefield r2, "__call", r3
    call SetMetatable, r1, r2
    move r2, r1
    loadconst r3, 41
    call r2, 2, 2
    return r2, 2
  )"), 42);
}

TEST_F(CallTest, ProtectedCallsRestoreTheState) {
  Register("raise", [](VMState* L) -> int { RaiseError(L, ERR_WRONGUSAGE); });
  PushNumber(L, 1);
  PushNumber(L, 2);
  GetGlobal(L, "raise");
  EXPECT_EQ(ProtectedCall(L, 0, 1), ERR_WRONGUSAGE);
  EXPECT_EQ(GetTop(L), 2) << "values below the called function survive";
  EXPECT_EQ(ToNumber(L, 2), 2);
  // Unprotected Call returns a native's error code without raising it.
  PushNativeFunction(L, Fail);
  EXPECT_EQ(Call(L, 0, 0), ERR_FINDBRUSH);
}

TEST_F(CallTest, NativeDepthIsLimited) {
  // A native that calls itself back through Call.
  Register("recurse", [](VMState* L) {
    GetGlobal(L, "recurse");
    return Call(L, 0, 0);
  });
  GetGlobal(L, "recurse");
  EXPECT_EQ(ProtectedCall(L, 0, 0), ERR_STACK);
  GetGlobal(L, "recurse");
  EXPECT_EQ(ProtectedCall(L, 0, 0), ERR_STACK) << "the depth was restored";
}

TEST_F(CallTest, TheLineHookFiresOnNewLinesAndLoops) {
  static std::vector<int> lines;
  lines.clear();
  SetHook(L, [](VMState*, const HookEvent& e) -> ErrorCode {
    lines.push_back(e.currentLine);
    return ERR_NONE;
  }, HookMaskLine, 0);
  ASSERT_EQ(Run(R"(
    .line 1
      loadconst r0, 0
      loadconst r1, 2
    .line 2
      loadconst r2, 1
    .line 3
    top: sub r1, r1, r2
      ifless 1, 0, r1
      jump top
    .line 4
      return r0, 1
  )"), ERR_NONE);
  // The first check only initialises (so line 1 stays silent); then 2, 3, the backward
  // jump to 3, and 4.
  std::vector<int> expected = {2, 3, 3, 4};
  EXPECT_EQ(lines, expected);
}

TEST_F(CallTest, AHookThatSetsTheStopFlagEndsTheScript) {
  SetHook(L, [](VMState* L, const HookEvent&) -> ErrorCode {
    SetStopFlag(L);
    return ERR_NONE;
  }, HookMaskLine, 0);
  ASSERT_EQ(Run("loop: jump loop\nreturn r0, 1"), ERR_NONE);
  EXPECT_TRUE(GetStopFlag(L));
}

TEST_F(CallTest, AHookErrorIsRaisedAtTheInstruction) {
  SetHook(L, [](VMState*, const HookEvent&) -> ErrorCode { return ERR_USERABORT; }, HookMaskLine, 0);
  EXPECT_EQ(Run(".line 1\nloadconst r0, 1\n.line 2\nloadconst r0, 1\nreturn r0, 1"), ERR_USERABORT);
  SetHook(L, nullptr, 0, 0);
  EXPECT_EQ(RunNumber("loadconst r0, 3\nreturn r0, 2"), 3);
}

TEST_F(CallTest, TheCallTracePrintsEveryNativeCall) {
  Register("Show", [](VMState*) { return 0; });
  SetCallTrace(L, true);
  ASSERT_EQ(Run("call Show, 1.5, \"a\", nil\nreturn r0, 1"), ERR_NONE);
  EXPECT_EQ(host.debug, "Now calling Show() with arguments #1=(NUMBER)1.5 #2=(STRING)\"a\" #3=(NIL) \n");
}

TEST_F(CallTest, DebugInformationOfActiveFrames) {
  Register("inspect", [](VMState* L) {
    DebugInfo self, caller;
    EXPECT_TRUE(GetStack(L, 0, &self));
    EXPECT_TRUE(GetInfo(L, "Sln", &self));
    EXPECT_EQ(self.what, "C");
    EXPECT_EQ(self.name, "inspect");
    EXPECT_EQ(self.namewhat, "global");
    EXPECT_TRUE(GetStack(L, 1, &caller));
    EXPECT_TRUE(GetInfo(L, "Sl", &caller));
    EXPECT_EQ(caller.what, "main");
    EXPECT_EQ(caller.currentLine, 9);
    EXPECT_EQ(caller.shortSource, "test.vxs");
    DebugInfo none;
    EXPECT_FALSE(GetStack(L, 5, &none));
    return 0;
  });
  ASSERT_EQ(Run(".line 9\ncall Inspect\nreturn r0, 1"), ERR_NONE);
}

}  // namespace
}  // namespace tembrovia
