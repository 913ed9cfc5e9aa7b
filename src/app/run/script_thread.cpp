#include "app/run/script_thread.h"

#include <utility>

namespace tembrovia {
namespace {

// Script calls nest native frames on the machine stack (up to the VM's native call depth),
// so the thread gets more than the usual default.
constexpr size_t kScriptStackSize = size_t{16} << 20;

}  // namespace

ErrorCode ScriptThread::Start(VMState* state, std::function<void()> onEnd) {
  if (running_) return ERR_THREAD;
  state_ = state;
  onEnd_ = std::move(onEnd);
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return ERR_THREAD;
  pthread_attr_setstacksize(&attributes, kScriptStackSize);
  const int result = pthread_create(&thread_, &attributes, &ScriptThread::Main, this);
  pthread_attr_destroy(&attributes);
  if (result != 0) return ERR_THREAD;
  running_ = true;
  return ERR_NONE;
}

ErrorCode ScriptThread::Join() {
  if (running_) {
    pthread_join(thread_, nullptr);
    running_ = false;
  }
  return status_;
}

void* ScriptThread::Main(void* self) {
  auto* thread = static_cast<ScriptThread*>(self);
  thread->status_ = ProtectedCall(thread->state_, 0, 0);
  if (thread->onEnd_) thread->onEnd_();
  return nullptr;
}

}  // namespace tembrovia
