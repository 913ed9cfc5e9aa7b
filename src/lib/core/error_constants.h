// The `#ERR_...` constants of the system library, derived from the one list of error codes.
#pragma once

#include <array>

#include "common/error_codes.h"
#include "lib/core/library_table.h"

namespace tembrovia {

inline constexpr auto kErrorConstants = std::to_array<ConstantEntry>({
#define TEMBROVIA_ERROR(code, name, message) {"ERR_" #name, nullptr, code},
#include "common/error_codes.def"
#undef TEMBROVIA_ERROR
});

}  // namespace tembrovia
