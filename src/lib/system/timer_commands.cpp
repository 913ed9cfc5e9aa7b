// The stopwatch timers and waiting. All time comes from the platform clock.
#include <limits>

#include "lib/core/arguments.h"
#include "lib/core/object_id.h"
#include "lib/math/integer_arguments.h"
#include "lib/system/script_wait.h"
#include "lib/system/system_commands.h"
#include "lib/system/system_data.h"
#include "platform/clock.h"

namespace tembrovia {
namespace {

int64_t NowUs() { return PlatformClock().NowUs(); }

// The timer named by argument 1, or the error for a missing one.
ErrorCode FindTimer(VMState* state, TimerRecord** timer) {
  return SystemLibrary(state).timers.Find(ReadObjectId(state, 1), Access::kRead, timer);
}

using TimerStep = void (Stopwatch::*)(int64_t);

// (id): a step of the stopwatch at the current time.
int StepTimer(VMState* state, TimerStep step) {
  CheckArgCount(state, 1, 1);
  TimerRecord* timer = nullptr;
  if (ErrorCode error = FindTimer(state, &timer)) return error;
  (timer->watch.*step)(NowUs());
  return 0;
}

}  // namespace

int CmdStartTimer(VMState* state) {
  CheckArgCount(state, 1, 1);
  const NewObjectId id = ReadNewObjectId(state, 1);
  ObjectList<TimerRecord>& timers = SystemLibrary(state).timers;
  // A timer of that number starts again in its place in the list, as a new object.
  if (!id.automatic) {
    if (TimerRecord* timer = timers.Find(ObjectId{id.number, nullptr})) {
      timer->data.ClearAll(state);
      timer->watch.Start(NowUs());
      return 0;
    }
  }
  TimerRecord& timer = timers.Add(id, std::make_unique<TimerRecord>());
  timer.watch.Start(NowUs());
  return PushCreated(state, timer, id);
}

int CmdStopTimer(VMState* state) {
  CheckArgCount(state, 1, 1);
  return SystemLibrary(state).timers.Free(state, ReadObjectId(state, 1));
}

int CmdGetTimer(VMState* state) {
  CheckArgCount(state, 1, 2);
  TimerRecord* timer = nullptr;
  if (ErrorCode error = FindTimer(state, &timer)) return error;
  PushNumber(state, static_cast<double>(timer->watch.ElapsedMs(NowUs())));
  return 1;
}

int CmdPauseTimer(VMState* state) { return StepTimer(state, &Stopwatch::Pause); }
int CmdResumeTimer(VMState* state) { return StepTimer(state, &Stopwatch::Resume); }

int CmdResetTimer(VMState* state) {
  CheckArgCount(state, 1, 2);
  TimerRecord* timer = nullptr;
  if (ErrorCode error = FindTimer(state, &timer)) return error;
  timer->watch.Reset(NowUs(), OptInt64(state, 2, 0));
  return 0;
}

int CmdWaitTimer(VMState* state) {
  CheckArgCount(state, 2, 3);
  TimerRecord* timer = nullptr;
  if (ErrorCode error = FindTimer(state, &timer)) return error;
  const int64_t ms = CheckInt64(state, 2);
  const bool restart = OptFlag(state, 3, true);
  if (timer->watch.paused()) return ERR_WRONGUSAGE;
  const int64_t elapsed = timer->watch.ElapsedMs(NowUs());
  if (ms > elapsed) {
    // A timer set below 0 can leave more to wait than 64 bits hold: it then waits for ever.
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    const int64_t remaining = elapsed < 0 && ms > kMax + elapsed ? kMax : ms - elapsed;
    if (ErrorCode error = ScriptWait(state, remaining)) return error;
  }
  if (restart) timer->watch.Start(NowUs());
  return 0;
}

int CmdWait(VMState* state) {
  CheckArgCount(state, 1, 2);
  const int64_t count = CheckInt64(state, 1);
  const int64_t unit = OptInt64(state, 2, kUnitTicks);
  return ScriptWait(state, WaitMilliseconds(count, unit));
}

}  // namespace tembrovia
