#include "lib/core/call_command.h"

#include <variant>

#include "common/latin1_case.h"

namespace tembrovia {

namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

void CommandArgument::Push(VMState* state) const {
  std::visit(Overloaded{
                 [state](int64_t value) { PushNumber(state, static_cast<double>(value)); },
                 [state](uint64_t value) { PushNumber(state, static_cast<double>(value)); },
                 [state](std::string_view text) { PushStringView(state, text); },
                 [state](std::monostate) { PushNil(state); },
                 [state](const void* handle) { PushLightUserdata(state, const_cast<void*>(handle)); },
                 [state](ObjectId id) { PushObjectId(state, id); },
             },
             value_);
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
