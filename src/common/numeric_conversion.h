// The one conversion from script numbers (doubles) to integers. Every truncation in the
// program goes through here, so NaN, infinities and values out of range have a defined
// result instead of undefined behaviour.
#pragma once

#include <cstdint>

namespace tembrovia {

// Truncation toward zero to a signed 32-bit integer; out-of-range values saturate at the
// nearest bound, NaN gives 0.
int32_t TruncToInt32(double value);

// Truncation toward zero to a signed 64-bit integer; saturating, NaN gives 0.
int64_t TruncToInt64(double value);

// The low 32 bits of the value truncated toward zero, as an unsigned pattern: exactly the
// integer modulo 2^32, so 4294967295 and -1 give the same bits. NaN and infinities give 0.
uint32_t TruncToLow32(double value);

// Truncation toward zero clamped to 0..4294967295; NaN gives 0.
uint32_t TruncToUint32(double value);

// Signed reading of the low 32 bits (the "int32" rule read back as signed).
inline int32_t TruncToLow32Signed(double value) { return static_cast<int32_t>(TruncToLow32(value)); }

}  // namespace tembrovia
