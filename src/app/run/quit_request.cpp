#include "app/run/quit_request.h"

namespace tembrovia {

QuitRequest& ProcessQuitRequest() {
  static QuitRequest request;
  return request;
}

ErrorCode ScriptLineHook(VMState* state, const HookEvent&) {
  if (ProcessQuitRequest().Pending() && !GetStopFlag(state)) SetStopFlag(state);
  return ERR_NONE;
}

void InstallScriptLineHook(VMState* state) { SetHook(state, ScriptLineHook, HookMaskLine, 0); }

}  // namespace tembrovia
