#include "common/numeric_conversion.h"

#include <cmath>
#include <limits>

namespace tembrovia {

int32_t TruncToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

int64_t TruncToInt64(double value) {
  if (std::isnan(value)) return 0;
  // 2^63 is exactly representable; every double below it converts without overflow.
  if (value >= 9223372036854775808.0) return std::numeric_limits<int64_t>::max();
  if (value <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

uint32_t TruncToLow32(double value) {
  if (!std::isfinite(value)) return 0;
  double whole = std::trunc(value);
  if (std::fabs(whole) < 9223372036854775808.0) {
    return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(whole)));
  }
  // Beyond 64 bits the double is a multiple of a large power of two; fmod is exact.
  double rest = std::fmod(whole, 4294967296.0);
  if (rest < 0) rest += 4294967296.0;
  return static_cast<uint32_t>(rest);
}

uint32_t TruncToUint32(double value) {
  if (std::isnan(value) || value <= 0.0) return 0;
  if (value >= 4294967295.0) return std::numeric_limits<uint32_t>::max();
  return static_cast<uint32_t>(value);
}

}  // namespace tembrovia
