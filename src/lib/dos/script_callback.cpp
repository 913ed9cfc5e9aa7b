#include "lib/dos/script_callback.h"

#include "common/numeric_conversion.h"

namespace tembrovia {

ScriptCallback::ScriptCallback(VMState* state, int functionArg, int userdataArg)
    : state_(state), function_(functionArg), userdata_(userdataArg) {
  if (userdata_ != 0 && (IsNone(state, userdata_) || IsNil(state, userdata_))) userdata_ = 0;
}

void ScriptCallback::Begin() {
  base_ = GetTop(state_);
  PushValue(state_, function_);
  NewTable(state_);
}

void ScriptCallback::SetNumber(const char* field, double value) {
  PushNumber(state_, value);
  SetField(state_, -2, field);
}

void ScriptCallback::SetString(const char* field, std::string_view value) {
  PushStringView(state_, value);
  SetField(state_, -2, field);
}

CallbackAnswer ScriptCallback::Finish() {
  if (userdata_ != 0) {
    PushValue(state_, userdata_);
    SetField(state_, -2, "userdata");
  }
  CallbackAnswer answer;
  answer.error = CallbackCall(state_, 1, 1);
  if (answer.error == ERR_NONE) answer.value = TruncToInt32(ToNumber(state_, -1));
  SetTop(state_, base_);
  answer.quit = GetStopFlag(state_);
  return answer;
}

}  // namespace tembrovia
