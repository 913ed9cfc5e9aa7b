// The process-wide 48-bit linear congruential generator: X = (0x5DEECE66D * X + 11) mod 2^48,
// each draw yielding X / 2^48. The math library, random colours, layers and transitions all
// draw from the one instance the runtime owns.
#pragma once

#include <cstdint>

namespace tembrovia {

class Rand48State {
 public:
  Rand48State() { Seed(0); }

  // X = seed * 65536 + 0x330E.
  void Seed(uint32_t seed) { x_ = (static_cast<uint64_t>(seed) << 16) | 0x330E; }

  // A double in [0, 1).
  double Next() {
    x_ = (kMultiplier * x_ + kAddend) & kMask;
    return static_cast<double>(x_) / 281474976710656.0;  // 2^48
  }

  uint64_t state() const { return x_; }
  void set_state(uint64_t x) { x_ = x & kMask; }

 private:
  static constexpr uint64_t kMultiplier = 0x5DEECE66DULL;
  static constexpr uint64_t kAddend = 0xB;
  static constexpr uint64_t kMask = (1ULL << 48) - 1;
  uint64_t x_ = 0;
};

}  // namespace tembrovia
