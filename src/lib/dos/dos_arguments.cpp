#include "lib/dos/dos_arguments.h"

#include "common/error_state.h"
#include "common/numeric_conversion.h"
#include "lib/core/arguments.h"

namespace tembrovia {

int64_t CheckInt64(VMState* state, int i) { return TruncToInt64(CheckNumber(state, i)); }

int64_t OptInt64(VMState* state, int i, int64_t fallback) {
  return IsNone(state, i) ? fallback : CheckInt64(state, i);
}

bool OptFlag(VMState* state, int i, bool fallback) {
  if (IsNone(state, i)) return fallback;
  if (Type(state, i) == TagBoolean) return ToBoolean(state, i);
  return CheckNumber(state, i) != 0;
}

std::string_view OptName(VMState* state, int i) {
  if (IsNone(state, i) || IsNil(state, i)) return {};
  return CheckString(state, i);
}

bool OptCallback(VMState* state, int i) {
  if (IsNone(state, i) || IsNil(state, i)) return false;
  CheckFunction(state, i);
  return true;
}

ErrorCode Fail(ErrorCode code, std::string_view text) {
  if (code != ERR_NONE && !text.empty()) SetErrorText(text);
  return code;
}

}  // namespace tembrovia
