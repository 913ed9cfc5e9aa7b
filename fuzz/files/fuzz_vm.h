// One VM state shared by the runs of a fuzz target, and a protected step in it: what the
// commands do with the records they read (loading chunks, building tables) runs here as it
// does in the player, and any raised error ends only the step.
#pragma once

#include <functional>

#include "vm/api.h"

namespace tembrovia {

inline VMState* FuzzState() {
  static VMState* state = [] {
    VMState* created = NewState();
    SetMemoryLimit(created, size_t{256} << 20);
    return created;
  }();
  return state;
}

// Runs step(state) protected; the stack is emptied afterwards and garbage collected now and
// then so that the runs do not pile up.
inline void RunInFuzzState(const std::function<void(VMState*)>& step) {
  static int runs = 0;
  VMState* state = FuzzState();
  PushNativeFunction(state, [](VMState* s) {
    (*static_cast<const std::function<void(VMState*)>*>(ToUserdata(s, 1)))(s);
    return 0;
  });
  PushLightUserdata(state, const_cast<std::function<void(VMState*)>*>(&step));
  ProtectedCall(state, 1, 0);
  SetTop(state, 0);
  if (++runs % 64 == 0) CollectGarbage(state);
}

}  // namespace tembrovia
