// ToString of the string library, which is also the global `tostring` that DebugPrint uses.
#include <cstdio>

#include "lib/core/arguments.h"
#include "lib/core/core_commands.h"

namespace tembrovia {
namespace {

std::string AddressText(const char* prefix, const void* pointer) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, "%s: %p", prefix, pointer);
  return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace

std::string ValueText(VMState* state, int index) {
  switch (Type(state, index)) {
    case TagNil:
      return "Nil";
    case TagBoolean:
      return ToBoolean(state, index) ? "true" : "false";
    case TagNumber:
    case TagString: {
      PushValue(state, index);  // a number is converted on the copy, not in place
      size_t length = 0;
      const char* text = ToLString(state, -1, &length);
      std::string result(text, length);
      Pop(state, 1);
      return result;
    }
    case TagTable:
      return AddressText("Table", ToPointer(state, index));
    case TagFunction:
      return AddressText("Function", ToPointer(state, index));
    case TagThread:
      return AddressText("Thread", ToPointer(state, index));
    case TagUserdata:
    case TagLightUserdata:
      return AddressText("UserData", ToPointer(state, index));
    default:
      return {};
  }
}

int CmdToString(VMState* state) {
  CheckArgCount(state, 1, 1);
  if (GetMetatable(state, 1)) {
    PushString(state, "__tostring");
    RawGet(state, -2);
    if (!IsNil(state, -1)) {
      PushValue(state, 1);
      if (ErrorCode error = Call(state, 1, 1)) return error;
      return 1;
    }
    Pop(state, 2);
  }
  if (Type(state, 1) == TagString) {
    PushValue(state, 1);
  } else {
    PushStringView(state, ValueText(state, 1));
  }
  return 1;
}

}  // namespace tembrovia
