#include "app/run/main_loop.h"

#include <csignal>

#include "app/run/quit_request.h"
#include "platform/clock.h"

namespace tembrovia {
namespace {

volatile std::sig_atomic_t interruptCount = 0;

void OnInterrupt(int signal) {
  if (interruptCount > 0) {
    // The script did not stop after the first request.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  interruptCount = interruptCount + 1;
}

constexpr int kBreakSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Catches the break signals for its lifetime and restores the earlier handlers.
class BreakSignals {
 public:
  BreakSignals() {
    interruptCount = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kBreakSignals); ++i) {
      sigaction(kBreakSignals[i], &action, &previous_[i]);
    }
  }
  ~BreakSignals() {
    for (size_t i = 0; i < std::size(kBreakSignals); ++i) {
      sigaction(kBreakSignals[i], &previous_[i], nullptr);
    }
  }
  BreakSignals(const BreakSignals&) = delete;
  BreakSignals& operator=(const BreakSignals&) = delete;

 private:
  struct sigaction previous_[std::size(kBreakSignals)] {};
};

}  // namespace

void MainLoop::NotifyScriptEnded() {
  {
    std::lock_guard lock(mutex_);
    scriptEnded_ = true;
  }
  wake_.notify_all();
}

void MainLoop::Wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  wake_.notify_all();
}

void MainLoop::HandleBreakConditions() {
  if (interruptCount > 0 && !quit_.Pending()) {
    quit_.Request();
    // A script waiting on the clock looks at the request at once.
    PlatformClock().Wake();
  }
}

void MainLoop::Run() {
  BreakSignals signals;
  std::unique_lock lock(mutex_);
  while (!scriptEnded_) {
    wake_.wait_for(lock, kTick, [this] { return scriptEnded_ || woken_; });
    woken_ = false;
    if (scriptEnded_) break;
    // Window messages are dispatched here once the platform has windows.
    HandleBreakConditions();
  }
}

}  // namespace tembrovia
