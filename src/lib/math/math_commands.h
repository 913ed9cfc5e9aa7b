// The math commands that are not one number in and one out (see command_shapes.h for those),
// and the library's start-up.
#pragma once

#include "lib/core/runtime.h"
#include "vm/api.h"

namespace tembrovia {

int CmdCast(VMState* state);
int CmdFrExp(VMState* state);
int CmdMax(VMState* state);
int CmdMin(VMState* state);
int CmdRnd(VMState* state);
int CmdRndF(VMState* state);
int CmdRol(VMState* state);
int CmdRor(VMState* state);

// Seeds the shared random generator (and the C library's) with the calendar time.
ErrorCode InitMath(VMState* state, LibraryRuntime& runtime);

}  // namespace tembrovia
