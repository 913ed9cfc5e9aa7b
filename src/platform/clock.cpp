#include "platform/clock.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/headless/virtual_clock.h"
#include "platform/system_clock.h"

namespace tembrovia {
namespace {

std::atomic<Clock*> g_replacement{nullptr};

Clock& ChosenClock() {
  static const std::unique_ptr<Clock> chosen =
      HeadlessRequested() ? std::unique_ptr<Clock>(std::make_unique<VirtualClock>(
                                VirtualCalendarStart(std::getenv("TEMBROVIA_CLOCK_START"))))
                          : std::unique_ptr<Clock>(std::make_unique<SystemClock>());
  return *chosen;
}

}  // namespace

bool HeadlessRequested() {
  const char* value = std::getenv("TEMBROVIA_HEADLESS");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

std::time_t VirtualCalendarStart(const char* clock_start) {
  if (clock_start != nullptr && *clock_start != '\0') {
    char* end = nullptr;
    errno = 0;
    long long seconds = std::strtoll(clock_start, &end, 10);
    if (*end == '\0' && errno == 0 && seconds >= 0) return static_cast<std::time_t>(seconds);
  }
  return std::time(nullptr);
}

Clock& PlatformClock() {
  if (Clock* clock = g_replacement.load()) return *clock;
  return ChosenClock();
}

void SetPlatformClock(Clock* clock) { g_replacement.store(clock); }

}  // namespace tembrovia
