// Creating and closing a state.
#include <memory>

#include "vm/api.h"
#include "vm/call.h"
#include "vm/errors.h"
#include "vm/function.h"
#include "vm/gc.h"
#include "vm/memory.h"
#include "vm/string_table.h"
#include "vm/table.h"

namespace tembrovia {
namespace {

constexpr int kInitialStringTableSize = 32;
constexpr int kFirstFrameSlots = 20;

InternedString* FixedString(VMState* L, const char* text) {
  InternedString* s = InternString(L, text);
  s->marked |= kFixedBit;
  return s;
}

void Build(VMState* L) {
  GlobalState* g = G(L);
  g->strings = AllocateArray<InternedString*>(L, kInitialStringTableSize);
  for (int i = 0; i < kInitialStringTableSize; ++i) g->strings[i] = nullptr;
  g->stringTableSize = kInitialStringTableSize;

  const int stackSize = kBasicStackSize + kStackReserve;
  L->stack = AllocateArray<Value>(L, stackSize);
  for (int i = 0; i < stackSize; ++i) SetNil(&L->stack[i]);
  L->stackSize = stackSize;
  L->stackLast = L->stack + stackSize - 1 - kStackReserve;
  L->baseCi = AllocateArray<CallFrame>(L, kBasicFrames);
  L->sizeCi = kBasicFrames;
  L->endCi = L->baseCi + kBasicFrames;
  L->ci = L->baseCi;
  L->top = L->stack + 1;  // stack[0] stands for the host's (absent) function
  L->base = L->top;
  *L->ci = CallFrame{L->base, L->base + kFirstFrameSlots, kFrameNative, 0, nullptr, -1, 0};

  Table* metatable = NewTable(L, 0, 0);
  metatable->metatable = metatable;
  g->defaultMetatable = metatable;
  SetTableValue(&L->globals, NewTable(L, 0, 4));
  SetTableValue(&g->registry, NewTable(L, 4, 4));
  for (int e = 0; e < kMetaEventCount; ++e) g->eventNames[e] = FixedString(L, kMetaEventNames[e]);
  g->memoryMessage = FixedString(L, "not enough memory");
  g->nextName = FixedString(L, "next");
  g->argCountName = FixedString(L, "n");
}

}  // namespace

VMState* NewState() {
  auto state = std::make_unique<VMState>();
  auto global = std::make_unique<GlobalState>();
  VMState* L = state.get();
  GlobalState* g = global.get();
  L->tag = TagThread;
  L->g = g;
  L->allowHook = 1;
  L->protectedDepth = 1;
  SetNil(&L->globals);
  SetNil(&g->registry);
  g->mainthread = L;
  g->bytesInUse = sizeof(VMState) + sizeof(GlobalState);
  try {
    Build(L);
  } catch (const VMError&) {
    L->protectedDepth = 0;
    FreeAllObjects(L);
    FreeArray(L, L->stack, static_cast<size_t>(L->stackSize));
    FreeArray(L, L->baseCi, static_cast<size_t>(L->sizeCi));
    FreeArray(L, g->strings, g->stringTableSize);
    return nullptr;
  }
  L->protectedDepth = 0;
  g->threshold = 4 * g->bytesInUse;
  state.release();
  global.release();
  return L;
}

void CloseState(VMState* L) {
  if (L == nullptr) return;
  GlobalState* g = G(L);
  std::unique_ptr<VMState> state(L);
  std::unique_ptr<GlobalState> global(g);
  L->protectedDepth++;
  L->ci = L->baseCi;
  L->base = L->ci->base;
  CloseUpvalues(L, L->stack);
  SetHook(L, nullptr, 0, 0);
  for (int round = 0; round < 2; ++round) {
    try {
      FinaliseAll(L);
      break;
    } catch (const VMError&) {
      L->ci = L->baseCi;
      L->base = L->ci->base;
      L->nativeDepth = 0;
      L->allowHook = 1;
    }
  }
  FreeAllObjects(L);
  FreeArray(L, L->stack, static_cast<size_t>(L->stackSize));
  FreeArray(L, L->baseCi, static_cast<size_t>(L->sizeCi));
  FreeArray(L, g->strings, g->stringTableSize);
  FreeArray(L, g->buffer, g->bufferSize);
}

}  // namespace tembrovia
