#include "lib/core/constants.h"

#include "common/latin1_case.h"
#include "lib/core/registration.h"

namespace tembrovia {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsNameStart(char c) { return IsAsciiLetter(c) || c == '_'; }
bool IsNameChar(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '!' || c == '$';
}

// Looks the lower-case name up in one registry table; true and the value when found.
bool LookupIn(VMState* state, const char* table, const std::string& name, ConstantValue* value) {
  GetField(state, kRegistryIndex, table);
  if (!IsTable(state, -1)) {
    Pop(state, 1);
    return false;
  }
  PushStringView(state, name);
  RawGet(state, -2);
  bool found = true;
  if (Type(state, -1) == TagString) {
    size_t length = 0;
    const char* text = ToLString(state, -1, &length);
    *value = {true, std::string(text, length), 0};
  } else if (Type(state, -1) == TagNumber) {
    *value = {false, {}, ToNumber(state, -1)};
  } else {
    found = false;
  }
  Pop(state, 2);
  return found;
}

}  // namespace

ErrorCode LookupConstant(VMState* state, std::string_view text, ConstantValue* value,
                         size_t* consumed) {
  if (text.empty() || text[0] != '#') return ERR_WRONGUSAGE;
  if (text.size() < 2 || !IsNameStart(text[1])) return ERR_SYNTAXERROR;
  size_t length = 1;
  while (length < kMaxConstantNameLength && 1 + length < text.size() && IsNameChar(text[1 + length])) {
    ++length;
  }
  const std::string name = Latin1Lower(text.substr(1, length));
  if (!LookupIn(state, kConstantsTable, name, value) &&
      !LookupIn(state, kUserConstantsTable, name, value)) {
    return ERR_FINDCST;
  }
  *consumed = length + 1;
  return ERR_NONE;
}

void PushConstantValue(VMState* state, const ConstantValue& value) {
  if (value.is_string) {
    PushStringView(state, value.text);
  } else {
    PushNumber(state, value.number);
  }
}

const ConstantEntry* FindBuiltinConstant(std::string_view name) {
  for (const LibraryTable* library : LibraryOrder()) {
    for (const ConstantEntry& constant : library->constants) {
      if (Latin1EqualNoCase(constant.name, name)) return &constant;
    }
  }
  return nullptr;
}

}  // namespace tembrovia
