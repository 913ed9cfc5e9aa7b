// Error codes: integers from end to end. 0 is no error, 1000..1508 the built-in codes,
// 1509 and up texts registered at run time.
#pragma once

#include <cstdint>

namespace tembrovia {

using ErrorCode = int32_t;

enum : ErrorCode {
  ERR_NONE = 0,
#define TEMBROVIA_ERROR(code, name, message) ERR_##name = code,
#include "common/error_codes.def"
#undef TEMBROVIA_ERROR
};

constexpr ErrorCode kFirstBuiltinError = 1000;
constexpr ErrorCode kLastBuiltinError = 1508;
constexpr ErrorCode kFirstRegisteredError = 1509;

}  // namespace tembrovia
