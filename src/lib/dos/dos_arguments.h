// Argument and error conventions shared by the file and memory-block commands: positions,
// lengths and sizes are read as 64-bit integers (files pass 2 GiB, and every range check is
// made in 64-bit before anything is touched), flags take numbers or booleans, and optional
// names and callbacks treat Nil as "not given".
#pragma once

#include <cstdint>
#include <string_view>

#include "common/error_codes.h"
#include "files/file_operation.h"
#include "vm/api.h"

namespace tembrovia {

// CheckNumber truncated toward zero to 64 bits (saturating; NaN gives 0).
int64_t CheckInt64(VMState* state, int i);
// The same, or fallback when argument i is absent.
int64_t OptInt64(VMState* state, int i, int64_t fallback);

// True/False, or a number (not 0 is true; Nil counts as 0); fallback when absent.
bool OptFlag(VMState* state, int i, bool fallback);

// A string; "" when argument i is absent or Nil.
std::string_view OptName(VMState* state, int i);

// True when argument i is a function; false when absent or Nil; any other value raises
// ERR_FUNCEXPECTED.
bool OptCallback(VMState* state, int i);

// The code of a failed operation after filling the message's "%s".
ErrorCode Fail(ErrorCode code, std::string_view text);
inline ErrorCode Fail(const FileError& error) { return Fail(error.code, error.argument); }

}  // namespace tembrovia
