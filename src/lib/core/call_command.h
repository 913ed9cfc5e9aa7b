// Calling a script command from native code by name, as the script would (a script that
// replaces the global replaces what is called): the preload step and the display's
// backdrop create their objects this way.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <variant>

#include "common/error_codes.h"
#include "lib/core/object_id.h"

namespace tembrovia {

class CommandArgument {
 public:
  // The kinds, numbered as the callers of the player's interface know them.
  enum class Kind { kSigned = 0, kUnsigned = 1, kString = 2, kNil = 3, kHandle = 4, kObjectId = 5 };

  static CommandArgument Signed(int64_t value) { return Make<0>(value); }
  static CommandArgument Unsigned(uint64_t value) { return Make<1>(value); }
  static CommandArgument String(std::string_view text) { return Make<2>(text); }  // must outlive the call
  static CommandArgument Nil() { return Make<3>(std::monostate()); }
  static CommandArgument Handle(void* handle) { return Make<4>(static_cast<const void*>(handle)); }
  // The object's handle when it has one, else its number.
  static CommandArgument Object(ObjectId id) { return Make<5>(id); }

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  void Push(VMState* state) const;

 private:
  // One alternative per kind, in the order of Kind.
  using Value = std::variant<int64_t, uint64_t, std::string_view, std::monostate, const void*, ObjectId>;
  explicit CommandArgument(Value value) : value_(value) {}
  template <size_t Index, class T>
  static CommandArgument Make(T value) {
    return CommandArgument(Value(std::in_place_index<Index>, value));
  }

  Value value_;
};

// Looks up the global of the lower-cased name, pushes the arguments and calls it with
// Call(count, nresults). Returns 0 or the command's error code; the results (when asked
// for) are on the stack.
ErrorCode CallCommand(VMState* state, std::string_view name, int nresults,
                      std::span<const CommandArgument> arguments);
inline ErrorCode CallCommand(VMState* state, std::string_view name, int nresults,
                             std::initializer_list<CommandArgument> arguments) {
  return CallCommand(state, name, nresults, std::span(arguments.begin(), arguments.size()));
}

}  // namespace tembrovia
