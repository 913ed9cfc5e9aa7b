// Runs a step of the driver that works on the VM inside a protected call, so that an error
// the VM raises on the way (out of memory, an argument error of a command the step calls)
// ends the step with its code instead of unwinding past the driver.
#pragma once

#include <functional>

#include "common/error_codes.h"
#include "vm/api.h"

namespace tembrovia {

using DriverStep = std::function<ErrorCode(VMState* state)>;

// The step's own result, or the code of the error raised inside it. The stack is as before.
ErrorCode RunProtected(VMState* state, const DriverStep& step);

}  // namespace tembrovia
