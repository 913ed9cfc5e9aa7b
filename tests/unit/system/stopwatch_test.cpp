#include "lib/system/stopwatch.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "string/tool_output.h"
#include "lib/system/program_info.h"

namespace tembrovia {
namespace {

constexpr int64_t kMs = 1000;  // microseconds

TEST(Stopwatch, RunsPausesResumesAndResets) {
  Stopwatch timer;
  timer.Start(5'000'000);
  EXPECT_EQ(timer.ElapsedMs(5'000'000), 0);
  EXPECT_EQ(timer.ElapsedMs(5'000'999), 0);
  EXPECT_EQ(timer.ElapsedMs(5'001'000), 1);
  timer.Pause(5'000'000 + 250 * kMs);
  EXPECT_TRUE(timer.paused());
  EXPECT_EQ(timer.ElapsedMs(5'000'000 + 750 * kMs), 250);  // the same before and after a wait
  timer.Pause(9'000'000'000);                              // already paused: nothing
  EXPECT_EQ(timer.ElapsedMs(9'000'000'000), 250);
  timer.Resume(6'000'000);
  timer.Resume(7'000'000);                                 // already running: nothing
  EXPECT_EQ(timer.ElapsedMs(6'000'000 + 100 * kMs), 350);
  timer.Reset(8'000'000, 1500);
  EXPECT_FALSE(timer.paused());
  EXPECT_EQ(timer.ElapsedMs(8'000'000), 1500);
  EXPECT_EQ(timer.ElapsedMs(8'000'000 + 20 * kMs), 1520);
}

TEST(Stopwatch, CountsForWeeks) {
  Stopwatch timer;
  timer.Start(1'000);
  int64_t forty_days_us = int64_t{40} * 24 * 3600 * 1000 * 1000;
  EXPECT_EQ(timer.ElapsedMs(1'000 + forty_days_us), int64_t{40} * 24 * 3600 * 1000);
  timer.Reset(0, int64_t{1} << 40);
  EXPECT_EQ(timer.ElapsedMs(0), int64_t{1} << 40);
  timer.Reset(0, INT64_MAX);  // saturates instead of overflowing
  EXPECT_GT(timer.ElapsedMs(kMs), int64_t{1} << 50);
}

TEST(Stopwatch, WaitMilliseconds) {
  EXPECT_EQ(WaitMilliseconds(50, kUnitTicks), 1000);
  EXPECT_EQ(WaitMilliseconds(2, kUnitSeconds), 2000);
  EXPECT_EQ(WaitMilliseconds(70, kUnitMilliseconds), 70);
  EXPECT_EQ(WaitMilliseconds(70, 42), 70);
  EXPECT_EQ(WaitMilliseconds(0, kUnitSeconds), 0);
  EXPECT_EQ(WaitMilliseconds(-5, kUnitTicks), 0);
  EXPECT_EQ(WaitMilliseconds(3'000'000, kUnitSeconds), 3'000'000'000);  // beyond 32 bits
  EXPECT_EQ(WaitMilliseconds(INT64_MAX, kUnitSeconds), INT64_MAX);
}

TEST(ProgramInfo, NamesTheRealHost) {
  std::string system, machine;
  ASSERT_TRUE(testing::RunTool("uname -s", system));
  ASSERT_TRUE(testing::RunTool("uname -m", machine));
  EXPECT_EQ(HostPlatform() + "\n", system);
  EXPECT_EQ(HostCpu() + "\n", machine);
  EXPECT_GT(FreePhysicalMemory(), uint64_t{1} << 20);
}

}  // namespace
}  // namespace tembrovia
