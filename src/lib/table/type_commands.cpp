// GetType and IIf.
#include "lib/core/arguments.h"
#include "lib/table/table_commands.h"
#include "lib/table/type_constants.h"

namespace tembrovia {

int CmdGetType(VMState* state) {
  CheckArgCount(state, 1, 1);
  PushNumber(state, ScriptTypeOf(Type(state, 1)));
  return 1;
}

int CmdIIf(VMState* state) {
  CheckArgCount(state, 3, 3);
  bool condition = false;
  switch (Type(state, 1)) {
    case TagNil:
      break;
    case TagNumber:
      condition = ToNumber(state, 1) != 0;
      break;
    case TagString:
      condition = StrLen(state, 1) != 0;
      break;
    default:
      return ERR_WRONGDTYPE;
  }
  PushValue(state, condition ? 2 : 3);
  return 1;
}

}  // namespace tembrovia
