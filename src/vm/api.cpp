// The embedding interface over the VM's internals.
#include "vm/api.h"

#include <algorithm>
#include <cstring>

#include "vm/call.h"
#include "vm/chunk.h"
#include "vm/conversion.h"
#include "vm/errors.h"
#include "vm/function.h"
#include "vm/gc.h"
#include "vm/memory.h"
#include "vm/metatable.h"
#include "vm/operations.h"
#include "vm/string_table.h"
#include "vm/table.h"

namespace tembrovia {
namespace {

constexpr int kMaxThresholdKb = 4194304;

// The slot an index names, or null for "none".
Value* Slot(VMState* L, int index) {
  if (index > 0) {
    Value* v = L->base + (index - 1);
    return v < L->top ? v : nullptr;
  }
  if (index > kRegistryIndex) {
    Value* v = L->top + index;
    return v >= L->base ? v : nullptr;
  }
  if (index == kRegistryIndex) return &G(L)->registry;
  if (index == kGlobalsIndex) return &L->globals;
  int n = kGlobalsIndex - index;
  if (L->ci == L->baseCi) return nullptr;
  Closure* cl = FrameClosure(L->ci);
  if (!cl->isNative || n > cl->nupvalues) return nullptr;
  return &cl->nativeUpvalues()[n - 1];
}

const Value& Get(VMState* L, int index) {
  const Value* v = Slot(L, index);
  return v ? *v : kNilObject;
}

Value* PushSlot(VMState* L) {
  if (L->top >= L->stackLast) GrowStack(L, 1);
  Value* v = L->top++;
  if (L->ci->top < L->top) L->ci->top = L->top;
  return v;
}

void Push(VMState* L, const Value& v) {
  Value copy = v;
  *PushSlot(L) = copy;
}

Table* TableAt(VMState* L, int index) {
  const Value& v = Get(L, index);
  return v.tag == TagTable ? AsTable(v) : nullptr;
}

// t[1] heads the list of released references, t[2] counts the references handed out.
constexpr int kFreeListKey = 1;
constexpr int kRefCountKey = 2;

int IntAt(const Table* t, int key) {
  const Value* v = TableGetInt(t, key);
  return v->tag == TagNumber ? static_cast<int>(v->n) : 0;
}

void SetRegistryField(VMState* L, const char* name, const Value& value) {
  Value v = value;
  Table* registry = AsTable(G(L)->registry);
  *TableSetStr(L, registry, InternString(L, name)) = v;
}

const Value& GetRegistryField(VMState* L, const char* name) {
  Table* registry = AsTable(G(L)->registry);
  return *TableGetStr(registry, InternString(L, name));
}

}  // namespace

void SetHost(VMState* L, VMHost* host) { G(L)->host = host; }
VMHost* GetHost(VMState* L) { return &Host(L); }

// ---- stack ----
int GetTop(VMState* L) { return static_cast<int>(L->top - L->base); }

void SetTop(VMState* L, int index) {
  if (index >= 0) {
    Value* target = L->base + index;
    if (target > L->stackLast) {
      ptrdiff_t offset = target - L->stack;
      GrowStack(L, static_cast<int>(target - L->top));
      target = L->stack + offset;
    }
    while (L->top < target) SetNil(L->top++);
    L->top = target;
    if (L->ci->top < L->top) L->ci->top = L->top;
  } else {
    Value* target = L->top + index + 1;
    L->top = target < L->base ? L->base : target;
  }
}

void PushValue(VMState* L, int index) { Push(L, Get(L, index)); }

void Remove(VMState* L, int index) {
  Value* p = Slot(L, index);
  if (p == nullptr || p >= L->top) return;
  for (; p + 1 < L->top; ++p) p[0] = p[1];
  L->top--;
}

void Insert(VMState* L, int index) {
  Value* p = Slot(L, index);
  if (p == nullptr || p >= L->top) return;
  Value top = L->top[-1];
  for (Value* q = L->top - 1; q > p; --q) q[0] = q[-1];
  *p = top;
}

void Replace(VMState* L, int index) {
  if (L->top <= L->base) return;
  Value top = L->top[-1];
  Value* p = Slot(L, index);
  if (p != nullptr) *p = top;
  L->top--;
}

bool CheckStack(VMState* L, int n) {
  if (n < 0 || (L->top - L->base) + n > kMaxNativeStack) return false;
  CheckStackRoom(L, n);
  if (L->ci->top < L->top + n) L->ci->top = L->top + n;
  return true;
}

// ---- queries ----
int Type(VMState* L, int index) {
  const Value* v = Slot(L, index);
  return v ? v->tag : TagNone;
}

const char* TypeName(int tag) {
  static const char* const kNames[] = {"nil",    "boolean",  "userdata", "number",  "string",
                                       "table",  "function", "userdata", "thread"};
  return tag >= 0 && tag <= TagThread ? kNames[tag] : "no value";
}

bool IsNumber(VMState* L, int index) {
  const Value* v = Slot(L, index);
  double d;
  return v != nullptr && ValueToNumber(*v, &d);
}

bool IsString(VMState* L, int index) {
  int t = Type(L, index);
  return t == TagString || t == TagNumber;
}

bool IsNativeFunction(VMState* L, int index) {
  const Value& v = Get(L, index);
  return v.tag == TagFunction && AsClosure(v)->isNative;
}

bool IsUserdata(VMState* L, int index) {
  int t = Type(L, index);
  return t == TagUserdata || t == TagLightUserdata;
}

bool RawEqual(VMState* L, int index1, int index2) {
  const Value* a = Slot(L, index1);
  const Value* b = Slot(L, index2);
  return a && b && RawEquals(*a, *b);
}

bool Equal(VMState* L, int index1, int index2) {
  const Value* a = Slot(L, index1);
  const Value* b = Slot(L, index2);
  if (a == nullptr || b == nullptr || a->tag != b->tag) return false;
  return EqualValues(L, *a, *b);
}

bool LessThan(VMState* L, int index1, int index2) {
  const Value* a = Slot(L, index1);
  const Value* b = Slot(L, index2);
  if (a == nullptr || b == nullptr) return false;
  return LessThanValues(L, *a, *b);
}

// ---- conversions ----
double ToNumber(VMState* L, int index) {
  double d;
  const Value* v = Slot(L, index);
  return v && ValueToNumber(*v, &d) ? d : 0;
}

bool ToBoolean(VMState* L, int index) {
  const Value& v = Get(L, index);
  return !(v.tag == TagNil || (v.tag == TagBoolean && v.b == 0));
}

const char* ToLString(VMState* L, int index, size_t* length) {
  Value* v = Slot(L, index);
  if (v == nullptr || (v->tag != TagString && v->tag != TagNumber && v->tag != TagNil)) {
    if (length) *length = 0;
    return nullptr;
  }
  if (v->tag != TagString) {
    ptrdiff_t offset = v - L->stack;
    bool onStack = v >= L->stack && v < L->stack + L->stackSize;
    CheckGC(L);
    if (onStack) v = L->stack + offset;
    ToStringInPlace(L, v);
  }
  if (length) *length = AsString(*v)->length;
  return AsString(*v)->data();
}

const char* ToString(VMState* L, int index) { return ToLString(L, index, nullptr); }

size_t StrLen(VMState* L, int index) {
  size_t length = 0;
  ToLString(L, index, &length);
  return length;
}

void* ToUserdata(VMState* L, int index) {
  const Value& v = Get(L, index);
  if (v.tag == TagUserdata) return AsUserdata(v)->payload();
  if (v.tag == TagLightUserdata) return v.p;
  return nullptr;
}

const void* ToPointer(VMState* L, int index) {
  const Value& v = Get(L, index);
  switch (v.tag) {
    case TagTable:
    case TagFunction:
    case TagThread:
    case TagUserdata:
      return v.gc;
    case TagLightUserdata:
      return v.p;
    default:
      return nullptr;
  }
}

VMState* ToThread(VMState* L, int index) {
  const Value& v = Get(L, index);
  return v.tag == TagThread ? static_cast<VMState*>(v.gc) : nullptr;
}

NativeFunction ToNativeFunction(VMState* L, int index) {
  const Value& v = Get(L, index);
  return v.tag == TagFunction && AsClosure(v)->isNative ? AsClosure(v)->native.f : nullptr;
}

// ---- pushing ----
void PushNil(VMState* L) { SetNil(PushSlot(L)); }
void PushNumber(VMState* L, double value) { SetNumber(PushSlot(L), value); }
void PushBoolean(VMState* L, bool value) { SetBoolean(PushSlot(L), value); }

void PushLString(VMState* L, const char* bytes, size_t length) {
  CheckGC(L);
  InternedString* s = InternString(L, bytes, length);
  SetString(PushSlot(L), s);
}

void PushString(VMState* L, const char* text) {
  if (text == nullptr) {
    PushNil(L);
    return;
  }
  PushLString(L, text, std::strlen(text));
}

void PushLightUserdata(VMState* L, void* pointer) {
  Value* v = PushSlot(L);
  v->tag = TagLightUserdata;
  v->p = pointer;
}

void PushNativeClosure(VMState* L, NativeFunction function, int n) {
  CheckGC(L);
  if (n < 0) n = 0;
  if (n > 255) n = 255;
  if (n > L->top - L->base) n = static_cast<int>(L->top - L->base);
  Closure* c = NewNativeClosure(L, function, n);
  L->top -= n;
  for (int i = 0; i < n; ++i) c->nativeUpvalues()[i] = L->top[i];
  SetClosureValue(PushSlot(L), c);
}

// ---- tables ----
void GetTable(VMState* L, int index) {
  Value* t = Slot(L, index);
  Value object = t ? *t : NilValue();
  Value key = L->top[-1];
  Value result = GetIndexed(L, t, object, key, IndexMode::Plain);
  L->top[-1] = result;
}

void RawGet(VMState* L, int index) {
  Table* t = TableAt(L, index);
  L->top[-1] = t ? *TableGet(t, L->top[-1]) : NilValue();
}

void RawGetI(VMState* L, int index, int n) {
  Table* t = TableAt(L, index);
  Push(L, t ? *TableGetInt(t, n) : NilValue());
}

void SetTable(VMState* L, int index) {
  Value* t = Slot(L, index);
  Value object = t ? *t : NilValue();
  Value key = L->top[-2];
  Value value = L->top[-1];
  SetIndexed(L, t, object, key, value);
  L->top -= 2;
}

void RawSet(VMState* L, int index) {
  Table* t = TableAt(L, index);
  if (t != nullptr) {
    Value key = L->top[-2];
    Value value = L->top[-1];
    *TableSet(L, t, key) = value;
  }
  L->top -= 2;
}

void RawSetI(VMState* L, int index, int n) {
  Table* t = TableAt(L, index);
  if (t != nullptr) {
    Value value = L->top[-1];
    *TableSetInt(L, t, n) = value;
  }
  L->top--;
}

void NewTable(VMState* L) {
  CheckGC(L);
  Table* t = NewTable(L, 0, 0);
  SetTableValue(PushSlot(L), t);
}

int Next(VMState* L, int index) {
  Table* t = TableAt(L, index);
  if (t == nullptr) {
    L->top--;
    return 0;
  }
  CheckStackRoom(L, 1);
  Value* key = L->top - 1;
  if (TableNext(L, t, key)) {
    L->top++;
    if (L->ci->top < L->top) L->ci->top = L->top;
    return 1;
  }
  L->top--;
  return 0;
}

void GetField(VMState* L, int index, const char* name) {
  Value* t = Slot(L, index);
  Value object = t ? *t : NilValue();
  PushString(L, name);
  Value key = L->top[-1];
  Value result = GetIndexed(L, t, object, key, IndexMode::Plain);
  L->top[-1] = result;
}

void SetField(VMState* L, int index, const char* name) {
  Value* t = Slot(L, index);
  Value object = t ? *t : NilValue();
  Value value = L->top[-1];
  Value key;
  SetString(&key, InternString(L, name));
  SetIndexed(L, t, object, key, value);
  L->top--;
}

// ---- metatables and environments ----
int GetMetatable(VMState* L, int index) {
  Table* mt = MetatableOf(L, Get(L, index));
  if (mt == nullptr) return 0;
  Value v;
  SetTableValue(&v, mt);
  Push(L, v);
  return 1;
}

int SetMetatable(VMState* L, int index) {
  Value* object = Slot(L, index);
  Value mtValue = L->top[-1];
  L->top--;
  if (object == nullptr || (mtValue.tag != TagTable && mtValue.tag != TagNil)) return 0;
  Table* mt = mtValue.tag == TagTable ? AsTable(mtValue) : G(L)->defaultMetatable;
  if (object->tag == TagTable) {
    AsTable(*object)->metatable = mt;
  } else if (object->tag == TagUserdata) {
    AsUserdata(*object)->metatable = mt;
  } else {
    return 0;
  }
  return 1;
}

void GetEnvironment(VMState* L, int index) {
  const Value& v = Get(L, index);
  if (v.tag == TagFunction && !AsClosure(v)->isNative) {
    Push(L, AsClosure(v)->env);
  } else {
    Push(L, L->globals);
  }
}

int SetEnvironment(VMState* L, int index) {
  Value* f = Slot(L, index);
  Value env = L->top[-1];
  L->top--;
  if (f == nullptr || f->tag != TagFunction || AsClosure(*f)->isNative || env.tag != TagTable) return 0;
  AsClosure(*f)->env = env;
  return 1;
}

// ---- calls ----
ErrorCode Call(VMState* L, int nargs, int nresults) {
  Value* func = L->top - (nargs + 1);
  int r = CallValue(L, func, nresults);
  CheckGC(L);
  return r;
}

ErrorCode ProtectedCall(VMState* L, int nargs, int nresults) {
  ptrdiff_t func = (L->top - (nargs + 1)) - L->stack;
  ptrdiff_t frame = L->ci - L->baseCi;
  uint16_t nativeDepth = L->nativeDepth;
  uint8_t allowHook = L->allowHook;
  L->protectedDepth++;
  ErrorCode status;
  try {
    status = Call(L, nargs, nresults);
  } catch (const VMError& error) {
    status = error.code;
    CloseUpvalues(L, L->stack + func);
    L->nativeDepth = nativeDepth;
    L->ci = L->baseCi + frame;
    L->base = L->ci->base;
    L->allowHook = allowHook;
    L->top = L->stack + func;
    if (L->sizeCi > kMaxFrames && frame + 1 < kMaxFrames) ReallocFrames(L, kMaxFrames);
  }
  L->protectedDepth--;
  return status;
}

ErrorCode CallbackCall(VMState* L, int nargs, int nresults) {
  GlobalState* g = G(L);
  g->callbackDepth++;
  ErrorCode status = ProtectedCall(L, nargs, nresults);
  g->callbackDepth--;
  return status;
}

// ---- chunks ----
ErrorCode LoadChunk(VMState* L, ChunkReader reader, void* readerData, const char* name) {
  CheckGC(L);
  ptrdiff_t top = L->top - L->stack;
  L->protectedDepth++;
  ErrorCode status = ERR_NONE;
  try {
    std::string label = ChunkLabel(name);
    InternedString* source = InternString(L, label);
    Proto* p = UndumpChunk(L, reader, readerData, source);
    Closure* cl = NewScriptClosure(L, p, L->globals);
    // A main function that declares upvalues gets fresh closed cells instead of none.
    for (int i = 0; i < p->nups; ++i) {
      UpvalueCell* cell = NewObject<UpvalueCell>(L, sizeof(UpvalueCell), TagUpvalue);
      SetNil(&cell->value);
      cell->v = &cell->value;
      cell->nextOpen = nullptr;
      cl->scriptUpvalues()[i] = cell;
    }
    SetClosureValue(PushSlot(L), cl);
  } catch (const VMError& error) {
    status = error.code;
    L->top = L->stack + top;
  }
  L->protectedDepth--;
  return status;
}

namespace {
struct BufferSource {
  const char* bytes;
  size_t size;
};
const char* ReadBuffer(VMState*, void* data, size_t* size) {
  BufferSource* source = static_cast<BufferSource*>(data);
  *size = source->size;
  source->size = 0;
  return *size ? source->bytes : nullptr;
}
}  // namespace

ErrorCode LoadBuffer(VMState* L, const void* bytes, size_t size, const char* name) {
  BufferSource source{static_cast<const char*>(bytes), size};
  return LoadChunk(L, ReadBuffer, &source, name);
}

ErrorCode DumpFunction(VMState* L, int index, ChunkWriter writer, void* writerData) {
  const Value& v = Get(L, index);
  if (v.tag != TagFunction || AsClosure(v)->isNative) return ERR_NOVXFUNC;
  int status = DumpProto(L, AsClosure(v)->script.proto, writer, writerData);
  return status == 0 ? ERR_NONE : ERR_WRITE;
}

// ---- collector ----
int GetGCThreshold(VMState* L) { return static_cast<int>(std::min<size_t>(G(L)->threshold >> 10, 0x7FFFFFFF)); }
int GetGCCount(VMState* L) { return static_cast<int>(std::min<size_t>(G(L)->bytesInUse >> 10, 0x7FFFFFFF)); }

void SetGCThreshold(VMState* L, int kilobytes) {
  if (kilobytes < 0) kilobytes = 0;
  // The largest threshold is the largest 32-bit byte count.
  G(L)->threshold = kilobytes >= kMaxThresholdKb ? size_t{0xFFFFFFFFu}
                                                 : static_cast<size_t>(kilobytes) * 1024;
  CheckGC(L);
}

size_t GetBytesInUse(VMState* L) { return G(L)->bytesInUse; }
void SetMemoryLimit(VMState* L, size_t bytes) { G(L)->memoryLimit = bytes; }

// ---- miscellany ----
void Concat(VMState* L, int n) {
  if (n >= 2) {
    CheckGC(L);
    ConcatValues(L, n, L->top - 1);
    L->top -= n - 1;
  } else if (n == 0) {
    PushLString(L, "", 0);
  }
}

void* NewUserdata(VMState* L, size_t size) {
  CheckGC(L);
  if (size > 0xFFFFFFF0u) RaiseError(L, ERR_MEM);
  GlobalState* g = G(L);
  void* block = Allocate(L, nullptr, 0, Userdata::PayloadOffset() + size);
  Userdata* u = new (block) Userdata{};
  u->tag = TagUserdata;
  u->marked = kUnfinalisedBit;
  u->metatable = g->defaultMetatable;
  u->length = static_cast<uint32_t>(size);
  u->next = g->rootudata;
  g->rootudata = u;
  Value* v = PushSlot(L);
  v->tag = TagUserdata;
  v->gc = u;
  return u->payload();
}

int Ref(VMState* L, int tableIndex) {
  Table* t = TableAt(L, tableIndex);
  Value value = L->top[-1];
  L->top--;
  if (t == nullptr || value.tag == TagNil) return kNoRef;
  int ref = IntAt(t, kFreeListKey);
  if (ref >= kFirstRef) {
    *TableSetInt(L, t, kFreeListKey) = NumberValue(IntAt(t, ref));
  } else {
    int count = IntAt(t, kRefCountKey);
    ref = (count < kFirstRef - 1 ? kFirstRef - 1 : count) + 1;
    *TableSetInt(L, t, kRefCountKey) = NumberValue(ref);
  }
  *TableSetInt(L, t, ref) = value;
  return ref;
}

void Unref(VMState* L, int tableIndex, int ref) {
  Table* t = TableAt(L, tableIndex);
  if (t == nullptr || ref < kFirstRef) return;
  *TableSetInt(L, t, ref) = NumberValue(IntAt(t, kFreeListKey));
  *TableSetInt(L, t, kFreeListKey) = NumberValue(ref);
}

void PushRegistryRef(VMState* L, int ref) { RawGetI(L, kRegistryIndex, ref); }

void SetRegistryPointer(VMState* L, const char* name, void* pointer) {
  Value v;
  v.tag = TagLightUserdata;
  v.p = pointer;
  SetRegistryField(L, name, v);
}

void* GetRegistryPointer(VMState* L, const char* name) {
  const Value& v = GetRegistryField(L, name);
  return v.tag == TagLightUserdata ? v.p : nullptr;
}

void SetRegistryString(VMState* L, const char* name, std::string_view text) {
  Value v;
  SetString(&v, InternString(L, text));
  SetRegistryField(L, name, v);
}

std::string GetRegistryString(VMState* L, const char* name) {
  const Value& v = GetRegistryField(L, name);
  return v.tag == TagString ? std::string(View(AsString(v))) : std::string();
}

void SetRegistryNumber(VMState* L, const char* name, double value) {
  SetRegistryField(L, name, NumberValue(value));
}

double GetRegistryNumber(VMState* L, const char* name, double fallback) {
  const Value& v = GetRegistryField(L, name);
  return v.tag == TagNumber ? v.n : fallback;
}

// ---- command framework settings ----
ErrorCode GetLastErrorCode(VMState* L) { return G(L)->lastError; }
void SetLastErrorCode(VMState* L, ErrorCode code) { G(L)->lastError = code; }
void SetLastErrorReader(VMState* L, NativeFunction reader) { G(L)->lastErrorReader = reader; }
void SetExitOnError(VMState* L, bool on) { G(L)->exitOnError = on; }
bool GetExitOnError(VMState* L) { return G(L)->exitOnError; }
int GetCallbackDepth(VMState* L) { return G(L)->callbackDepth; }
void SetCallbackDepth(VMState* L, int depth) { G(L)->callbackDepth = depth; }
void SetErrorHandlerRef(VMState* L, int ref) { G(L)->errorHandlerRef = ref; }
int GetErrorHandlerRef(VMState* L) { return G(L)->errorHandlerRef; }

void SetStopFlag(VMState* L) {
  G(L)->stopFlag = true;
  UpdateTrap(G(L)->mainthread);
  UpdateTrap(L);
}

bool GetStopFlag(VMState* L) { return G(L)->stopFlag; }
void SetCallTrace(VMState* L, bool on) { G(L)->callTrace = on; }
bool GetCallTrace(VMState* L) { return G(L)->callTrace; }
int GetCallPosition(VMState* L) { return G(L)->callPosition; }
void SetLabelJump(VMState* L, int offset) { G(L)->labelJumpOffset = offset; }
int GetSubroutineDepth(VMState* L) { return static_cast<int>(G(L)->subroutineStack.size()); }

}  // namespace tembrovia
