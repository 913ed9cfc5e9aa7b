// The request to end the script that the main thread raises (a window's close or break
// request the script has not taken over; on a terminal, an interrupt), and the line hook
// that turns it into the VM's stop flag on the script thread.
#pragma once

#include <atomic>

#include "common/error_codes.h"
#include "vm/api.h"

namespace tembrovia {

class QuitRequest {
 public:
  void Request() { requested_.store(true, std::memory_order_relaxed); }
  bool Pending() const { return requested_.load(std::memory_order_relaxed); }
  void Clear() { requested_.store(false, std::memory_order_relaxed); }

 private:
  std::atomic<bool> requested_{false};
};

// The one request of the process.
QuitRequest& ProcessQuitRequest();

// The line hook installed before the script runs: it synchronises the displays with the
// changes the window thread made (once displays exist) and sets the stop flag when the
// quit request is pending.
ErrorCode ScriptLineHook(VMState* state, const HookEvent& event);

// Installs ScriptLineHook for every new line.
void InstallScriptLineHook(VMState* state);

}  // namespace tembrovia
