#include "platform/system_clock.h"

namespace tembrovia {

SystemClock::SystemClock() : origin_(std::chrono::steady_clock::now()) {}

int64_t SystemClock::PeekUs() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - origin_).count();
}

std::time_t SystemClock::CalendarSeconds() { return std::time(nullptr); }

bool SystemClock::WaitUntilUs(int64_t deadline_us) {
  // A deadline too far away for the time_point arithmetic is as good as forever.
  constexpr int64_t kForeverUs = int64_t{1} << 53;
  if (deadline_us > kForeverUs) deadline_us = kForeverUs;
  const auto deadline = origin_ + std::chrono::microseconds(deadline_us);
  std::unique_lock lock(mutex_);
  wake_.wait_until(lock, deadline, [&] { return woken_ || std::chrono::steady_clock::now() >= deadline; });
  if (woken_) {
    woken_ = false;
    return false;
  }
  return true;
}

void SystemClock::Wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  wake_.notify_all();
}

}  // namespace tembrovia
