// RawGet, RawSet, RawEqual, GetMetaTable and SetMetaTable.
#include "lib/core/arguments.h"
#include "lib/table/table_commands.h"

namespace tembrovia {
namespace {

constexpr const char* kProtectionField = "__metatable";

// Pushes the "__metatable" field of the metatable on top (nil when it has none).
void PushProtection(VMState* state) {
  PushString(state, kProtectionField);
  RawGet(state, -2);
}

}  // namespace

int CmdRawGet(VMState* state) {
  CheckArgCount(state, 2, 2);
  CheckTable(state, 1);
  PushValue(state, 2);
  RawGet(state, 1);
  return 1;
}

int CmdRawSet(VMState* state) {
  CheckArgCount(state, 3, 3);
  CheckTable(state, 1);
  PushValue(state, 2);
  PushValue(state, 3);
  RawSet(state, 1);
  PushValue(state, 1);
  return 1;
}

int CmdRawEqual(VMState* state) {
  CheckArgCount(state, 2, 2);
  PushNumber(state, RawEqual(state, 1, 2) ? 1 : 0);
  return 1;
}

int CmdGetMetaTable(VMState* state) {
  CheckArgCount(state, 1, 1);
  if (!GetMetatable(state, 1)) {
    PushNil(state);
    return 1;
  }
  PushProtection(state);
  if (IsNil(state, -1)) Pop(state, 1);
  return 1;
}

int CmdSetMetaTable(VMState* state) {
  CheckArgCount(state, 2, 2);
  CheckTable(state, 1);
  const int type = Type(state, 2);
  if (type != TagTable && type != TagNil) return ERR_TABLEORNIL;
  if (GetMetatable(state, 1)) {
    PushProtection(state);
    if (!IsNil(state, -1)) return ERR_PROTMETATABLE;
    Pop(state, 2);
  }
  PushValue(state, 2);
  SetMetatable(state, 1);
  PushValue(state, 1);
  return 1;
}

}  // namespace tembrovia
