// The host's monotonic clock (CLOCK_MONOTONIC through std::chrono::steady_clock).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/clock.h"

namespace tembrovia {

class SystemClock final : public Clock {
 public:
  SystemClock();

  int64_t NowUs() override { return PeekUs(); }
  int64_t PeekUs() const override;
  std::time_t CalendarSeconds() override;
  bool WaitUntilUs(int64_t deadline_us) override;
  void Wake() override;

 private:
  std::chrono::steady_clock::time_point origin_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool woken_ = false;
};

}  // namespace tembrovia
