// The script loop: one dispatch per instruction through a table of label addresses. Number
// arithmetic, comparisons of numbers and raw table hits are handled inline; everything that
// can call out, allocate or raise goes through Protect, which saves the position first and
// reloads the frame afterwards (the stack and the frame array may have moved).
#include <cmath>

#include "common/numeric_conversion.h"
#include "vm/call.h"
#include "vm/conversion.h"
#include "vm/errors.h"
#include "vm/function.h"
#include "vm/memory.h"
#include "vm/metatable.h"
#include "vm/opcodes.h"
#include "vm/operations.h"
#include "vm/table.h"

namespace tembrovia {
namespace {

#define LIKELY(x) __builtin_expect(!!(x), 1)
#define UNLIKELY(x) __builtin_expect(!!(x), 0)

// Initialises the tracing positions of every active script frame (the first check after a
// line hook was installed only does this).
void InitLineTracing(VMState* L) {
  for (CallFrame* ci = L->baseCi + 1; ci <= L->ci; ++ci) {
    if (!IsScriptFrame(ci)) continue;
    const Proto* p = FrameClosure(ci)->script.proto;
    // The running frame is about to run its saved instruction; the others sit after a call.
    ci->lastTraced = static_cast<int32_t>(ci->savedpc - p->code) - (ci == L->ci ? 0 : 1);
  }
  L->hookInit = 1;
  UpdateTrap(L);
}

// The hook check before the instruction at index pc of the running frame.
void TraceInstruction(VMState* L, int pc) {
  if (L->hookMask & HookMaskCount) {
    if (--L->hookCount <= 0) {
      L->hookCount = L->baseHookCount;
      CallHook(L, HookCount, -1);
      return;
    }
  }
  if (!(L->hookMask & HookMaskLine)) return;
  if (!L->hookInit) {
    InitLineTracing(L);
    return;
  }
  CallFrame* ci = L->ci;
  const Proto* p = FrameClosure(ci)->script.proto;
  int line = LineOf(p, pc);
  int last = ci->lastTraced;
  if (pc == 0 || last < 0 || pc <= last || line != LineOf(p, last)) {
    CallHook(L, HookLine, line);
    ci = L->ci;
  }
  ci->lastTraced = pc;
}

// The line hook, called from the loop's inline check.
__attribute__((always_inline)) inline void FireLineHook(VMState* L, int line) {
  if (!L->allowHook) return;
  CallFrame* ci = L->ci;
  if (L->stackLast - L->top <= kNativeMinStack) {
    CallHook(L, HookLine, line);
    return;
  }
  // The common case of CallHook without the stack growth: the hook gets its 20 slots.
  Value* stack = L->stack;
  ptrdiff_t top = L->top - stack;
  ptrdiff_t frameTop = ci->top - stack;
  if (ci->top < L->top + kNativeMinStack) ci->top = L->top + kNativeMinStack;
  L->allowHook = 0;
  HookEvent event;
  event.kind = HookLine;
  event.currentLine = line;
  event.frameIndex = static_cast<int>(ci - L->baseCi);
  ErrorCode r = L->hook(L, event);
  L->allowHook = 1;
  L->ci->top = L->stack + frameTop;
  L->top = L->stack + top;
  if (r != ERR_NONE) RaiseError(L, r);
}

void PushSubroutineReturn(VMState* L, int64_t position) {
  std::vector<uint32_t>& stack = G(L)->subroutineStack;
  if (stack.size() >= kSubroutineStackSize) RaiseError(L, ERR_INTERNAL);
  stack.push_back(static_cast<uint32_t>(position));
}

uint32_t MakeTableArraySize(VMState* L, int b) {
  int exponent = b >> 3;
  uint64_t size = static_cast<uint64_t>(b & 7) << (exponent > 40 ? 40 : exponent);
  if (size > (1u << kMaxTableBits)) RaiseError(L, ERR_TABLEOVERFLOW);
  return static_cast<uint32_t>(size);
}

}  // namespace

Value* Execute(VMState* L) {
  static void* const kDispatch[64] = {
      &&op_MOVE, &&op_LOADCONST, &&op_LOADFLAG, &&op_CLEARRANGE, &&op_READUPVALUE,
      &&op_READGLOBAL, &&op_READFIELD, &&op_WRITEGLOBAL, &&op_WRITEUPVALUE, &&op_WRITEFIELD,
      &&op_MAKETABLE, &&op_ADD, &&op_SUB, &&op_MUL, &&op_DIV, &&op_INTDIV, &&op_MOD, &&op_SHL,
      &&op_SHR, &&op_BITOR, &&op_BITAND, &&op_BITXOR, &&op_POW, &&op_NEGATE, &&op_LOGICNOT,
      &&op_BITNOT, &&op_JOIN, &&op_JUMP, &&op_IFEQUAL, &&op_IFLESS, &&op_IFLESSEQUAL,
      &&op_TESTCOPY, &&op_CALL, &&op_CALLRETURN, &&op_RETURN, &&op_NUMLOOP, &&op_ITERLOOP,
      &&op_ITERPREP, &&op_STORELIST, &&op_STORELISTTOP, &&op_CLOSEUPVALUES, &&op_MAKECLOSURE,
      &&op_METHOD, &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE,
      &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE,
      &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE, &&op_NONE};

  GlobalState* g = G(L);
  const ptrdiff_t entryFrame = L->ci - L->baseCi;
  CallFrame* ci;
  Closure* cl;
  const Proto* p;
  const Value* k;
  const int32_t* lineinfo;
  Value* base;
  const Instruction* pc;
  Instruction i;
  Value* ra;
  int returnB;  // B of the return in progress (0: results up to the stack top)

  if (L->hookMask & HookMaskCall) CallHook(L, HookCall, -1);

#define RELOAD_BASE() (ci = L->ci, base = ci->base)
#define PROTECT(x) do { ci->savedpc = pc; x; RELOAD_BASE(); } while (0)
#define RA() (base + GetA(i))
#define RB() (base + GetB(i))
#define RKB() (GetB(i) < kRkConstantBase ? base + GetB(i) : k + (GetB(i) - kRkConstantBase))
#define RKC() (GetC(i) < kRkConstantBase ? base + GetC(i) : k + (GetC(i) - kRkConstantBase))
#define DISPATCH()                                 \
  do {                                             \
    if (UNLIKELY(L->trap)) goto trap;              \
    i = *pc++;                                     \
    ra = RA();                                     \
    goto *kDispatch[GetOp(i)];                     \
  } while (0)
#define DO_JUMP(offset) (pc += (offset))

enter_frame:
  ci = L->ci;
  cl = FrameClosure(ci);
  p = cl->script.proto;
  k = p->k;
  lineinfo = p->sizelineinfo != 0 ? p->lineinfo : nullptr;
  base = ci->base;
  pc = ci->savedpc;
  DISPATCH();

trap:
  if (UNLIKELY(L->trap & kTrapStop)) {
    ci->savedpc = pc;
    goto abandon;
  }
  if (LIKELY(L->trap == kTrapLineHook)) {
    // The line hook alone, inline: it fires at the first instruction, on a backward jump
    // and when the line changes.
    int npc = static_cast<int>(pc - p->code);
    int last = ci->lastTraced;
    ci->lastTraced = npc;
    if (npc <= last || last < 0 || (lineinfo != nullptr && lineinfo[npc] != lineinfo[last])) {
      ci->savedpc = pc;
      FireLineHook(L, lineinfo != nullptr ? lineinfo[npc] : 0);
      RELOAD_BASE();
    }
  } else if (L->hookMask & (HookMaskLine | HookMaskCount)) {
    ci->savedpc = pc;
    TraceInstruction(L, static_cast<int>(pc - p->code));
    RELOAD_BASE();
  }
  i = *pc++;
  ra = RA();
  goto *kDispatch[GetOp(i)];

op_MOVE:
  *ra = base[GetB(i)];
  DISPATCH();
op_LOADCONST:
  *ra = k[GetBx(i)];
  DISPATCH();
op_LOADFLAG:
  SetNumber(ra, GetB(i));
  if (GetC(i) != 0) pc++;
  DISPATCH();
op_CLEARRANGE: {
  Value* last = RB();
  for (Value* r = ra; r <= last; ++r) SetNil(r);
  DISPATCH();
}
op_READUPVALUE:
  *ra = *cl->scriptUpvalues()[GetB(i)]->v;
  DISPATCH();
op_READGLOBAL: {
  Table* env = AsTable(cl->env);
  const InternedString* key = AsString(k[GetBx(i)]);
  const Value* v = TableGetStr(env, key);
  if (LIKELY(v->tag != TagNil)) {
    *ra = *v;
  } else if (env->metatable == g->defaultMetatable || LacksCachedEvent(env->metatable, EventIndex)) {
    SetNil(ra);
  } else {
    Value result;
    PROTECT(result = GetIndexed(L, nullptr, cl->env, k[GetBx(i)], IndexMode::Global));
    base[GetA(i)] = result;
  }
  DISPATCH();
}
op_READFIELD: {
  Value* rb = RB();
  const Value* key = RKC();
  if (LIKELY(rb->tag == TagTable)) {
    const Table* t = AsTable(*rb);
    const Value* v = &kNilObject;
    if (key->tag == TagString) {
      v = TableGetStr(t, AsString(*key));
    } else if (key->tag == TagNumber) {
      double d = key->n;
      if (d >= 1 && d <= t->sizearray && static_cast<double>(static_cast<uint32_t>(d)) == d) {
        v = &t->array[static_cast<uint32_t>(d) - 1];
      } else {
        v = TableGet(t, *key);
      }
    } else {
      v = TableGet(t, *key);
    }
    if (LIKELY(v->tag != TagNil)) {
      *ra = *v;
      DISPATCH();
    }
  }
  Value result;
  PROTECT(result = GetIndexed(L, rb, *rb, *key, IndexMode::Field));
  base[GetA(i)] = result;
  DISPATCH();
}
op_WRITEGLOBAL: {
  Table* env = AsTable(cl->env);
  const InternedString* key = AsString(k[GetBx(i)]);
  const Value* v = TableGetStr(env, key);
  if (LIKELY(v->tag != TagNil)) {
    *const_cast<Value*>(v) = *ra;
    env->flags = 0;
  } else {
    PROTECT(SetIndexed(L, nullptr, cl->env, k[GetBx(i)], base[GetA(i)]));
  }
  DISPATCH();
}
op_WRITEUPVALUE:
  *cl->scriptUpvalues()[GetB(i)]->v = *ra;
  DISPATCH();
op_WRITEFIELD: {
  const Value* key = RKB();
  const Value* value = RKC();
  if (LIKELY(ra->tag == TagTable)) {
    Table* t = AsTable(*ra);
    Value* slot = nullptr;
    if (key->tag == TagNumber) {
      double d = key->n;
      if (d >= 1 && d <= t->sizearray && static_cast<double>(static_cast<uint32_t>(d)) == d) {
        slot = &t->array[static_cast<uint32_t>(d) - 1];
      }
    } else if (key->tag == TagString) {
      slot = const_cast<Value*>(TableGetStr(t, AsString(*key)));
      if (slot->tag == TagNil) slot = nullptr;  // absent or empty: the full store rule
    }
    if (slot != nullptr &&
        (slot->tag != TagNil || t->metatable == g->defaultMetatable ||
         LacksCachedEvent(t->metatable, EventNewIndex))) {
      *slot = *value;
      t->flags = 0;
      DISPATCH();
    }
  }
  PROTECT(SetIndexed(L, ra, *ra, *key, *value));
  DISPATCH();
}
op_MAKETABLE: {
  PROTECT({
    Table* t = NewTable(L, MakeTableArraySize(L, GetB(i)), GetC(i));
    SetTableValue(base + GetA(i), t);
    CheckGC(L);
  });
  DISPATCH();
}

#define ARITH_INLINE(event, expr)                                         \
  {                                                                       \
    const Value* rb = RKB();                                              \
    const Value* rc = RKC();                                              \
    if (LIKELY(rb->tag == TagNumber && rc->tag == TagNumber)) {           \
      double nb = rb->n, nc = rc->n;                                      \
      SetNumber(ra, (expr));                                              \
    } else {                                                              \
      Value result;                                                       \
      PROTECT(result = Arithmetic(L, *rb, *rc, event));                   \
      base[GetA(i)] = result;                                             \
    }                                                                     \
    DISPATCH();                                                           \
  }
#define ARITH_CALL(event)                                                 \
  {                                                                       \
    const Value* rb = RKB();                                              \
    const Value* rc = RKC();                                              \
    Value result;                                                         \
    if (rb->tag == TagNumber && rc->tag == TagNumber) {                   \
      PROTECT(SetNumber(&result, ArithmeticOnNumbers(L, rb->n, rc->n, event))); \
    } else {                                                              \
      PROTECT(result = Arithmetic(L, *rb, *rc, event));                   \
    }                                                                     \
    base[GetA(i)] = result;                                               \
    DISPATCH();                                                           \
  }

op_ADD: ARITH_INLINE(EventAdd, nb + nc)
op_SUB: ARITH_INLINE(EventSub, nb - nc)
op_MUL: ARITH_INLINE(EventMul, nb * nc)
op_DIV: {
  const Value* rb = RKB();
  const Value* rc = RKC();
  if (LIKELY(rb->tag == TagNumber && rc->tag == TagNumber && rc->n != 0)) {
    SetNumber(ra, rb->n / rc->n);
    DISPATCH();
  }
  ARITH_CALL(EventDiv)
}
op_INTDIV: ARITH_CALL(EventDivInt)
op_MOD: ARITH_CALL(EventMod)
op_SHL: ARITH_CALL(EventLsh)
op_SHR: ARITH_CALL(EventRsh)
op_BITOR: ARITH_CALL(EventOr)
op_BITAND: ARITH_CALL(EventAnd)
op_BITXOR: ARITH_CALL(EventXor)
op_POW: ARITH_CALL(EventPow)
op_NEGATE: {
  const Value* rb = RB();
  if (LIKELY(rb->tag == TagNumber)) {
    SetNumber(ra, -rb->n);
  } else {
    Value result;
    PROTECT(result = Arithmetic(L, *rb, NilValue(), EventUnm));
    base[GetA(i)] = result;
  }
  DISPATCH();
}
op_LOGICNOT:
  SetNumber(ra, IsFalseForTest(*RB()) ? 1 : 0);
  DISPATCH();
op_BITNOT: {
  const Value* rb = RB();
  Value result;
  PROTECT(result = Arithmetic(L, *rb, NilValue(), EventNot));
  base[GetA(i)] = result;
  DISPATCH();
}
op_JOIN: {
  int b = GetB(i);
  int c = GetC(i);
  PROTECT({
    ConcatValues(L, c - b + 1, base + c);
    base = L->ci->base;
    base[GetA(i)] = base[b];
    CheckGC(L);
  });
  DISPATCH();
}
op_JUMP:
  if (GetG(i) == kSubroutineFlag) PROTECT(PushSubroutineReturn(L, pc - p->code));
  DO_JUMP(GetSJ(i));
  DISPATCH();

#define COMPARE(test)                                           \
  {                                                             \
    const Value* rb = RKB();                                    \
    const Value* rc = RKC();                                    \
    bool result;                                                \
    if (LIKELY(rb->tag == TagNumber && rc->tag == TagNumber)) { \
      double nb = rb->n, nc = rc->n;                            \
      result = (test);                                          \
    } else {                                                    \
      PROTECT(result = SLOW_COMPARE(L, *rb, *rc));              \
    }                                                           \
    if (static_cast<int>(result) != GetA(i)) {                  \
      pc++;                                                     \
    } else {                                                    \
      DO_JUMP(GetSJ(*pc) + 1);                                  \
    }                                                           \
    DISPATCH();                                                 \
  }
op_IFEQUAL:
#define SLOW_COMPARE EqualValues
  COMPARE(nb == nc)
#undef SLOW_COMPARE
op_IFLESS:
#define SLOW_COMPARE LessThanValues
  COMPARE(nb < nc)
#undef SLOW_COMPARE
op_IFLESSEQUAL:
#define SLOW_COMPARE LessEqualValues
  COMPARE(nb <= nc)
#undef SLOW_COMPARE
op_TESTCOPY: {
  const Value* rb = RB();
  bool isFalse = IsFalseForTest(*rb);
  if (isFalse == (GetC(i) != 0)) {
    pc++;
  } else {
    *ra = *rb;
    DO_JUMP(GetSJ(*pc) + 1);
  }
  DISPATCH();
}

op_CALL:
op_CALLRETURN: {
  int b = GetB(i);
  int nresults = GetC(i) - 1;
  bool tail = GetOp(i) == OP_CALLRETURN;
  if (b != 0) {
    L->top = ra + b;
  } else if (L->top < ra + 1) {
    L->top = ra + 1;  // no open results to take: call without arguments
  }
  g->callPosition = static_cast<int32_t>(pc - p->code);
  ci->savedpc = pc;
  int r = PrepareCall(L, ra, tail ? kMultipleResults : nresults);
  if (r == kScriptFrameReady) {
    if (tail) {
      // The callee's frame replaces the caller's.
      CallFrame* callee = L->ci;
      CallFrame* caller = callee - 1;
      if (L->openUpvalues != nullptr) CloseUpvalues(L, caller->base);
      Value* from = callee->base - 1;
      Value* to = caller->base - 1;
      ptrdiff_t count = L->top - from;
      for (ptrdiff_t n = 0; n < count; ++n) to[n] = from[n];
      caller->base = to + 1;
      caller->top = caller->base + (callee->top - callee->base);
      L->top = caller->top;
      caller->savedpc = callee->savedpc;
      caller->tailcalls++;
      caller->kind = kFrameScript | kFrameSavedPc | (caller->kind & kFrameReentry);
      caller->lastTraced = -1;
      L->ci = caller;
      L->base = caller->base;
    } else {
      L->ci->kind |= kFrameReentry;
    }
    goto enter_frame;
  }
  RELOAD_BASE();
  ra = RA();
  if (UNLIKELY(r < 0 || r > kMaxNativeResults)) {
    if (IsErrorResult(r)) {
      PROTECT(CommandError(L, r));
    } else {
      // A label jump: remember where to come back, then go to the label.
      int64_t next = g->callPosition;
      PROTECT(PushSubroutineReturn(L, r == kLabelJump ? next : next - 2));
      int64_t target = next + g->labelJumpOffset;
      if (target < 0 || target >= p->sizecode) PROTECT(RaiseError(L, ERR_FUNCJMP));
      pc = p->code + target;
      if (nresults >= 0) L->top = ci->top;
      DISPATCH();
    }
  }
  if (tail) {
    // A native callee of a tail call: its results are this function's results.
    returnB = 0;
    goto do_return;
  }
  if (nresults >= 0) L->top = ci->top;
  DISPATCH();
}

op_RETURN: {
  if (GetC(i) == 1) {
    std::vector<uint32_t>& stack = g->subroutineStack;
    if (stack.empty()) PROTECT(RaiseError(L, ERR_RETWOGOSUB));
    uint32_t position = stack.back();
    stack.pop_back();
    // A position from another function (or a label jump before the code) is no place to go.
    if (position >= p->sizecode) PROTECT(RaiseError(L, ERR_RETWOGOSUB));
    pc = p->code + position;
    DISPATCH();
  }
  returnB = GetB(i);
do_return:
  if (L->openUpvalues != nullptr) CloseUpvalues(L, base);
  if (returnB != 0) {
    L->top = ra + returnB - 1;
  } else if (L->top < ra) {
    L->top = ra;
  }
  if (ci->kind & kFrameReentry) {
    int wanted = ci->nresults;
    PROTECT(FinishCall(L, ra));
    if (wanted >= 0) L->top = L->ci->top;
    goto enter_frame;
  }
  return ra;
}

op_NUMLOOP: {
  if (LIKELY(ra[0].tag == TagNumber && ra[1].tag == TagNumber && ra[2].tag == TagNumber)) {
    double step = ra[2].n;
    double index = ra[0].n + step;
    if (step > 0 ? index <= ra[1].n : index >= ra[1].n) {
      ra[0].n = index;
      DO_JUMP(GetSBx(i));
    }
    DISPATCH();
  }
  if (UNLIKELY(ra[0].tag != TagNumber)) PROTECT(RaiseError(L, ERR_VALUEEXPECTED));
  for (int slot = 1; slot <= 2; ++slot) {
    if (UNLIKELY(ra[slot].tag != TagNumber)) {
      double converted;
      if (!ValueToNumber(ra[slot], &converted)) PROTECT(RaiseError(L, ERR_VALUEEXPECTED));
      SetNumber(&ra[slot], converted);
    }
  }
  double step = ra[2].n;
  double index = ra[0].n + step;
  double limit = ra[1].n;
  if (step > 0 ? index <= limit : index >= limit) {
    ra[0].n = index;
    DO_JUMP(GetSBx(i));
  }
  DISPATCH();
}

op_ITERLOOP: {
  int c = GetC(i);
  Value* cb = ra + c + 3;
  cb[0] = ra[0];
  cb[1] = ra[1];
  cb[2] = ra[2];
  L->top = cb + 3;
  int r;
  PROTECT(r = CallValue(L, cb, c + 1));
  if (IsErrorResult(r)) PROTECT(CommandError(L, r));
  L->top = ci->top;
  ra = RA();
  cb = ra + c + 3;
  for (int n = 0; n <= c; ++n) ra[2 + n] = cb[n];
  if (ra[2].tag == TagNil) {
    pc++;
  } else {
    DO_JUMP(GetSJ(*pc) + 1);
  }
  DISPATCH();
}

op_ITERPREP:
  if (ra->tag == TagTable) {
    ra[1] = ra[0];
    ra[0] = *TableGetStr(AsTable(L->globals), g->nextName);
  }
  DO_JUMP(GetSBx(i));
  DISPATCH();

op_STORELIST:
op_STORELISTTOP: {
  if (ra->tag != TagTable) goto abandon_at_instruction;
  int bx = GetBx(i);
  int n;
  if (GetOp(i) == OP_STORELIST) {
    n = (bx & 31) + 1;
  } else {
    n = static_cast<int>(L->top - ra) - 1;
    if (n < 0) n = 0;
    L->top = ci->top;
  }
  int first = bx & ~31;
  Table* t = AsTable(*ra);
  for (; n > 0; --n) {
    Value v = ra[n];
    Value* slot;
    PROTECT(slot = TableSetInt(L, t, first + n - 1));
    ra = RA();
    *slot = v;
  }
  DISPATCH();
}

op_CLOSEUPVALUES:
  CloseUpvalues(L, ra);
  DISPATCH();

op_MAKECLOSURE: {
  Proto* np = p->p[GetBx(i)];
  Closure* ncl;
  PROTECT(ncl = NewScriptClosure(L, np, cl->env));
  for (int j = 0; j < np->nups; ++j, ++pc) {
    if (GetOp(*pc) == OP_READUPVALUE) {
      ncl->scriptUpvalues()[j] = cl->scriptUpvalues()[GetB(*pc)];
    } else {
      UpvalueCell* cell;
      PROTECT(cell = FindUpvalue(L, base + GetB(*pc)));
      ncl->scriptUpvalues()[j] = cell;
    }
  }
  SetClosureValue(base + GetA(i), ncl);
  PROTECT(CheckGC(L));
  DISPATCH();
}

op_METHOD: {
  const Value* key = RKC();
  if (key->tag != TagString) goto abandon_at_instruction;
  Value object = *RB();
  ra[1] = object;
  if (LIKELY(object.tag == TagTable)) {
    const Value* v = TableGetStr(AsTable(object), AsString(*key));
    if (LIKELY(v->tag != TagNil)) {
      *ra = *v;
      DISPATCH();
    }
  }
  Value result;
  PROTECT(result = GetIndexed(L, RB(), object, *key, IndexMode::Method));
  base[GetA(i)] = result;
  DISPATCH();
}

op_NONE:
  DISPATCH();

abandon_at_instruction:
  ci->savedpc = pc;
abandon: {
  // The stop flag (or an instruction that cannot go on): unwind every frame this loop
  // entered; the outermost returns no values.
  CallFrame* entry = L->baseCi + entryFrame;
  if (L->openUpvalues != nullptr) CloseUpvalues(L, entry->base);
  L->ci = entry;
  L->base = entry->base;
  L->top = entry->base;
  return L->top;
}

#undef RELOAD_BASE
#undef PROTECT
#undef RA
#undef RB
#undef RKB
#undef RKC
#undef DISPATCH
#undef DO_JUMP
#undef ARITH_INLINE
#undef ARITH_CALL
#undef COMPARE
}

}  // namespace tembrovia
