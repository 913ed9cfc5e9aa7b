// The built-in error codes as data, derived from error_codes.def: the code, the script
// constant's name ("ERR_MEM") and the message id. The system library registers the ERR_
// constants from this list; FormatError finds a code's message through it.
#pragma once

#include <span>

#include "common/error_codes.h"

namespace tembrovia {

// Marks the codes whose message is the free text of the error-argument buffer.
constexpr int kFreeTextMessage = -1;

struct BuiltinError {
  ErrorCode code;
  const char* name;  // the constant's name with its prefix, e.g. "ERR_FINDBRUSH"
  int message_id;    // 0..680, or kFreeTextMessage
};

// Every built-in code 1000..1508 that occurs, in ascending order (ERR_NONE is not listed).
std::span<const BuiltinError> BuiltinErrors();

// The entry of a built-in code, or nullptr for 0, codes that do not occur and registered codes.
const BuiltinError* FindBuiltinError(ErrorCode code);

}  // namespace tembrovia
