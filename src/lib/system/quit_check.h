// Whether the running script is to end, for the commands that wait or search for a long time
// without passing the line hook (Wait, WaitTimer, the pattern matcher): the VM's stop flag,
// or the quit request that the driver raises from the main thread.
#pragma once

#include "vm/api.h"

namespace tembrovia {

bool ScriptShouldStop(VMState* state);

// The driver's quit request (called on the script thread; null: none). The driver also wakes
// the platform clock when it raises the request, so that a running wait looks at it at once.
void SetQuitRequestCheck(bool (*pending)());

}  // namespace tembrovia
