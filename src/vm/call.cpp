#include "vm/call.h"

#include <cstdio>
#include <cstring>

#include "vm/conversion.h"
#include "vm/errors.h"
#include "vm/memory.h"
#include "vm/metatable.h"
#include "vm/operations.h"
#include "vm/table.h"

namespace tembrovia {
namespace {

// The vararg table: extra arguments at keys 0, 1, 2, ... and "n" their count.
void AdjustVarargs(VMState* L, const Proto* p, int actual) {
  Value* base = L->top - actual;
  if (actual < p->numparams) {
    for (; actual < p->numparams; ++actual) SetNil(L->top++);
  }
  int extra = actual - p->numparams;
  Table* t = NewTable(L, static_cast<uint32_t>(extra), 1);
  base = L->top - actual;  // (the table allocation does not move the stack)
  for (int i = 0; i < extra; ++i) *TableSetInt(L, t, i) = base[p->numparams + i];
  *TableSetStr(L, t, G(L)->argCountName) = NumberValue(extra);
  L->top = base + p->numparams;
  SetTableValue(L->top, t);
  L->top++;
}

// Puts the __call handler of the value at func below it as the function to call.
Value* CallHandlerOf(VMState* L, Value* func) {
  const Value* handler = GetMetaMethod(L, *func, EventCall);
  if (handler->tag != TagFunction) NotCallableError(L, func);
  Value h = *handler;
  ptrdiff_t offset = func - L->stack;
  CheckStackRoom(L, 1);
  func = L->stack + offset;
  for (Value* p = L->top; p > func; --p) *p = p[-1];
  L->top++;
  *func = h;
  return func;
}

void PrintCallTrace(VMState* L, Closure* cl) {
  std::string name = Host(L).CommandName(cl->native.f);
  std::string line = "Now calling " + (name.empty() ? std::string("?") : name) + "()";
  Value* base = L->ci->base;
  int count = static_cast<int>(L->top - base);
  if (count > 0) line += " with arguments ";
  char item[128];
  for (int i = 0; i < count; ++i) {
    const Value& v = base[i];
    switch (v.tag) {
      case TagNil: std::snprintf(item, sizeof item, "#%d=(NIL) ", i + 1); line += item; break;
      case TagNumber: std::snprintf(item, sizeof item, "#%d=(NUMBER)%g ", i + 1, v.n); line += item; break;
      case TagString:
        std::snprintf(item, sizeof item, "#%d=(STRING)\"", i + 1);
        line += item;
        line.append(AsString(v)->data());
        line += "\" ";
        break;
      case TagTable: std::snprintf(item, sizeof item, "#%d=(TABLE)%p ", i + 1, v.p); line += item; break;
      case TagFunction: std::snprintf(item, sizeof item, "#%d=(FUNCPTR)%p ", i + 1, v.p); line += item; break;
      default: std::snprintf(item, sizeof item, "#%d=(INTERNAL)%d ", i + 1, v.tag); line += item; break;
    }
  }
  line += "\n";
  Host(L).DebugWrite(line);
}

// The script error handler for a failed command: handler(code, message, name, line).
ErrorCode CallErrorHandler(VMState* L, ErrorCode code) {
  GlobalState* g = G(L);
  CheckStackRoom(L, 6);
  const Value* handler = TableGetInt(AsTable(g->registry), g->errorHandlerRef);
  *L->top++ = *handler;
  SetNumber(L->top++, code);
  std::string message = Host(L).FormatError(code);
  PushLString(L, message.data(), message.size());
  const ErrorContext& context = g->errorContext;
  PushLString(L, context.name.data(), context.name.size());
  PushNumber(L, context.line);
  ResetErrorContext(L);
  g->errorHandlerRunning = true;
  ErrorCode status = CallbackCall(L, 4, 0);
  g->errorHandlerRunning = false;
  return status;
}

int CallNative(VMState* L, Value* func, Closure* cl, int nresults) {
  GlobalState* g = G(L);
  ptrdiff_t funcOffset = func - L->stack;
  CheckStackRoom(L, kNativeMinStack);
  func = L->stack + funcOffset;
  CallFrame* ci = NextFrame(L);
  ci->base = func + 1;
  L->base = ci->base;
  ci->top = L->top + kNativeMinStack;
  ci->kind = kFrameNative;
  ci->tailcalls = 0;
  ci->savedpc = nullptr;
  ci->lastTraced = -1;
  ci->nresults = nresults;
  if (L->hookMask & HookMaskCall) CallHook(L, HookCall, -1);
  if (g->callTrace && !g->stopFlag) PrintCallTrace(L, cl);
  if (cl->native.f != g->lastErrorReader) g->lastError = ERR_NONE;
  int r = cl->native.f(L);
  Value* first;
  if (r >= 0 && r <= kMaxNativeResults) {
    int available = static_cast<int>(L->top - L->ci->base);
    first = L->top - (r < available ? r : available);
  } else {
    first = L->top;
    if (IsErrorResult(r)) {
      g->errorLine = -1;
      RecordErrorContext(L);
      if (g->errorHandlerRef != kNoRef && g->callbackDepth == 0 && !g->errorHandlerRunning) {
        ptrdiff_t at = first - L->stack;
        r = CallErrorHandler(L, r);
        first = L->stack + at;
        L->top = first;
      }
    }
  }
  FinishCall(L, first);
  return r;
}

}  // namespace

void ReallocStack(VMState* L, int newSize) {
  Value* oldStack = L->stack;
  Value* newStack = AllocateArray<Value>(L, static_cast<size_t>(newSize));
  int keep = L->stackSize < newSize ? L->stackSize : newSize;
  std::memcpy(newStack, oldStack, sizeof(Value) * static_cast<size_t>(keep));
  for (int i = keep; i < newSize; ++i) SetNil(&newStack[i]);
  auto move = [&](Value* p) { return newStack + (p - oldStack); };
  L->top = move(L->top);
  L->base = move(L->base);
  for (CallFrame* ci = L->baseCi; ci <= L->ci; ++ci) {
    ci->base = move(ci->base);
    ci->top = move(ci->top);
  }
  for (UpvalueCell* up = L->openUpvalues; up != nullptr; up = up->nextOpen) up->v = move(up->v);
  FreeArray(L, oldStack, static_cast<size_t>(L->stackSize));
  L->stack = newStack;
  L->stackSize = newSize;
  L->stackLast = newStack + newSize - 1 - kStackReserve;
}

void GrowStack(VMState* L, int n) {
  int64_t needed = static_cast<int64_t>(L->top - L->stack) + n + 1 + kStackReserve + 1;
  int64_t size = L->stackSize * 2;
  if (size < needed) size = needed;
  if (size > (1 << 26)) Throw(L, ERR_MEM);
  ReallocStack(L, static_cast<int>(size));
}

void ReallocFrames(VMState* L, int newSize) {
  CallFrame* oldFrames = L->baseCi;
  ptrdiff_t current = L->ci - oldFrames;
  CallFrame* frames = ResizeArray(L, oldFrames, static_cast<size_t>(L->sizeCi), static_cast<size_t>(newSize));
  L->baseCi = frames;
  L->ci = frames + current;
  L->sizeCi = newSize;
  L->endCi = frames + newSize;
}

void GrowFrames(VMState* L) {
  if (L->sizeCi > kMaxFrames) Throw(L, ERR_STACK);
  ReallocFrames(L, L->sizeCi * 2);
  if (L->sizeCi > kMaxFrames) RaiseError(L, ERR_STACK);
}

int PrepareCall(VMState* L, Value* func, int nresults) {
  if (func->tag != TagFunction) func = CallHandlerOf(L, func);
  Closure* cl = AsClosure(*func);
  if (cl->isNative) return CallNative(L, func, cl, nresults);

  Proto* p = cl->script.proto;
  ptrdiff_t funcOffset = func - L->stack;
  CheckStackRoom(L, p->maxstacksize + 1);
  func = L->stack + funcOffset;
  Value* base = func + 1;
  if (p->is_vararg) {
    AdjustVarargs(L, p, static_cast<int>(L->top - base));
  } else if (L->top > base + p->numparams) {
    L->top = base + p->numparams;
  }
  CallFrame* ci = NextFrame(L);
  ci->base = base;
  L->base = base;
  ci->top = base + p->maxstacksize;
  ci->kind = kFrameScript | kFrameSavedPc;
  ci->tailcalls = 0;
  ci->savedpc = p->code;
  ci->lastTraced = -1;
  ci->nresults = nresults;
  for (Value* slot = L->top; slot < ci->top; ++slot) SetNil(slot);
  L->top = ci->top;
  return kScriptFrameReady;
}

void FinishCall(VMState* L, Value* firstResult) {
  if (L->hookMask & HookMaskReturn) {
    ptrdiff_t at = firstResult - L->stack;
    CallHook(L, HookReturn, -1);
    firstResult = L->stack + at;
  }
  CallFrame* ci = L->ci;
  int wanted = ci->nresults;
  Value* result = ci->base - 1;
  if (wanted > 0 && result + wanted > L->stackLast) {
    ptrdiff_t r = result - L->stack, f = firstResult - L->stack;
    GrowStack(L, wanted);
    result = L->stack + r;
    firstResult = L->stack + f;
    ci = L->ci;
  }
  L->ci = ci - 1;
  L->base = L->ci->base;
  while (wanted != 0 && firstResult < L->top) {
    *result++ = *firstResult++;
    wanted--;
  }
  while (wanted-- > 0) SetNil(result++);
  L->top = result;
}

int CallValue(VMState* L, Value* func, int nresults) {
  if (++L->nativeDepth >= kMaxNativeDepth) {
    if (L->nativeDepth == kMaxNativeDepth) RaiseError(L, ERR_STACK);
    if (L->nativeDepth > kNativeDepthHardLimit) Throw(L, ERR_STACK);
  }
  int r = PrepareCall(L, func, nresults);
  if (r == kScriptFrameReady) {
    Value* first = Execute(L);
    FinishCall(L, first);
    r = 0;
  }
  L->nativeDepth--;
  return IsErrorResult(r) ? r : 0;
}

void CallHook(VMState* L, HookEventKind kind, int line) {
  if (L->hook == nullptr || !L->allowHook) return;
  ptrdiff_t top = L->top - L->stack;
  ptrdiff_t frameTop = L->ci->top - L->stack;
  CheckStackRoom(L, kNativeMinStack);
  if (L->ci->top < L->top + kNativeMinStack) L->ci->top = L->top + kNativeMinStack;
  L->allowHook = 0;
  HookEvent event;
  event.kind = kind;
  event.currentLine = line;
  event.frameIndex = static_cast<int>(L->ci - L->baseCi);
  ErrorCode r = L->hook(L, event);
  L->allowHook = 1;
  L->ci->top = L->stack + frameTop;
  L->top = L->stack + top;
  if (r != ERR_NONE) RaiseError(L, r);
}

void CommandError(VMState* L, ErrorCode r) {
  GlobalState* g = G(L);
  g->lastError = r;
  if (!g->exitOnError) {
    ResetErrorContext(L);
    return;
  }
  g->errorLine = -1;
  RecordErrorContext(L);
  if (g->callbackDepth == 0) {
    g->stopFlag = true;
    UpdateTrap(L);
  }
  Throw(L, r);
}

}  // namespace tembrovia
