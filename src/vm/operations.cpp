#include "vm/operations.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/numeric_conversion.h"
#include "vm/call.h"
#include "vm/conversion.h"
#include "vm/errors.h"
#include "vm/memory.h"
#include "vm/metatable.h"
#include "vm/string_table.h"
#include "vm/table.h"

namespace tembrovia {
namespace {

constexpr int kMaxIndexChain = 100;

double Unsigned32(uint32_t bits) { return static_cast<double>(bits); }

[[noreturn]] void FieldInitError(VMState* L, const Value& key) {
  char buffer[64];
  if (key.tag == TagString) {
    RaiseErrorWithText(L, ERR_FIELDINIT, "\"" + std::string(AsString(key)->data(), AsString(key)->length) + "\"");
  }
  std::snprintf(buffer, sizeof buffer, "%g", key.tag == TagNumber ? key.n : 0.0);
  RaiseErrorWithText(L, ERR_FIELDINIT, buffer);
}

bool IsTrueResult(const Value& v) {
  return !(v.tag == TagNil || (v.tag == TagBoolean && v.b == 0) || (v.tag == TagNumber && v.n == 0));
}

// Byte-wise comparison with a proper prefix ordering first, as strcmp over NUL-separated
// segments does.
int CompareStrings(const InternedString* a, const InternedString* b) {
  size_t n = a->length < b->length ? a->length : b->length;
  int c = std::memcmp(a->data(), b->data(), n);
  if (c != 0) return c;
  return a->length < b->length ? -1 : (a->length > b->length ? 1 : 0);
}

bool IsNumberStringPair(const Value& a, const Value& b) {
  return (a.tag == TagNumber && b.tag == TagString) || (a.tag == TagString && b.tag == TagNumber);
}

// The shared handler of two same-type operands for an ordering event, or null.
const Value* EqualHandlers(VMState* L, const Value& a, const Value& b, MetaEvent event) {
  const Value* ha = GetMetaMethod(L, a, event);
  if (ha->tag == TagNil) return nullptr;
  const Value* hb = GetMetaMethod(L, b, event);
  return RawEquals(*ha, *hb) ? ha : nullptr;
}

}  // namespace

double ArithmeticOnNumbers(VMState* L, double a, double b, MetaEvent event) {
  switch (event) {
    case EventAdd: return a + b;
    case EventSub: return a - b;
    case EventMul: return a * b;
    case EventDiv:
      if (b == 0) RaiseError(L, ERR_ZERODIVISION);
      return a / b;
    case EventDivInt:
    case EventMod: {
      // In 64 bits, so that -2147483648 / -1 has its true quotient instead of trapping.
      int64_t x = TruncToInt32(a);
      int64_t y = TruncToInt32(b);
      if (y == 0) RaiseError(L, ERR_ZERODIVISION);
      return static_cast<double>(event == EventDivInt ? x / y : x % y);
    }
    case EventLsh: return Unsigned32(TruncToLow32(a) << (TruncToLow32(b) & 31));
    case EventRsh: return Unsigned32(TruncToLow32(a) >> (TruncToLow32(b) & 31));
    case EventOr: return Unsigned32(TruncToLow32(a) | TruncToLow32(b));
    case EventAnd: return Unsigned32(TruncToLow32(a) & TruncToLow32(b));
    case EventXor: return Unsigned32(TruncToLow32(a) ^ TruncToLow32(b));
    case EventPow: return std::pow(a, b);
    case EventUnm: return -a;
    case EventNot: return Unsigned32(~TruncToLow32(a));
    default: return 0;
  }
}

Value Arithmetic(VMState* L, const Value& first, const Value& second, MetaEvent event) {
  double a, b;
  if (ValueToNumber(first, &a) && ValueToNumber(second, &b)) {
    return NumberValue(ArithmeticOnNumbers(L, a, b, event));
  }
  const Value* handler = GetMetaMethod(L, first, event);
  if (handler->tag == TagNil) handler = GetMetaMethod(L, second, event);
  if (handler->tag != TagFunction) RaiseError(L, ERR_WRONGOP);
  Value h = *handler;
  return CallMetaHandler(L, h, first, second);
}

Value CallMetaHandler(VMState* L, const Value& handler, const Value& a, const Value& b) {
  Value h = handler, x = a, y = b;  // the arguments may live on the stack that grows here
  CheckStackRoom(L, 4);
  Value* func = L->top;
  func[0] = h;
  func[1] = x;
  func[2] = y;
  L->top = func + 3;
  int r = CallValue(L, func, 1);
  if (IsErrorResult(r)) CommandError(L, r);
  L->top--;
  return *L->top;
}

bool EqualValues(VMState* L, const Value& a, const Value& b) {
  if (a.tag == b.tag) {
    switch (a.tag) {
      case TagNil: return true;
      case TagNumber: return a.n == b.n;
      case TagBoolean: return a.b == b.b;
      case TagLightUserdata: return a.p == b.p;
      case TagTable:
      case TagUserdata: {
        if (a.gc == b.gc) return true;
        const Value* handler = EqualHandlers(L, a, b, EventEq);
        if (handler == nullptr) return false;
        return IsTrueResult(CallMetaHandler(L, *handler, a, b));
      }
      default: return a.gc == b.gc;
    }
  }
  if (a.tag == TagNil || b.tag == TagNil) {
    const Value& other = a.tag == TagNil ? b : a;
    if (other.tag == TagNumber) return other.n == 0;
    if (other.tag == TagString) return AsString(other)->length == 0;
    return false;
  }
  RaiseError(L, IsNumberStringPair(a, b) ? ERR_NUMSTRCMP : ERR_WRONGOP);
}

bool LessThanValues(VMState* L, const Value& a, const Value& b) {
  if (a.tag == TagNumber && b.tag == TagNumber) return a.n < b.n;
  if (a.tag == TagString && b.tag == TagString) return CompareStrings(AsString(a), AsString(b)) < 0;
  if (a.tag == TagNil && b.tag == TagNumber) return 0 < b.n;
  if (a.tag == TagNumber && b.tag == TagNil) return a.n < 0;
  if (a.tag == TagNil && (b.tag == TagNil || b.tag == TagString)) return false;
  if (a.tag == TagString && b.tag == TagNil) return false;
  if (IsNumberStringPair(a, b)) RaiseError(L, ERR_NUMSTRCMP);
  if (a.tag == b.tag) {
    const Value* handler = EqualHandlers(L, a, b, EventLt);
    if (handler != nullptr) return IsTrueResult(CallMetaHandler(L, *handler, a, b));
  }
  RaiseError(L, ERR_WRONGOP);
}

bool LessEqualValues(VMState* L, const Value& a, const Value& b) {
  if (a.tag == TagNumber && b.tag == TagNumber) return a.n <= b.n;
  if (a.tag == TagString && b.tag == TagString) return CompareStrings(AsString(a), AsString(b)) <= 0;
  if (a.tag == TagNil && b.tag == TagNumber) return 0 <= b.n;
  if (a.tag == TagNumber && b.tag == TagNil) return a.n <= 0;
  if (a.tag == TagNil && b.tag == TagNil) return true;
  if ((a.tag == TagNil && b.tag == TagString) || (a.tag == TagString && b.tag == TagNil)) return false;
  if (IsNumberStringPair(a, b)) RaiseError(L, ERR_NUMSTRCMP);
  if (a.tag == b.tag) {
    const Value* handler = EqualHandlers(L, a, b, EventLe);
    if (handler != nullptr) return IsTrueResult(CallMetaHandler(L, *handler, a, b));
    handler = EqualHandlers(L, b, a, EventLt);
    if (handler != nullptr) return !IsTrueResult(CallMetaHandler(L, *handler, b, a));
  }
  RaiseError(L, ERR_WRONGOP);
}

Value GetIndexed(VMState* L, const Value* objectSlot, const Value& object, const Value& key,
                 IndexMode mode) {
  Value o = object;
  Value k = key;
  for (int depth = 0;; ++depth) {
    if (depth > kMaxIndexChain) RaiseErrorWithText(L, ERR_INTERNAL1, "#1");
    const Value* handler;
    if (o.tag == TagTable) {
      Table* t = AsTable(o);
      const Value* v = TableGet(t, k);
      if (v->tag != TagNil) return *v;
      Table* mt = t->metatable == G(L)->defaultMetatable ? nullptr : t->metatable;
      handler = mt ? MetaEventOf(L, mt, EventIndex) : nullptr;
      if (handler == nullptr) {
        if (mode == IndexMode::Field) FieldInitError(L, k);
        return NilValue();
      }
    } else {
      handler = GetMetaMethod(L, o, EventIndex);
      if (handler->tag == TagNil) TableDeclaError(L, depth == 0 ? objectSlot : nullptr);
    }
    if (handler->tag == TagFunction) return CallMetaHandler(L, *handler, o, k);
    o = *handler;
  }
}

void SetIndexed(VMState* L, const Value* objectSlot, const Value& object, const Value& key,
                const Value& value) {
  Value o = object;
  Value k = key;
  Value v = value;
  for (int depth = 0;; ++depth) {
    if (depth > kMaxIndexChain) RaiseErrorWithText(L, ERR_INTERNAL1, "#2");
    const Value* handler;
    if (o.tag == TagTable) {
      Table* t = AsTable(o);
      Value* slot = TableSet(L, t, k);
      Table* mt = t->metatable == G(L)->defaultMetatable ? nullptr : t->metatable;
      handler = (slot->tag != TagNil || mt == nullptr) ? nullptr : MetaEventOf(L, mt, EventNewIndex);
      if (handler == nullptr) {
        *slot = v;
        return;
      }
    } else {
      handler = GetMetaMethod(L, o, EventNewIndex);
      if (handler->tag == TagNil) TableDeclaError(L, depth == 0 ? objectSlot : nullptr);
    }
    if (handler->tag == TagFunction) {
      Value h = *handler;
      CheckStackRoom(L, 5);
      Value* func = L->top;
      func[0] = h;
      func[1] = o;
      func[2] = k;
      func[3] = v;
      L->top = func + 4;
      int r = CallValue(L, func, 0);
      if (IsErrorResult(r)) CommandError(L, r);
      return;
    }
    o = *handler;
  }
}

void ConcatValues(VMState* L, int total, Value* last) {
  ptrdiff_t lastOffset = last - L->stack;
  do {
    Value* top = L->stack + lastOffset + 1;  // one past the pair's right operand
    int n = 2;
    if (!ToStringInPlace(L, top - 2) || !ToStringInPlace(L, top - 1)) {
      const Value* handler = GetMetaMethod(L, top[-2], EventConcat);
      if (handler->tag == TagNil) handler = GetMetaMethod(L, top[-1], EventConcat);
      if (handler->tag == TagNil) RaiseError(L, ERR_CONCAT);
      Value result = CallMetaHandler(L, *handler, top[-2], top[-1]);
      top = L->stack + lastOffset + 1;
      top[-2] = result;
    } else if (AsString(top[-1])->length > 0) {
      uint64_t length = AsString(top[-1])->length + static_cast<uint64_t>(AsString(top[-2])->length);
      for (n = 2; n < total && ToStringInPlace(L, top - n - 1); ++n) {
        length += AsString(top[-n - 1])->length;
        if (length >= 0xFFFFFFFEu) RaiseError(L, ERR_INTERNAL);
      }
      if (length >= 0xFFFFFFFEu) RaiseError(L, ERR_INTERNAL);
      char* buffer = ScratchBuffer(L, static_cast<size_t>(length));
      size_t at = 0;
      for (int i = n; i > 0; --i) {
        const InternedString* s = AsString(top[-i]);
        std::memcpy(buffer + at, s->data(), s->length);
        at += s->length;
      }
      SetString(top - n, InternString(L, buffer, at));
    }
    // else: the right one is empty, the left one is the pair's result (already in place).
    total -= n - 1;
    lastOffset -= n - 1;
  } while (total > 1);
}

[[noreturn]] void NotCallableError(VMState* L, const Value* slot) {
  ValueName name = NameOfSlot(L, slot);
  RaiseErrorWithText(L, ERR_FUNCDECLA, (name.name.empty() ? std::string("??") : name.name) + "()");
}

[[noreturn]] void TableDeclaError(VMState* L, const Value* slot) {
  ValueName name = slot ? NameOfSlot(L, slot) : ValueName{};
  RaiseErrorWithText(L, ERR_TABLEDECLA, (name.name.empty() ? std::string("??") : name.name) + "{}");
}

}  // namespace tembrovia
