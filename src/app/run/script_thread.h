// The script thread: calls the loaded main chunk (on the top of the stack) with a protected
// call, no arguments and no results, and keeps its status as the run's result. From its start
// until Join returns, only this thread touches the state.
#pragma once

#include <pthread.h>

#include <functional>

#include "common/error_codes.h"
#include "vm/api.h"

namespace tembrovia {

class ScriptThread {
 public:
  ScriptThread() = default;
  ~ScriptThread() { Join(); }
  ScriptThread(const ScriptThread&) = delete;
  ScriptThread& operator=(const ScriptThread&) = delete;

  // Starts the thread; onEnd runs on it after the call. ERR_THREAD when the thread cannot
  // be made.
  ErrorCode Start(VMState* state, std::function<void()> onEnd);
  // Waits for the end and returns the script's status (ERR_NONE when never started).
  ErrorCode Join();

 private:
  static void* Main(void* self);

  VMState* state_ = nullptr;
  std::function<void()> onEnd_;
  ErrorCode status_ = ERR_NONE;
  pthread_t thread_{};
  bool running_ = false;
};

}  // namespace tembrovia
