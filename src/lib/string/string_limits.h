// The longest string a command may build, and the guard that turns a failed allocation into
// ERR_MEM. Script strings carry a 32-bit length; results that would come near it are refused
// before any memory is requested.
#pragma once

#include <cstddef>
#include <new>
#include <stdexcept>

#include "common/error_codes.h"

namespace tembrovia {

constexpr size_t kMaxStringLength = 0x7FFFFFFF;

// Runs a string-building step that returns an ErrorCode; running out of memory gives ERR_MEM.
template <class Build>
ErrorCode CatchOutOfMemory(Build build) {
  try {
    return build();
  } catch (const std::bad_alloc&) {
    return ERR_MEM;
  } catch (const std::length_error&) {
    return ERR_MEM;
  }
}

}  // namespace tembrovia
