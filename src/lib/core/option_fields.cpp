#include "lib/core/option_fields.h"

#include <optional>
#include <string_view>

#include "common/error_state.h"
#include "common/numeric_conversion.h"
#include "lib/core/percent_text.h"
#include "lib/core/runtime.h"

namespace tembrovia {
namespace {

// Pushes table[name]; false (and nothing left on the stack) when it is missing or Nil.
bool PushField(VMState* state, int table, const char* name) {
  if (table < 0 && table > kRegistryIndex) table = GetTop(state) + table + 1;
  GetField(state, table, name);
  if (IsNil(state, -1)) {
    Pop(state, 1);
    return false;
  }
  return true;
}

[[noreturn]] void RaiseFieldError(VMState* state, ErrorCode code, std::string_view text) {
  SetErrorText(text);
  RaiseError(state, code);
}

std::string_view StringOnTop(VMState* state) {
  size_t length = 0;
  const char* text = ToLString(state, -1, &length);
  return {text, length};
}

}  // namespace

bool OptFieldNumber(VMState* state, int table, const char* name, double* value) {
  if (!PushField(state, table, name)) return false;
  if (!IsNumber(state, -1)) RaiseFieldError(state, ERR_NUMTABLEARG, name);
  *value = ToNumber(state, -1);
  Pop(state, 1);
  return true;
}

bool OptFieldInteger(VMState* state, int table, const char* name, int32_t* value) {
  double number = 0;
  if (!OptFieldNumber(state, table, name, &number)) return false;
  *value = TruncToInt32(number);
  return true;
}

bool OptFieldString(VMState* state, int table, const char* name, std::string* value) {
  if (!PushField(state, table, name)) return false;
  if (!IsString(state, -1)) RaiseFieldError(state, ERR_STRTABLEARG, name);
  value->assign(StringOnTop(state));
  Pop(state, 1);
  return true;
}

bool OptFieldSize(VMState* state, int table, const char* name, bool allowOver100, double* value) {
  if (!PushField(state, table, name)) return false;
  const int type = Type(state, -1);
  if (type == TagNumber) {
    *value = ToNumber(state, -1);
  } else {
    std::optional<PercentText> parsed;
    if (type == TagString) parsed = ParsePercentText(StringOnTop(state));
    const bool in_range = parsed && (!parsed->percent || (parsed->value >= 0 &&
                                                          (parsed->value <= 100 || allowOver100)));
    if (!in_range) RaiseFieldError(state, ERR_PERCENTFORMATSTR, name);
    *value = parsed->percent ? -parsed->value : parsed->value;
  }
  Pop(state, 1);
  return true;
}

bool OptFieldNumberOrPointer(VMState* state, int table, const char* name, NumberOrPointer* value) {
  if (!PushField(state, table, name)) return false;
  if (Type(state, -1) == TagLightUserdata) {
    *value = {0, ToUserdata(state, -1), true};
  } else if (IsNumber(state, -1)) {
    *value = {ToNumber(state, -1), nullptr, false};
  } else {
    RaiseFieldError(state, ERR_NUMTABLEARG, name);
  }
  Pop(state, 1);
  return true;
}

bool OptFieldLayer(VMState* state, int table, const char* name, int32_t* value) {
  if (!PushField(state, table, name)) return false;
  const int type = Type(state, -1);
  if (type == TagNumber) {
    *value = TruncToInt32(ToNumber(state, -1));
  } else if (type == TagString) {
    const std::string_view layer = StringOnTop(state);
    auto find = Runtime(state).layer_hooks().find_layer_by_name;
    int number = 0;
    if (find == nullptr || !find(state, layer, &number)) RaiseFieldError(state, ERR_FINDLAYER, layer);
    *value = number;
  } else {
    RaiseError(state, ERR_WRONGUSAGE);
  }
  Pop(state, 1);
  return true;
}

}  // namespace tembrovia
