// DebugPrint (also DebugStr and DebugVal): the values through the global `tostring`, one
// space between them and a line feed at the end, on the debug output channel.
#include "common/debug_output.h"
#include "lib/core/arguments.h"
#include "lib/core/core_commands.h"

namespace tembrovia {

int CmdDebugPrint(VMState* state) {
  CheckArgCount(state, 1, 0);
  const int count = GetTop(state);
  for (int i = 1; i <= count; ++i) {
    GetGlobal(state, "tostring");
    PushValue(state, i);
    if (ErrorCode error = Call(state, 1, 1)) return error;
    // A replaced `tostring` may return something other than text: it is shown as ToString
    // would show it without a handler. The text is written as it is, never as a format.
    const std::string text = ValueText(state, -1);
    Pop(state, 1);
    if (i > 1) DebugWriteText(" ");
    DebugWriteText(text);
  }
  DebugWriteText("\n");
  return 0;
}

}  // namespace tembrovia
