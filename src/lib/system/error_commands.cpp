// Error, Assert and the error-handling switches: ExitOnError, RaiseOnError (the script error
// handler, kept as a registry reference), GetLastError and GetErrorName.
#include "common/error_state.h"
#include "common/format_error.h"
#include "common/numeric_conversion.h"
#include "lib/core/arguments.h"
#include "lib/math/integer_arguments.h"
#include "lib/system/system_commands.h"

namespace tembrovia {

int CmdError(VMState* state) {
  CheckArgCount(state, 1, 1);
  SetErrorText(CheckString(state, 1));  // the message is the text itself
  return ERR_ERRORCALLED;
}

int CmdAssert(VMState* state) {
  CheckArgCount(state, 1, 1);
  const int type = Type(state, 1);
  if (type == TagNil || (type == TagNumber && ToNumber(state, 1) == 0)) return ERR_ASSERTFAILED;
  PushValue(state, 1);
  return 1;
}

int CmdExitOnError(VMState* state) {
  CheckArgCount(state, 1, 1);
  const bool on = CheckFlag(state, 1);
  // A handler only exists while errors end the run.
  if (!on && GetErrorHandlerRef(state) != kNoRef) return ERR_WRONGUSAGE;
  SetExitOnError(state, on);
  return 0;
}

int CmdRaiseOnError(VMState* state) {
  CheckArgCount(state, 1, 1);
  if (!GetExitOnError(state)) return ERR_WRONGUSAGE;
  const int old = GetErrorHandlerRef(state);
  if (old != kNoRef) RegistryUnref(state, old);
  int handler = kNoRef;
  if (IsFunction(state, 1)) {
    PushValue(state, 1);
    handler = RegistryRef(state);
  }
  SetErrorHandlerRef(state, handler);
  return 0;
}

int CmdGetLastError(VMState* state) {
  CheckArgCount(state, 0, 0);
  PushNumber(state, GetLastErrorCode(state));
  return 1;
}

int CmdGetErrorName(VMState* state) {
  CheckArgCount(state, 1, 1);
  const ErrorCode code = static_cast<ErrorCode>(TruncToInt32(CheckNumber(state, 1)));
  PushStringView(state, FormatError(code));
  return 1;
}

}  // namespace tembrovia
