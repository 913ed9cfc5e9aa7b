#include "lib/core/arguments.h"

#include "common/error_state.h"
#include "common/numeric_conversion.h"
#include "lib/core/percent_text.h"

namespace tembrovia {

void RaiseArgumentError(VMState* state, ErrorCode code, int i) {
  SetErrorNumber(i);
  RaiseError(state, code);
}

void CheckArgCount(VMState* state, int min, int max) {
  const int count = GetTop(state);
  if (count < min) RaiseError(state, ERR_MISSINGPARAMTR);
  const bool none_allowed = min == 0 && max == 0;
  if ((none_allowed && count > 0) || (max > 0 && count > max)) RaiseError(state, ERR_TOOMANYARGS);
}

double CheckNumber(VMState* state, int i) {
  if (!IsNumber(state, i)) RaiseArgumentError(state, ERR_NUMEXPECTED, i);
  return ToNumber(state, i);
}

int32_t CheckInteger(VMState* state, int i) { return TruncToInt32(CheckNumber(state, i)); }

double OptNumber(VMState* state, int i, double fallback) {
  return IsNone(state, i) ? fallback : CheckNumber(state, i);
}

int32_t OptInteger(VMState* state, int i, int32_t fallback) {
  return IsNone(state, i) ? fallback : CheckInteger(state, i);
}

std::string_view CheckString(VMState* state, int i) {
  if (!IsString(state, i)) RaiseArgumentError(state, ERR_STREXPECTED, i);
  size_t length = 0;
  const char* text = ToLString(state, i, &length);
  return {text, length};
}

std::string_view OptString(VMState* state, int i, std::string_view fallback) {
  return IsNone(state, i) ? fallback : CheckString(state, i);
}

void CheckTable(VMState* state, int i) {
  if (!IsTable(state, i)) RaiseArgumentError(state, ERR_TABEXPECTED, i);
}

void CheckFunction(VMState* state, int i) {
  if (!IsFunction(state, i)) RaiseArgumentError(state, ERR_FUNCEXPECTED, i);
}

void* CheckUserdata(VMState* state, int i) {
  if (!IsUserdata(state, i)) RaiseArgumentError(state, ERR_UDEXPECTED, i);
  return ToUserdata(state, i);
}

NumberOrPercent CheckNumberOrPercent(VMState* state, int i, std::optional<double> reference,
                                     bool allowOver100) {
  const int type = Type(state, i);
  if (type == TagNil || type == TagNumber) return {ToNumber(state, i), false};
  if (type != TagString) RaiseArgumentError(state, ERR_STRORNUM, i);

  size_t length = 0;
  const char* text = ToLString(state, i, &length);
  const std::optional<PercentText> parsed = ParsePercentText({text, length});
  if (!parsed) RaiseArgumentError(state, ERR_PERCENTFORMAT, i);
  if (!parsed->percent) return {parsed->value, false};
  if (parsed->value < 0 || (parsed->value > 100 && !allowOver100)) {
    RaiseArgumentError(state, ERR_PERCENTFORMAT, i);
  }
  if (reference) return {parsed->value * *reference / 100, false};
  return {parsed->value / 100, true};
}

}  // namespace tembrovia
