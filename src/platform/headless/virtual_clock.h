// The clock of headless runs: time moves only when the script waits (straight to the
// deadline) and by a small step each time the script reads it.
#pragma once

#include <atomic>

#include "platform/clock.h"

namespace tembrovia {

class VirtualClock final : public Clock {
 public:
  // Small enough that a reading right after setting a timer still shows the value set, large
  // enough that a loop polling for one second ends after ten thousand readings.
  static constexpr int64_t kReadStepUs = 100;

  // Calendar time starts at `calendar_start` (default: the host's time now).
  VirtualClock();
  explicit VirtualClock(std::time_t calendar_start);

  int64_t NowUs() override;
  int64_t PeekUs() const override { return now_us_.load(); }
  std::time_t CalendarSeconds() override;
  bool WaitUntilUs(int64_t deadline_us) override;
  void Wake() override { woken_.store(true); }

 private:
  std::time_t calendar_start_;
  std::atomic<int64_t> now_us_{0};
  std::atomic<bool> woken_{false};
};

}  // namespace tembrovia
