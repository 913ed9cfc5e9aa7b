// The script commands the framework implements itself. They are registered through the
// tables of their libraries: ToString in "string"; DebugPrint, GetConstant and the generic
// object commands in "system".
#pragma once

#include <string>

#include "vm/api.h"

namespace tembrovia {

// String library.
int CmdToString(VMState* state);

// System library: debug output and constants.
int CmdDebugPrint(VMState* state);  // also DebugStr and DebugVal
int CmdGetConstant(VMState* state);

// System library: the object registry.
int CmdGetObjects(VMState* state);
int CmdHaveObject(VMState* state);
int CmdGetObjectType(VMState* state);
int CmdSetObjectData(VMState* state);
int CmdGetObjectData(VMState* state);
int CmdClearObjectData(VMState* state);
int CmdCopyObjectData(VMState* state);

// The text ToString gives a value that has no "__tostring" handler: "Nil", "true"/"false",
// the number as "%.14g", the string itself, "Table: %p", "Function: %p", "Thread: %p",
// "UserData: %p".
std::string ValueText(VMState* state, int index);

}  // namespace tembrovia
