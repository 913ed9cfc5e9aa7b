// The slow paths of the interpreter: arithmetic with conversions and metamethods,
// comparisons, the index and store rules, and concatenation. The loop handles the common
// number and raw-table cases inline and calls these for everything else.
#pragma once

#include "vm/state.h"

namespace tembrovia {

// Result of a binary arithmetic or bitwise operation (event EventAdd..EventPow) on any
// operands; `second` is nil for the unary events EventUnm and EventNot.
Value Arithmetic(VMState* L, const Value& first, const Value& second, MetaEvent event);

// Arithmetic on two numbers for the operations that are not inlined (division by zero
// raises ERR_ZERODIVISION).
double ArithmeticOnNumbers(VMState* L, double a, double b, MetaEvent event);

bool EqualValues(VMState* L, const Value& a, const Value& b);
bool LessThanValues(VMState* L, const Value& a, const Value& b);
bool LessEqualValues(VMState* L, const Value& a, const Value& b);

enum class IndexMode { Field, Method, Global, Plain };
// The index rule. objectSlot is the stack slot of the object (for the name in
// ERR_TABLEDECLA), or null.
Value GetIndexed(VMState* L, const Value* objectSlot, const Value& object, const Value& key,
                 IndexMode mode);
// The store rule.
void SetIndexed(VMState* L, const Value* objectSlot, const Value& object, const Value& key,
                const Value& value);

// Calls handler(a, b) for one result.
Value CallMetaHandler(VMState* L, const Value& handler, const Value& a, const Value& b);

// Concatenates the `total` values ending at stack slot `last` (inclusive); the result is
// left in the first of them.
void ConcatValues(VMState* L, int total, Value* last);

// Raises ERR_FUNCDECLA for the uncallable value at slot.
[[noreturn]] void NotCallableError(VMState* L, const Value* slot);
[[noreturn]] void TableDeclaError(VMState* L, const Value* slot);

}  // namespace tembrovia
