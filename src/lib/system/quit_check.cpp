#include "lib/system/quit_check.h"

#include <atomic>

namespace tembrovia {
namespace {

std::atomic<bool (*)()> g_quit_request_check{nullptr};

}  // namespace

bool ScriptShouldStop(VMState* state) {
  if (GetStopFlag(state)) return true;
  bool (*pending)() = g_quit_request_check.load();
  return pending != nullptr && pending();
}

void SetQuitRequestCheck(bool (*pending)()) { g_quit_request_check.store(pending); }

}  // namespace tembrovia
