#include "lib/system/script_wait.h"

#include <limits>

#include "lib/system/quit_check.h"
#include "platform/clock.h"

namespace tembrovia {

ErrorCode ScriptWait(VMState* state, int64_t ms) {
  if (ms <= 0) return ERR_NONE;
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  Clock& clock = PlatformClock();
  const int64_t now = clock.PeekUs();
  const int64_t us = ms > kMax / 1000 ? kMax : ms * 1000;
  const int64_t deadline = us > kMax - now ? kMax : now + us;
  while (!clock.WaitUntilUs(deadline)) {
    if (ScriptShouldStop(state)) return ERR_USERABORT;
  }
  return ERR_NONE;
}

}  // namespace tembrovia
