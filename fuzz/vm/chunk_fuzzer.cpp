// Loads arbitrary bytes as a chunk and, when they load, runs them under an instruction
// budget and a memory ceiling, with a few native functions to call (an iterator, a failing
// command, a callback runner), exit-on-error off half of the time.
#include <cstddef>
#include <cstdint>

#include "vm/api.h"

namespace {

using namespace tembrovia;

int budget = 0;

ErrorCode Budget(VMState*, const HookEvent&) {
  budget -= 1000;
  return budget > 0 ? ERR_NONE : ERR_USERABORT;
}

int NextNative(VMState* L) {
  SetTop(L, 2);
  if (!IsTable(L, 1)) return ERR_TABEXPECTED;
  if (Next(L, 1)) return 2;
  PushNil(L);
  return 1;
}

int FailNative(VMState*) { return ERR_FINDBRUSH; }

int JumpNative(VMState* L) {
  SetLabelJump(L, static_cast<int>(ToNumber(L, 1)));
  return kLabelJump;
}

int CallbackNative(VMState* L) {
  if (!IsFunction(L, 1)) return 0;
  PushValue(L, 1);
  PushValue(L, 2);
  ErrorCode status = CallbackCall(L, 1, 1);
  return status == ERR_NONE ? 1 : status;
}

int SetMetatableNative(VMState* L) {
  SetTop(L, 2);
  SetMetatable(L, 1);
  return 1;
}

int GcNative(VMState* L) {
  CollectGarbage(L);
  return 0;
}

void Register(VMState* L, const char* name, NativeFunction f) {
  PushNativeFunction(L, f);
  SetGlobal(L, name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VMState* L = NewState();
  if (L == nullptr) return 0;
  SetMemoryLimit(L, 16u << 20);
  Register(L, "next", NextNative);
  Register(L, "fail", FailNative);
  Register(L, "jump", JumpNative);
  Register(L, "callback", CallbackNative);
  Register(L, "setmetatable", SetMetatableNative);
  Register(L, "collectgarbage", GcNative);
  SetExitOnError(L, (size & 1) == 0);
  if (LoadBuffer(L, data, size, "=fuzz") == ERR_NONE) {
    budget = 50000;
    SetHook(L, Budget, HookMaskCount, 1000);
    PushNumber(L, 1);
    PushString(L, "two");
    ProtectedCall(L, 2, kMultipleResults);
  }
  CloseState(L);
  return 0;
}
