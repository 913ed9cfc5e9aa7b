// GetConstant: a constant's value by its name ("#" and the name, any case).
#include "lib/core/arguments.h"
#include "lib/core/constants.h"
#include "lib/core/core_commands.h"

namespace tembrovia {

int CmdGetConstant(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string_view text = CheckString(state, 1);
  ConstantValue value;
  size_t consumed = 0;
  if (ErrorCode error = LookupConstant(state, text, &value, &consumed)) return error;
  PushConstantValue(state, value);
  return 1;
}

}  // namespace tembrovia
