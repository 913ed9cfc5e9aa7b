#include "app/run/script_session.h"

#include <new>

namespace tembrovia {

ScriptSession::ScriptSession(Token, VMState* state)
    : state_(state), runtime_(std::make_unique<LibraryRuntime>(state)) {}

std::unique_ptr<ScriptSession> ScriptSession::Create() {
  VMState* state = NewState();
  if (state == nullptr) return nullptr;
  try {
    return std::make_unique<ScriptSession>(Token{}, state);
  } catch (const std::bad_alloc&) {
    CloseState(state);
    return nullptr;
  }
}

void ScriptSession::ReleaseObjects() {
  if (runtime_) runtime_->Shutdown();
}

void ScriptSession::Close() {
  if (state_ == nullptr) return;
  ReleaseObjects();
  runtime_.reset();
  CloseState(state_);
  state_ = nullptr;
}

}  // namespace tembrovia
