// Waiting for Wait and WaitTimer, on the platform clock.
#pragma once

#include <cstdint>

#include "common/error_codes.h"
#include "vm/api.h"

namespace tembrovia {

// Waits `ms` milliseconds (none for 0 or less). A wait woken early because the script is to
// end (ScriptShouldStop) gives ERR_USERABORT.
ErrorCode ScriptWait(VMState* state, int64_t ms);

}  // namespace tembrovia
