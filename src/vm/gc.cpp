#include "vm/gc.h"

#include <vector>

#include "vm/call.h"
#include "vm/function.h"
#include "vm/memory.h"
#include "vm/metatable.h"
#include "vm/string_table.h"
#include "vm/table.h"

namespace tembrovia {
namespace {

constexpr uint8_t kTableMarkBits = kMarkBit | kWeakKeysBit | kWeakValuesBit;

class Marker {
 public:
  explicit Marker(VMState* L) : L_(L), g_(G(L)) {}

  void MarkValue(const Value& v) {
    if (IsCollectableTag(v.tag)) MarkObject(v.gc);
  }

  void MarkObject(Collectable* o) {
    if (o == nullptr || (o->marked & (kMarkBit | kFixedBit))) return;
    o->marked |= kMarkBit;
    switch (o->tag) {
      case TagString:
        break;
      case TagUserdata: {
        Table* mt = static_cast<Userdata*>(o)->metatable;
        if (mt) MarkObject(mt);
        break;
      }
      case TagUpvalue:
        MarkValue(*static_cast<UpvalueCell*>(o)->v);
        break;
      default:
        gray_.push_back(o);
        break;
    }
  }

  void Propagate() {
    while (!gray_.empty()) {
      Collectable* o = gray_.back();
      gray_.pop_back();
      switch (o->tag) {
        case TagTable: TraverseTable(static_cast<Table*>(o)); break;
        case TagFunction: TraverseClosure(static_cast<Closure*>(o)); break;
        case TagThread: TraverseThread(static_cast<VMState*>(o)); break;
        case TagProto: TraverseProto(static_cast<Proto*>(o)); break;
        default: break;
      }
    }
  }

  const std::vector<Table*>& weakTables() const { return weak_; }

 private:
  void TraverseTable(Table* t) {
    bool weakKeys = false, weakValues = false;
    Table* mt = t->metatable;
    MarkObject(mt);
    if (mt != nullptr && mt != g_->defaultMetatable) {
      const Value* mode = MetaEventOf(L_, mt, EventMode);
      if (mode != nullptr && mode->tag == TagString) {
        std::string_view text = View(AsString(*mode));
        weakKeys = text.find('k') != std::string_view::npos;
        weakValues = text.find('v') != std::string_view::npos;
      }
    }
    if (weakKeys || weakValues) {
      t->marked = static_cast<uint8_t>((t->marked & ~(kWeakKeysBit | kWeakValuesBit)) |
                                       (weakKeys ? kWeakKeysBit : 0) | (weakValues ? kWeakValuesBit : 0));
      weak_.push_back(t);
    }
    for (uint32_t i = 0; i < t->sizearray; ++i) {
      const Value& v = t->array[i];
      if (!weakValues || v.tag == TagString) MarkValue(v);
    }
    if (HasDummyNode(t)) return;
    for (uint32_t i = 0; i < NodeCount(t); ++i) {
      TableNode& n = t->node[i];
      if (n.value.tag == TagNil) continue;
      if (!weakKeys || n.key.tag == TagString) MarkValue(n.key);
      if (!weakValues || n.value.tag == TagString) MarkValue(n.value);
    }
  }

  void TraverseClosure(Closure* c) {
    if (c->isNative) {
      for (int i = 0; i < c->nupvalues; ++i) MarkValue(c->nativeUpvalues()[i]);
      MarkValue(c->env);
      return;
    }
    MarkObject(c->script.proto);
    MarkValue(c->env);
    for (int i = 0; i < c->nupvalues; ++i) MarkObject(c->scriptUpvalues()[i]);
  }

  void TraverseThread(VMState* L) {
    MarkValue(L->globals);
    for (Value* v = L->stack; v < L->top; ++v) MarkValue(*v);
    Value* highest = L->top;
    for (CallFrame* ci = L->baseCi; ci <= L->ci; ++ci) {
      if (ci->top > highest) highest = ci->top;
    }
    for (Value* v = L->top; v < highest && v < L->stack + L->stackSize; ++v) SetNil(v);
    int framesInUse = static_cast<int>(L->ci - L->baseCi) + 1;
    if (L->sizeCi > 16 && framesInUse < L->sizeCi / 4) ReallocFrames(L, L->sizeCi / 2);
    int slotsInUse = static_cast<int>(highest - L->stack);
    if (L->stackSize > 90 && slotsInUse < L->stackSize / 4) ReallocStack(L, L->stackSize / 2);
  }

  void TraverseProto(Proto* p) {
    MarkObject(p->source);
    for (uint32_t i = 0; i < p->sizek; ++i) {
      if (p->k[i].tag == TagString) MarkValue(p->k[i]);
    }
    for (uint32_t i = 0; i < p->sizeupvalues; ++i) MarkObject(p->upvalues[i]);
    for (uint32_t i = 0; i < p->sizelocvars; ++i) MarkObject(p->locvars[i].name);
    for (uint32_t i = 0; i < p->sizep; ++i) MarkObject(p->p[i]);
  }

  VMState* L_;
  GlobalState* g_;
  std::vector<Collectable*> gray_;
  std::vector<Table*> weak_;
};

bool IsAlive(const Collectable* o) { return (o->marked & (kMarkBit | kFixedBit)) != 0; }

bool IsDeadValue(const Value& v) {
  return IsCollectableTag(v.tag) && v.tag != TagString && !IsAlive(v.gc);
}

void ClearWeakTables(const std::vector<Table*>& tables) {
  for (Table* t : tables) {
    bool weakKeys = t->marked & kWeakKeysBit;
    bool weakValues = t->marked & kWeakValuesBit;
    if (weakValues) {
      for (uint32_t i = 0; i < t->sizearray; ++i) {
        if (IsDeadValue(t->array[i])) SetNil(&t->array[i]);
      }
    }
    if (HasDummyNode(t)) continue;
    for (uint32_t i = 0; i < NodeCount(t); ++i) {
      TableNode& n = t->node[i];
      if (n.value.tag == TagNil) continue;
      if ((weakKeys && IsDeadValue(n.key)) || (weakValues && IsDeadValue(n.value))) {
        SetNil(&n.value);
        if (IsCollectableTag(n.key.tag)) n.key.tag = TagDeadKey;
      }
    }
  }
}

void FreeObject(VMState* L, Collectable* o) {
  switch (o->tag) {
    case TagTable: FreeTable(L, static_cast<Table*>(o)); break;
    case TagFunction: FreeClosure(L, static_cast<Closure*>(o)); break;
    case TagProto: FreeProto(L, static_cast<Proto*>(o)); break;
    case TagUpvalue: FreeBlock(L, o, sizeof(UpvalueCell)); break;
    case TagUserdata: FreeBlock(L, o, UserdataBytes(static_cast<Userdata*>(o))); break;
    case TagString: FreeBlock(L, o, StringBytes(static_cast<InternedString*>(o)->length)); break;
    default: break;
  }
}

void SweepList(VMState* L, Collectable** link, bool all) {
  while (Collectable* o = *link) {
    if (!all && IsAlive(o)) {
      o->marked &= static_cast<uint8_t>(o->tag == TagTable ? ~kTableMarkBits : ~kMarkBit);
      link = &o->next;
    } else {
      *link = o->next;
      FreeObject(L, o);
    }
  }
}

void SweepStrings(VMState* L, bool all) {
  GlobalState* g = G(L);
  for (uint32_t i = 0; i < g->stringTableSize; ++i) {
    Collectable** link = reinterpret_cast<Collectable**>(&g->strings[i]);
    while (Collectable* o = *link) {
      if (!all && IsAlive(o)) {
        o->marked &= static_cast<uint8_t>(~kMarkBit);
        link = &o->next;
      } else {
        *link = o->next;
        g->stringCount--;
        FreeObject(L, o);
      }
    }
  }
}

// Moves the unmarked, unfinalised userdata with a __gc handler to the finalisation list;
// returns their size.
size_t SeparateFinalisable(VMState* L, bool all) {
  GlobalState* g = G(L);
  size_t dead = 0;
  Collectable** link = &g->rootudata;
  Collectable** tail = &g->tmudata;
  while (*tail) tail = &(*tail)->next;
  while (Collectable* o = *link) {
    Userdata* u = static_cast<Userdata*>(o);
    bool candidate = (all || !IsAlive(o)) && (o->marked & kUnfinalisedBit);
    Table* mt = u->metatable == g->defaultMetatable ? nullptr : u->metatable;
    if (candidate && mt != nullptr && MetaEventOf(L, mt, EventGc) != nullptr) {
      dead += u->length + 16;
      *link = o->next;
      o->next = nullptr;
      *tail = o;
      tail = &o->next;
    } else {
      link = &o->next;
    }
  }
  return dead;
}

void CallFinalisers(VMState* L) {
  GlobalState* g = G(L);
  while (Collectable* o = g->tmudata) {
    g->tmudata = o->next;
    o->next = g->rootudata;
    g->rootudata = o;
    o->marked &= static_cast<uint8_t>(~(kMarkBit | kUnfinalisedBit));
    Userdata* u = static_cast<Userdata*>(o);
    Table* mt = u->metatable == g->defaultMetatable ? nullptr : u->metatable;
    const Value* handler = mt ? MetaEventOf(L, mt, EventGc) : nullptr;
    if (handler == nullptr || handler->tag != TagFunction) continue;
    uint8_t allowHook = L->allowHook;
    L->allowHook = 0;
    CheckStackRoom(L, 3);
    Value* func = L->top;
    func[0] = *handler;
    func[1].tag = TagUserdata;
    func[1].gc = u;
    L->top = func + 2;
    CallValue(L, func, 0);
    L->allowHook = allowHook;
  }
}

void MarkRoots(Marker& marker, VMState* L) {
  GlobalState* g = G(L);
  marker.MarkObject(g->defaultMetatable);
  marker.MarkValue(g->registry);
  VMState* main = g->mainthread;
  main->marked &= static_cast<uint8_t>(~kMarkBit);
  marker.MarkObject(main);
  // Userdata waiting for their finalisers from an earlier pass stay alive.
  for (Collectable* o = g->tmudata; o; o = o->next) {
    o->marked &= static_cast<uint8_t>(~kMarkBit);
    marker.MarkObject(o);
  }
}

}  // namespace

void CollectGarbage(VMState* L) {
  GlobalState* g = G(L);
  Marker marker(L);
  MarkRoots(marker, L);
  marker.Propagate();
  size_t dead = SeparateFinalisable(L, false);
  for (Collectable* o = g->tmudata; o; o = o->next) marker.MarkObject(o);
  marker.Propagate();
  ClearWeakTables(marker.weakTables());
  SweepList(L, &g->rootgc, false);
  SweepStrings(L, false);
  SweepList(L, &g->rootudata, false);
  for (Collectable* o = g->tmudata; o; o = o->next) o->marked &= static_cast<uint8_t>(~kMarkBit);
  g->mainthread->marked &= static_cast<uint8_t>(~kMarkBit);
  if (g->stringCount < g->stringTableSize / 4 && g->stringTableSize > 64) {
    ResizeStringTable(L, g->stringTableSize / 2);
  }
  if (g->bufferSize > 64) {
    size_t half = g->bufferSize / 2;
    g->buffer = ResizeArray(L, g->buffer, g->bufferSize, half);
    g->bufferSize = half;
  }
  size_t twice = 2 * g->bytesInUse;
  g->threshold = twice > dead ? twice - dead : g->bytesInUse;
  CallFinalisers(L);
}

void FinaliseAll(VMState* L) {
  for (int rounds = 0; rounds < 100; ++rounds) {
    SeparateFinalisable(L, true);
    if (G(L)->tmudata == nullptr) return;
    CallFinalisers(L);
  }
}

void FreeAllObjects(VMState* L) {
  GlobalState* g = G(L);
  SweepList(L, &g->rootgc, true);
  SweepList(L, &g->rootudata, true);
  SweepList(L, &g->tmudata, true);
  SweepStrings(L, true);
}

}  // namespace tembrovia
