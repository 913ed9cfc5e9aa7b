// The time the player runs on, and waiting for it.
//
// Every reading of "now" for scripts (stopwatch timers, Wait, WaitTimer, dates, the random
// seed) and every wait goes through the one Clock of the process, so that headless runs can
// replace real time with virtual time:
//   - SystemClock: the host's monotonic clock; waits sleep on a condition variable.
//   - VirtualClock (headless): time stands still except that a wait jumps straight to its
//     deadline, and each reading for a script steps it forward a little, so busy-polling
//     loops still end. Ten seconds of script time take no real time at all.
// The event loop and timers extend this later (a wait that also ends on the next due event).
#pragma once

#include <cstdint>
#include <ctime>

namespace tembrovia {

class Clock {
 public:
  virtual ~Clock() = default;

  // Microseconds since the clock started; never goes back. This is a script's reading: the
  // virtual clock moves on by its read step each time.
  virtual int64_t NowUs() = 0;
  int64_t NowMs() { return NowUs() / 1000; }

  // The same without the read step, for the waiting code's own arithmetic.
  virtual int64_t PeekUs() const = 0;

  // The calendar time (seconds since the epoch) that goes with the clock: the host's for the
  // system clock; for the virtual clock the host's time at its start plus the virtual time.
  // Also a script's reading, which moves the virtual clock on.
  virtual std::time_t CalendarSeconds() = 0;

  // Waits until PeekUs() reaches deadline_us (at once when it already has). Returns false
  // when Wake ended the wait early.
  virtual bool WaitUntilUs(int64_t deadline_us) = 0;

  // From any thread: ends the running wait early, or the next one when none is running.
  virtual void Wake() = 0;
};

// The process's clock, chosen on first use: the virtual clock when the environment variable
// TEMBROVIA_HEADLESS is "1", else the system clock.
Clock& PlatformClock();

// Puts another clock in place of the chosen one (tests; the driver when it falls back to
// headless mode); null goes back to the choice above. The clock must outlive its use.
void SetPlatformClock(Clock* clock);

// Whether TEMBROVIA_HEADLESS asks for headless mode.
bool HeadlessRequested();

// The calendar start of the virtual clock: the seconds since the epoch given in
// TEMBROVIA_CLOCK_START (whole decimal number), else the host's time now. A fixed start makes
// a headless run repeat exactly, dates and the random seed included.
std::time_t VirtualCalendarStart(const char* clock_start);

}  // namespace tembrovia
