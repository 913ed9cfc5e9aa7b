// Integer arguments in 64 bits: positions, lengths, counts and milliseconds are truncated
// toward zero without the 32-bit saturation of CheckInteger, so that a huge count is still
// seen as huge (and refused or clipped by the command) rather than quietly cut. Flags are
// numbers, true when not 0.
#pragma once

#include <cstdint>

#include "common/numeric_conversion.h"
#include "lib/core/arguments.h"

namespace tembrovia {

inline int64_t CheckInt64(VMState* state, int i) { return TruncToInt64(CheckNumber(state, i)); }

inline int64_t OptInt64(VMState* state, int i, int64_t fallback) {
  return IsNone(state, i) ? fallback : CheckInt64(state, i);
}

inline bool CheckFlag(VMState* state, int i) { return CheckNumber(state, i) != 0; }

inline bool OptFlag(VMState* state, int i, bool fallback) {
  return IsNone(state, i) ? fallback : CheckFlag(state, i);
}

}  // namespace tembrovia
