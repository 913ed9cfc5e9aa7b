// Calling a script command from native code by name, as the script would (a script that
// replaces the global replaces what is called): the preload step and the display's
// backdrop create their objects this way.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "common/error_codes.h"
#include "lib/core/object_id.h"

namespace tembrovia {

class CommandArgument {
 public:
  enum class Kind { kSigned = 0, kUnsigned = 1, kString = 2, kNil = 3, kHandle = 4, kObjectId = 5 };

  static CommandArgument Signed(int64_t value);
  static CommandArgument Unsigned(uint64_t value);
  static CommandArgument String(std::string_view text);  // must outlive the call
  static CommandArgument Nil();
  static CommandArgument Handle(void* handle);
  // The object's handle when it has one, else its number.
  static CommandArgument Object(ObjectId id);

  Kind kind() const { return kind_; }
  void Push(VMState* state) const;

 private:
  Kind kind_ = Kind::kNil;
  int64_t signed_ = 0;
  uint64_t unsigned_ = 0;
  std::string_view text_;
  const void* handle_ = nullptr;
  ObjectId id_;
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
