#include "app/run/protected_step.h"

namespace tembrovia {
namespace {

int RunStep(VMState* state) {
  const auto* step = static_cast<const DriverStep*>(ToUserdata(state, UpvalueIndex(1)));
  return (*step)(state);
}

}  // namespace

ErrorCode RunProtected(VMState* state, const DriverStep& step) {
  const int top = GetTop(state);
  PushLightUserdata(state, const_cast<DriverStep*>(&step));
  PushNativeClosure(state, RunStep, 1);
  ErrorCode error = ProtectedCall(state, 0, 0);
  SetTop(state, top);
  return error;
}

}  // namespace tembrovia
