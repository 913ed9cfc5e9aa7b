// Stopwatch timers and waiting times, in 64-bit microseconds and milliseconds of the engine
// clock, so timers that run for weeks and long waits keep counting correctly.
#pragma once

#include <cstdint>

namespace tembrovia {

constexpr int kUnitSeconds = 0;
constexpr int kUnitMilliseconds = 1;
constexpr int kUnitTicks = 2;  // 20 ms each

class Stopwatch {
 public:
  // Starts from 0 ms, running.
  void Start(int64_t now_us);
  // A running timer: accumulated + (now - start); a paused one: accumulated.
  int64_t ElapsedMs(int64_t now_us) const;
  // Running: collects the time so far and stops. Paused: nothing.
  void Pause(int64_t now_us);
  // Paused: runs on from the collected time. Running: nothing.
  void Resume(int64_t now_us);
  // Runs on from `ms`.
  void Reset(int64_t now_us, int64_t ms);
  bool paused() const { return paused_; }

 private:
  int64_t start_us_ = 0;
  int64_t accumulated_us_ = 0;
  bool paused_ = false;
};

// The milliseconds Wait waits for a count in a unit (#SECONDS, #TICKS; any other value counts
// milliseconds); 0 for a count of 0 or less.
int64_t WaitMilliseconds(int64_t count, int64_t unit);

}  // namespace tembrovia
