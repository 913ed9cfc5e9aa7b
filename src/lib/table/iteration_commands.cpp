// ForEach, ForEachI, Pairs, IPairs and NextItem. The callbacks of ForEach and ForEachI run
// as every callback does: protected, with the callback depth raised; a failing call's code
// becomes the command's result.
#include <cmath>

#include "lib/core/arguments.h"
#include "lib/table/table_commands.h"

namespace tembrovia {
namespace {

// Calls the function at argument 2 with the key and value on top of the stack (both kept).
// On a non-nil result it is left on top and `stop` is set.
ErrorCode CallVisitor(VMState* state, bool& stop) {
  PushValue(state, 2);
  PushValue(state, -3);
  PushValue(state, -3);
  if (ErrorCode error = CallbackCall(state, 2, 1)) return error;
  stop = !IsNil(state, -1);
  if (!stop) Pop(state, 1);
  return ERR_NONE;
}

void PushRawGlobal(VMState* state, const char* name) {
  PushString(state, name);
  RawGet(state, kGlobalsIndex);
}

}  // namespace

int CmdForEach(VMState* state) {
  CheckArgCount(state, 2, 2);
  CheckTable(state, 1);
  CheckFunction(state, 2);
  PushNil(state);
  while (Next(state, 1) != 0) {
    bool stop = false;
    if (ErrorCode error = CallVisitor(state, stop)) return error;
    if (stop) return 1;
    Pop(state, 1);  // the value; the key stays for Next
  }
  return 0;
}

int CmdForEachI(VMState* state) {
  CheckArgCount(state, 2, 2);
  CheckTable(state, 1);
  CheckFunction(state, 2);
  for (int index = 0;; ++index) {
    PushNumber(state, index);
    RawGetI(state, 1, index);
    if (IsNil(state, -1)) return 0;
    bool stop = false;
    if (ErrorCode error = CallVisitor(state, stop)) return error;
    if (stop) return 1;
    Pop(state, 2);
  }
}

int CmdPairs(VMState* state) {
  CheckArgCount(state, 1, 1);
  CheckTable(state, 1);
  PushRawGlobal(state, "nextitem");
  PushValue(state, 1);
  PushNil(state);
  return 3;
}

int CmdIPairs(VMState* state) {
  CheckArgCount(state, 1, 2);
  CheckTable(state, 1);
  if (IsNone(state, 2)) {
    PushRawGlobal(state, "ipairs");
    PushValue(state, 1);
    PushNumber(state, -1);
    return 3;
  }
  const double next = std::trunc(CheckNumber(state, 2)) + 1;
  PushNumber(state, next);
  PushNumber(state, next);
  RawGet(state, 1);
  if (IsNil(state, -1)) return 0;
  return 2;
}

int CmdNextItem(VMState* state) {
  CheckArgCount(state, 1, 2);
  CheckTable(state, 1);
  SetTop(state, 2);  // an absent key is nil
  if (Next(state, 1) != 0) return 2;
  PushNil(state);
  return 1;
}

}  // namespace tembrovia
