#include "platform/clock.h"

#include <atomic>
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
      HeadlessRequested() ? std::unique_ptr<Clock>(std::make_unique<VirtualClock>())
                          : std::unique_ptr<Clock>(std::make_unique<SystemClock>());
  return *chosen;
}

}  // namespace

bool HeadlessRequested() {
  const char* value = std::getenv("TEMBROVIA_HEADLESS");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

Clock& PlatformClock() {
  if (Clock* clock = g_replacement.load()) return *clock;
  return ChosenClock();
}

void SetPlatformClock(Clock* clock) { g_replacement.store(clock); }

}  // namespace tembrovia
