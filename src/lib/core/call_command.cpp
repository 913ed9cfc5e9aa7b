#include "lib/core/call_command.h"

#include "common/latin1_case.h"

namespace tembrovia {

CommandArgument CommandArgument::Signed(int64_t value) {
  CommandArgument argument;
  argument.kind_ = Kind::kSigned;
  argument.signed_ = value;
  return argument;
}

CommandArgument CommandArgument::Unsigned(uint64_t value) {
  CommandArgument argument;
  argument.kind_ = Kind::kUnsigned;
  argument.unsigned_ = value;
  return argument;
}

CommandArgument CommandArgument::String(std::string_view text) {
  CommandArgument argument;
  argument.kind_ = Kind::kString;
  argument.text_ = text;
  return argument;
}

CommandArgument CommandArgument::Nil() { return CommandArgument(); }

CommandArgument CommandArgument::Handle(void* handle) {
  CommandArgument argument;
  argument.kind_ = Kind::kHandle;
  argument.handle_ = handle;
  return argument;
}

CommandArgument CommandArgument::Object(ObjectId id) {
  CommandArgument argument;
  argument.kind_ = Kind::kObjectId;
  argument.id_ = id;
  return argument;
}

void CommandArgument::Push(VMState* state) const {
  switch (kind_) {
    case Kind::kSigned:
      PushNumber(state, static_cast<double>(signed_));
      break;
    case Kind::kUnsigned:
      PushNumber(state, static_cast<double>(unsigned_));
      break;
    case Kind::kString:
      PushStringView(state, text_);
      break;
    case Kind::kNil:
      PushNil(state);
      break;
    case Kind::kHandle:
      PushLightUserdata(state, const_cast<void*>(handle_));
      break;
    case Kind::kObjectId:
      PushObjectId(state, id_);
      break;
  }
}

ErrorCode CallCommand(VMState* state, std::string_view name, int nresults,
                      std::span<const CommandArgument> arguments) {
  if (!CheckStack(state, static_cast<int>(arguments.size()) + 1)) return ERR_STACK;
  PushStringView(state, Latin1Lower(name));
  GetTable(state, kGlobalsIndex);
  for (const CommandArgument& argument : arguments) argument.Push(state);
  return Call(state, static_cast<int>(arguments.size()), nresults);
}

}  // namespace tembrovia
