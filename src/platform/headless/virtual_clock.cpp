#include "platform/headless/virtual_clock.h"

namespace tembrovia {

VirtualClock::VirtualClock() : VirtualClock(std::time(nullptr)) {}

VirtualClock::VirtualClock(std::time_t calendar_start) : calendar_start_(calendar_start) {}

int64_t VirtualClock::NowUs() { return now_us_.fetch_add(kReadStepUs) + kReadStepUs; }

std::time_t VirtualClock::CalendarSeconds() {
  return calendar_start_ + static_cast<std::time_t>(NowUs() / 1000000);
}

bool VirtualClock::WaitUntilUs(int64_t deadline_us) {
  if (woken_.exchange(false)) return false;
  int64_t now = now_us_.load();
  while (now < deadline_us && !now_us_.compare_exchange_weak(now, deadline_us)) {
  }
  return true;
}

}  // namespace tembrovia
