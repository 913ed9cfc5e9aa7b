// Eval: the expression evaluator with the variables of the options table
// ({Variables = {{Name = "x", Value = 4}, ...}}).
#include <vector>

#include "lib/core/arguments.h"
#include "lib/core/option_fields.h"
#include "lib/string/eval.h"
#include "lib/string/string_commands.h"

namespace tembrovia {
namespace {

// The entries at keys 0, 1, ... (up to the first nil) of the "variables" field of the table
// at `options`. Every entry is validated before the expression is read.
ErrorCode ReadVariables(VMState* state, int options, std::vector<EvalVariable>& variables) {
  GetField(state, options, "variables");
  const int list = GetTop(state);
  if (IsNil(state, list)) return ERR_NONE;
  if (!IsTable(state, list)) return ERR_WRONGUSAGE;
  for (int i = 0;; ++i) {
    RawGetI(state, list, i);
    const int entry = GetTop(state);
    if (IsNil(state, entry)) break;
    if (!IsTable(state, entry)) return ERR_WRONGUSAGE;
    EvalVariable variable;
    if (!OptFieldString(state, entry, "name", &variable.name)) return ERR_WRONGUSAGE;
    if (ErrorCode error = ValidateEvalVariableName(variable.name)) return error;
    OptFieldNumber(state, entry, "value", &variable.value);
    variables.push_back(std::move(variable));
    Pop(state, 1);
  }
  return ERR_NONE;
}

}  // namespace

int CmdEval(VMState* state) {
  CheckArgCount(state, 1, 2);
  const std::string_view expression = CheckString(state, 1);
  std::vector<EvalVariable> variables;
  if (!IsNone(state, 2)) {
    CheckTable(state, 2);
    if (ErrorCode error = ReadVariables(state, 2, variables)) return error;
  }
  double result = 0;
  if (ErrorCode error = Eval(expression, variables, result)) return error;
  PushNumber(state, result);
  return 1;
}

}  // namespace tembrovia
