#include "vm/function.h"

#include "vm/memory.h"

namespace tembrovia {

Proto* NewProto(VMState* L) {
  Proto* p = NewObject<Proto>(L, sizeof(Proto), TagProto);
  return p;
}

size_t ProtoBytes(const Proto* p) {
  return sizeof(Proto) + sizeof(Instruction) * p->sizecode + sizeof(int32_t) * p->sizelineinfo +
         sizeof(LocalVariable) * p->sizelocvars + sizeof(InternedString*) * p->sizeupvalues +
         sizeof(Value) * p->sizek + sizeof(Proto*) * p->sizep;
}

void FreeProto(VMState* L, Proto* p) {
  FreeArray(L, p->code, p->sizecode);
  FreeArray(L, p->lineinfo, p->sizelineinfo);
  FreeArray(L, p->locvars, p->sizelocvars);
  FreeArray(L, p->upvalues, p->sizeupvalues);
  FreeArray(L, p->k, p->sizek);
  FreeArray(L, p->p, p->sizep);
  FreeBlock(L, p, sizeof(Proto));
}

Closure* NewScriptClosure(VMState* L, Proto* p, const Value& env) {
  Closure* c = NewObject<Closure>(L, Closure::ScriptSize(p->nups), TagFunction);
  c->isNative = 0;
  c->nupvalues = p->nups;
  c->env = env;
  c->script.proto = p;
  for (int i = 0; i < p->nups; ++i) c->scriptUpvalues()[i] = nullptr;
  return c;
}

Closure* NewNativeClosure(VMState* L, NativeFunction f, int nupvalues) {
  Closure* c = NewObject<Closure>(L, Closure::NativeSize(nupvalues), TagFunction);
  c->isNative = 1;
  c->nupvalues = static_cast<uint8_t>(nupvalues);
  c->env = L->globals;
  c->native.f = f;
  for (int i = 0; i < nupvalues; ++i) SetNil(&c->nativeUpvalues()[i]);
  return c;
}

void FreeClosure(VMState* L, Closure* c) { FreeBlock(L, c, ClosureBytes(c)); }

UpvalueCell* FindUpvalue(VMState* L, Value* slot) {
  UpvalueCell** link = &L->openUpvalues;
  while (*link != nullptr && (*link)->v >= slot) {
    if ((*link)->v == slot) return *link;
    link = &(*link)->nextOpen;
  }
  UpvalueCell* cell = NewObject<UpvalueCell>(L, sizeof(UpvalueCell), TagUpvalue);
  cell->v = slot;
  SetNil(&cell->value);
  cell->nextOpen = *link;
  *link = cell;
  return cell;
}

void CloseUpvalues(VMState* L, Value* level) {
  while (L->openUpvalues != nullptr && L->openUpvalues->v >= level) {
    UpvalueCell* cell = L->openUpvalues;
    cell->value = *cell->v;
    cell->v = &cell->value;
    L->openUpvalues = cell->nextOpen;
    cell->nextOpen = nullptr;
  }
}

}  // namespace tembrovia
