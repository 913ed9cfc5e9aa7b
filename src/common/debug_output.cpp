#include "common/debug_output.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>

#include "common/debug_shared_memory.h"
#include "common/error_state.h"

namespace tembrovia {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The process-wide channel: the chosen device and whether one was given.
class DebugOutput {
 public:
  ErrorCode Open(std::string_view device) {
    std::lock_guard lock(mutex_);
    CloseLocked();
    given_ = true;
    if (device.starts_with(kFilePrefix)) {
      const std::string path(device.substr(kFilePrefix.size()));
      file_.reset(std::fopen(path.c_str(), "wb"));
      if (!file_) {
        SetErrorText(path);
        return ERR_WRITEFILE;
      }
    } else if (device.starts_with(kWindowPrefix)) {
      // The number names a window to notify; there is none here, readers poll the memory.
      shared_ = SharedDebugMemory::Create();
      if (!shared_) return ERR_MEM;
    }
    return ERR_NONE;
  }

  void Close() {
    std::lock_guard lock(mutex_);
    CloseLocked();
    given_ = false;
  }

  bool given() const {
    std::lock_guard lock(mutex_);
    return given_;
  }

  std::string SharedName() const {
    std::lock_guard lock(mutex_);
    return shared_ ? shared_->name() : std::string();
  }

  void Write(std::string_view text) {
    text = text.substr(0, std::min(text.size(), kDebugOutputSize - 1));
    std::lock_guard lock(mutex_);
    if (shared_) {
      shared_->Write(text);
      return;
    }
    std::FILE* out = file_ ? file_.get() : stdout;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fflush(out);
  }

 private:
  static constexpr std::string_view kFilePrefix = "::file";
  static constexpr std::string_view kWindowPrefix = "::hwnd";

  void CloseLocked() {
    file_.reset();
    shared_.reset();
  }

  mutable std::mutex mutex_;
  bool given_ = false;
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::optional<SharedDebugMemory> shared_;
};

DebugOutput& ProcessDebugOutput() {
  static DebugOutput output;
  return output;
}

}  // namespace

ErrorCode OpenDebugDevice(std::string_view device) { return ProcessDebugOutput().Open(device); }

void CloseDebugDevice() { ProcessDebugOutput().Close(); }

bool DebugDeviceGiven() { return ProcessDebugOutput().given(); }

std::string DebugSharedMemoryName() { return ProcessDebugOutput().SharedName(); }

void DebugWrite(const char* format, ...) {
  char buffer[kDebugOutputSize];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (length < 0) return;
  ProcessDebugOutput().Write(
      std::string_view(buffer, std::min(static_cast<size_t>(length), sizeof buffer - 1)));
}

void DebugWriteText(std::string_view text) { ProcessDebugOutput().Write(text); }

}  // namespace tembrovia
