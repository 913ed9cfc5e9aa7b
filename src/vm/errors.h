// Raising and catching errors inside the VM: a raised error is a C++ exception that carries
// only the error code; ProtectedCall and the protected loader catch it.
#pragma once

#include <string_view>

#include "vm/state.h"

namespace tembrovia {

struct VMError {
  ErrorCode code;
};

// Fills the host's error-argument text, then raises the runtime error.
[[noreturn]] void RaiseErrorWithText(VMState* L, ErrorCode code, std::string_view text);

// The current line of the script frame ci (-1 for native frames or without line information).
int FrameCurrentLine(VMState* L, const CallFrame* ci);

// The name of the value in stack slot `slot` as the running script frame knows it, with its
// kind ("global", "local", "field", "method"), or empty when unknown.
struct ValueName {
  std::string name;
  const char* kind = "";
};
ValueName NameOfSlot(VMState* L, const Value* slot);

}  // namespace tembrovia
