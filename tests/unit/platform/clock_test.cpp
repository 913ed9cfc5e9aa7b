#include <gtest/gtest.h>
#include <stdlib.h>

#include <thread>

#include "platform/clock.h"
#include "platform/headless/virtual_clock.h"
#include "platform/system_clock.h"

namespace tembrovia {
namespace {

TEST(VirtualClock, MovesOnlyWhenWaitedOnOrRead) {
  VirtualClock clock(1000);
  EXPECT_EQ(clock.PeekUs(), 0);
  EXPECT_EQ(clock.PeekUs(), 0);
  EXPECT_EQ(clock.NowUs(), VirtualClock::kReadStepUs);
  EXPECT_EQ(clock.NowUs(), 2 * VirtualClock::kReadStepUs);
  EXPECT_TRUE(clock.WaitUntilUs(10'000'000'000));  // ten thousand seconds, at once
  EXPECT_EQ(clock.PeekUs(), 10'000'000'000);
  EXPECT_TRUE(clock.WaitUntilUs(5));  // a deadline in the past leaves the time alone
  EXPECT_EQ(clock.PeekUs(), 10'000'000'000);
  EXPECT_EQ(clock.CalendarSeconds(), 1000 + 10'000);
}

TEST(VirtualClock, AWakeUpEndsTheNextWait) {
  VirtualClock clock;
  clock.Wake();
  EXPECT_FALSE(clock.WaitUntilUs(1'000'000));
  EXPECT_EQ(clock.PeekUs(), 0);
  EXPECT_TRUE(clock.WaitUntilUs(1'000'000));
  EXPECT_EQ(clock.PeekUs(), 1'000'000);
}

TEST(VirtualClock, BusyPollingEnds) {
  VirtualClock clock;
  int readings = 0;
  while (clock.NowMs() < 1000) ++readings;
  EXPECT_EQ(readings, 1000 * 1000 / VirtualClock::kReadStepUs - 1);
}

TEST(SystemClock, WaitsUntilTheDeadline) {
  SystemClock clock;
  const int64_t deadline = clock.PeekUs() + 20'000;
  EXPECT_TRUE(clock.WaitUntilUs(deadline));
  EXPECT_GE(clock.PeekUs(), deadline);
  const int64_t now = clock.NowUs();
  EXPECT_GE(clock.NowUs(), now);
  EXPECT_TRUE(clock.WaitUntilUs(0));  // long past
}

TEST(SystemClock, AWakeUpFromAnotherThreadEndsAWait) {
  SystemClock clock;
  std::thread waker([&] { clock.Wake(); });
  // An hour away: only the wake-up can end it (one given before the wait starts counts too).
  EXPECT_FALSE(clock.WaitUntilUs(clock.PeekUs() + 3'600'000'000));
  waker.join();
  EXPECT_TRUE(clock.WaitUntilUs(clock.PeekUs() + 1000));
}

TEST(PlatformClock, CanBeReplaced) {
  Clock& chosen = PlatformClock();
  VirtualClock replacement;
  SetPlatformClock(&replacement);
  EXPECT_EQ(&PlatformClock(), &replacement);
  SetPlatformClock(nullptr);
  EXPECT_EQ(&PlatformClock(), &chosen);
}

TEST(PlatformClock, HeadlessModeIsAskedForWithOne) {
  const char* saved = getenv("TEMBROVIA_HEADLESS");
  const std::string old = saved ? saved : "";
  setenv("TEMBROVIA_HEADLESS", "1", 1);
  EXPECT_TRUE(HeadlessRequested());
  setenv("TEMBROVIA_HEADLESS", "0", 1);
  EXPECT_FALSE(HeadlessRequested());
  if (saved) {
    setenv("TEMBROVIA_HEADLESS", old.c_str(), 1);
  } else {
    unsetenv("TEMBROVIA_HEADLESS");
  }
}

TEST(PlatformClock, VirtualCalendarStartsWhereTheEnvironmentSays) {
  EXPECT_EQ(VirtualCalendarStart("1000000000"), 1000000000);
  EXPECT_EQ(VirtualClock(VirtualCalendarStart("86400")).CalendarSeconds(), 86400);
  // Anything but a whole non-negative number falls back to the host's time.
  const std::time_t before = std::time(nullptr);
  for (const char* bad : {static_cast<const char*>(nullptr), "", "12x", "-5", "99999999999999999999"}) {
    EXPECT_GE(VirtualCalendarStart(bad), before) << (bad ? bad : "null");
  }
}

}  // namespace
}  // namespace tembrovia
