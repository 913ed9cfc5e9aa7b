// Calls and returns: stack and frame growth, calling a value (script or native), moving the
// results, and the native-function return convention.
#pragma once

#include "vm/state.h"

namespace tembrovia {

// Makes room for n more slots above top (may move the stack).
void GrowStack(VMState* L, int n);
inline void CheckStackRoom(VMState* L, int n) {
  if (L->stackLast - L->top <= n) GrowStack(L, n);
}
void ReallocStack(VMState* L, int newSize);
void ReallocFrames(VMState* L, int newSize);

// The next frame record (grows the frames array, raising ERR_STACK past 4096 frames).
inline CallFrame* NextFrame(VMState* L);
void GrowFrames(VMState* L);
inline CallFrame* NextFrame(VMState* L) {
  if (L->ci + 1 == L->endCi) GrowFrames(L);
  return ++L->ci;
}

// What PrepareCall did: set up a script frame (the caller runs Execute), or ran a native
// function whose return value is `nativeResult` (results already moved into place).
constexpr int kScriptFrameReady = -0x7FFFFFFF;

// Calls the value at func with the arguments above it up to top; nresults -1 keeps all.
int PrepareCall(VMState* L, Value* func, int nresults);

// Moves the results firstResult..top-1 of the frame ending now down to its function slot,
// padded or cut to the wanted count, and pops the frame.
void FinishCall(VMState* L, Value* firstResult);

// A full call of func (script or native) from native code: counts the native depth.
// Returns 0 or the error code a native function returned.
int CallValue(VMState* L, Value* func, int nresults);

// The script loop (interpreter.cpp): runs the script frame L->ci and returns the position of
// its first result (results up to top).
Value* Execute(VMState* L);

// Hook dispatch.
void CallHook(VMState* L, HookEventKind kind, int line);

// The command-error path after a native function returned error code r through OP_CALL.
void CommandError(VMState* L, ErrorCode r);

// A native return value that is an error code.
inline bool IsErrorResult(int r) { return r > kMaxNativeResults || r < kLabelJumpRepeat; }

}  // namespace tembrovia
