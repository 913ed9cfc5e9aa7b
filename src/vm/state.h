// The interpreter state (VMState), its call frames, and the GlobalState it shares with the
// collector: string table, byte accounting, registry, and the runtime's own words (stop flag,
// subroutine return stack, last error, error context).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vm/object.h"

namespace tembrovia {

// Frame kinds (bit flags).
constexpr uint32_t kFrameNative = 1;
constexpr uint32_t kFrameScript = 2;
constexpr uint32_t kFrameReentry = 4;  // entered by a script call inside the interpreter loop
constexpr uint32_t kFrameSavedPc = 8;

struct CallFrame {
  Value* base;
  Value* top;
  uint32_t kind;
  int32_t tailcalls;
  const Instruction* savedpc;
  int32_t lastTraced;  // line hook: index of the previously traced instruction
  int32_t nresults;    // results the caller wants (-1: all)
};

constexpr int kMetaEventCount = 23;
enum MetaEvent : int {
  EventIndex = 0, EventNewIndex, EventGc, EventMode, EventEq, EventAdd, EventSub, EventMul,
  EventDiv, EventDivInt, EventMod, EventLsh, EventRsh, EventOr, EventAnd, EventXor, EventPow,
  EventUnm, EventNot, EventLt, EventLe, EventConcat, EventCall,
};
extern const char* const kMetaEventNames[kMetaEventCount];

constexpr int kMaxRegisters = 250;       // also the first constant index of RK operands
constexpr int kMaxFrames = 4096;
constexpr int kMaxNativeDepth = 200;
constexpr int kNativeDepthHardLimit = 224;
constexpr int kMaxNativeStack = 2048;    // CheckStack limit per frame
constexpr int kNativeMinStack = 20;      // free slots a native function starts with
constexpr int kStackReserve = 5;
constexpr int kBasicStackSize = 40;
constexpr int kBasicFrames = 8;
constexpr int kSubroutineStackSize = 4096;
constexpr int kFirstRef = 3;

struct GlobalState {
  // String table.
  InternedString** strings = nullptr;
  uint32_t stringTableSize = 0;
  uint32_t stringCount = 0;

  // Byte accounting (Allocate) and the collection threshold.
  size_t bytesInUse = 0;
  size_t threshold = 0;
  size_t memoryLimit = 0;

  Value registry{};
  Table* defaultMetatable = nullptr;
  InternedString* eventNames[kMetaEventCount] = {};
  InternedString* memoryMessage = nullptr;
  InternedString* nextName = nullptr;     // "next", read by OP_ITERPREP
  InternedString* argCountName = nullptr; // "n" of the vararg table
  TableNode dummyNode{};

  // Collector lists.
  Collectable* rootgc = nullptr;
  Collectable* rootudata = nullptr;
  Collectable* tmudata = nullptr;
  VMState* mainthread = nullptr;

  // Scratch buffer for concatenation and loading.
  char* buffer = nullptr;
  size_t bufferSize = 0;

  // The runtime's words.
  bool stopFlag = false;
  std::vector<uint32_t> subroutineStack;
  int32_t callPosition = 0;
  int32_t labelJumpOffset = 0;
  ErrorCode lastError = ERR_NONE;
  bool exitOnError = true;
  int callbackDepth = 0;
  int errorHandlerRef = kNoRef;
  bool errorHandlerRunning = false;
  bool callTrace = false;
  NativeFunction lastErrorReader = nullptr;
  VMHost* host = nullptr;
  ErrorContext errorContext;
  int errorLine = -1;
  int freeRefHint = 0;
};


struct VMState : Collectable {
  Value* top;
  Value* base;
  GlobalState* g;
  CallFrame* ci;
  Value* stackLast;  // stack + stackSize - 1 - kStackReserve
  Value* stack;
  int32_t stackSize;
  CallFrame* baseCi;
  CallFrame* endCi;
  int32_t sizeCi;
  uint16_t nativeDepth;
  uint8_t hookMask;
  uint8_t allowHook;
  uint8_t hookInit;
  uint8_t trap;  // non-zero when the loop must look at the stop flag or the hooks
  int32_t baseHookCount;
  int32_t hookCount;
  HookFunction hook;
  Value globals;
  UpvalueCell* openUpvalues;
  Collectable* gclist;
  int32_t protectedDepth;  // ProtectedCall and LoadChunk levels that catch errors
};

inline GlobalState* G(VMState* L) { return L->g; }
inline VMHost& Host(VMState* L) { return L->g->host ? *L->g->host : VMHost::Default(); }

// The trap byte: what the loop must look at before an instruction.
constexpr uint8_t kTrapStop = 1;
constexpr uint8_t kTrapLineHook = 2;   // the line hook alone, tracing initialised
constexpr uint8_t kTrapOtherHooks = 4; // count hooks, or the line hook's first check

// Recomputes the trap byte after the stop flag, the hook mask or the tracing state changed.
inline void UpdateTrap(VMState* L) {
  uint8_t trap = L->g->stopFlag ? kTrapStop : 0;
  if (L->hookMask == HookMaskLine && L->hookInit) {
    trap |= kTrapLineHook;
  } else if (L->hookMask & (HookMaskLine | HookMaskCount)) {
    trap |= kTrapOtherHooks;
  }
  L->trap = trap;
}

inline Closure* FrameClosure(const CallFrame* ci) { return AsClosure(ci->base[-1]); }
inline bool IsScriptFrame(const CallFrame* ci) { return (ci->kind & kFrameScript) != 0; }

}  // namespace tembrovia
