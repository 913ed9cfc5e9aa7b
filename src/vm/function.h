// Prototypes, closures and upvalue cells.
#pragma once

#include "vm/state.h"

namespace tembrovia {

Proto* NewProto(VMState* L);
void FreeProto(VMState* L, Proto* p);
size_t ProtoBytes(const Proto* p);

Closure* NewScriptClosure(VMState* L, Proto* p, const Value& env);
Closure* NewNativeClosure(VMState* L, NativeFunction f, int nupvalues);
void FreeClosure(VMState* L, Closure* c);
inline size_t ClosureBytes(const Closure* c) {
  return c->isNative ? Closure::NativeSize(c->nupvalues) : Closure::ScriptSize(c->nupvalues);
}

// The open cell for a stack slot, created when absent.
UpvalueCell* FindUpvalue(VMState* L, Value* slot);
// Closes every open cell at or above level.
void CloseUpvalues(VMState* L, Value* level);

// The source line of instruction pc, 0 without line information.
inline int LineOf(const Proto* p, int pc) {
  return p->sizelineinfo == 0 ? 0 : p->lineinfo[pc];
}

}  // namespace tembrovia
