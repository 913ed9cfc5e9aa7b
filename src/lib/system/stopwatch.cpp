#include "lib/system/stopwatch.h"

#include <limits>

namespace tembrovia {
namespace {

constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin = std::numeric_limits<int64_t>::min();

int64_t SaturatingMultiply(int64_t value, int64_t factor) {
  if (value > kMax / factor) return kMax;
  if (value < kMin / factor) return kMin;
  return value * factor;
}

int64_t SaturatingAdd(int64_t a, int64_t b) {
  if (b > 0 && a > kMax - b) return kMax;
  if (b < 0 && a < kMin - b) return kMin;
  return a + b;
}

// Rounds toward minus infinity, as seconds plus non-negative microseconds convert.
int64_t FloorDiv1000(int64_t us) { return us / 1000 - (us % 1000 < 0 ? 1 : 0); }

}  // namespace

void Stopwatch::Start(int64_t now_us) { Reset(now_us, 0); }

int64_t Stopwatch::ElapsedMs(int64_t now_us) const {
  int64_t total = paused_ ? accumulated_us_ : SaturatingAdd(accumulated_us_, SaturatingAdd(now_us, -start_us_));
  return FloorDiv1000(total);
}

void Stopwatch::Pause(int64_t now_us) {
  if (paused_) return;
  accumulated_us_ = SaturatingAdd(accumulated_us_, SaturatingAdd(now_us, -start_us_));
  start_us_ = 0;
  paused_ = true;
}

void Stopwatch::Resume(int64_t now_us) {
  if (!paused_) return;
  start_us_ = now_us;
  paused_ = false;
}

void Stopwatch::Reset(int64_t now_us, int64_t ms) {
  accumulated_us_ = SaturatingMultiply(ms, 1000);
  start_us_ = now_us;
  paused_ = false;
}

int64_t WaitMilliseconds(int64_t count, int64_t unit) {
  if (count <= 0) return 0;
  if (unit == kUnitSeconds) return SaturatingMultiply(count, 1000);
  if (unit == kUnitTicks) return SaturatingMultiply(count, 20);
  return count;
}

}  // namespace tembrovia
