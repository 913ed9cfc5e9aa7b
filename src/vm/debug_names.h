// Names of values and functions for error messages and debug information, found by tracing
// the instructions of the running function back to the one that last set a register.
#pragma once

#include <string>

#include "vm/errors.h"
#include "vm/state.h"

namespace tembrovia {

// The name of register reg just before instruction lastpc of p.
ValueName NameOfRegister(const Proto* p, int lastpc, int reg);

// The name of the local variable n (1-based count of active locals) at pc, or null.
const InternedString* LocalName(const Proto* p, int n, int pc);

// The name under which the function of frame ci was called (from its caller's call
// instruction), or an empty name.
ValueName NameOfCalledFunction(VMState* L, const CallFrame* ci);

// Index of the instruction a script frame is executing (or last executed).
int CurrentPc(const CallFrame* ci);

}  // namespace tembrovia
