// Script tables and functions to and from the neutral tree that the table and function
// records are written from and read into (files/serial_value.h).
#pragma once

#include <string>

#include "common/error_codes.h"
#include "files/serial_value.h"
#include "vm/api.h"

namespace tembrovia {

// The table at stack index `index`, entries in traversal order. A table that contains
// itself (ERR_WRONGUSAGE) and nesting deeper than kMaxSerialDepth (ERR_STACK) are refused
// here, a native function with ERR_NOVXFUNC; booleans and other unstorable values are
// marked for the record writer to refuse. ERR_MEM when the tree does not fit in memory.
ErrorCode TableToSerial(VMState* state, int index, SerialTable& table);

// Pushes a new script table built from the tree; functions are loaded from their chunks
// (the loader's error when one is broken). A NaN key, which no script table can hold, is
// ERR_READTABLE. Nothing is pushed on failure.
ErrorCode PushSerialTable(VMState* state, const SerialTable& table);

// The chunk of the script function at index (ERR_NOVXFUNC for a native function).
ErrorCode DumpScriptFunction(VMState* state, int index, std::string& chunk);

// Loads a chunk read from a file and pushes the function (nothing on failure).
ErrorCode PushLoadedFunction(VMState* state, const std::string& chunk);

}  // namespace tembrovia
