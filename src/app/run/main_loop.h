// The main thread's loop while the script runs. The main thread is the window thread: each
// pass it waits for something to do (the script thread's end, a wake-up, or the next tick
// of its 20-millisecond timer), handles what was signalled, dispatches window input, turns
// pending close and break conditions into the quit request, and goes back to waiting. There
// are no windows yet: the break condition is an interrupt from the terminal (SIGINT, SIGTERM,
// SIGHUP). A second interrupt, when the script does not stop, ends the process the usual way.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tembrovia {

class QuitRequest;

class MainLoop {
 public:
  explicit MainLoop(QuitRequest& quit) : quit_(quit) {}

  // From the script thread, as its last act.
  void NotifyScriptEnded();
  // From any thread: run a pass now.
  void Wake();

  // Loops until the script thread has ended. Interrupt signals are caught while it runs.
  void Run();

  static constexpr std::chrono::milliseconds kTick{20};

 private:
  // One pass after a wait: the break conditions become the quit request.
  void HandleBreakConditions();

  QuitRequest& quit_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool scriptEnded_ = false;
  bool woken_ = false;
};

}  // namespace tembrovia
