#include "common/error_state.h"

#include <limits>
#include <new>
#include <utility>

namespace tembrovia {

void ErrorState::SetText(std::string_view text) {
  std::lock_guard lock(mutex_);
  arguments_.text.assign(text);
}

void ErrorState::SetNumber(int64_t number) {
  std::lock_guard lock(mutex_);
  arguments_.number = number;
}

ErrorArguments ErrorState::Arguments() const {
  std::lock_guard lock(mutex_);
  return arguments_;
}

ErrorCode ErrorState::RegisterText(std::string_view text) {
  std::lock_guard lock(mutex_);
  constexpr size_t kMaxRegistered =
      static_cast<size_t>(std::numeric_limits<ErrorCode>::max() - kFirstRegisteredError) + 1;
  if (registered_.size() >= kMaxRegistered) return ERR_MEM;
  try {
    registered_.emplace_back(text);
  } catch (const std::bad_alloc&) {
    return ERR_MEM;
  }
  return kFirstRegisteredError + static_cast<ErrorCode>(registered_.size() - 1);
}

std::optional<std::string> ErrorState::RegisteredText(ErrorCode code) const {
  std::lock_guard lock(mutex_);
  if (code < kFirstRegisteredError) return std::nullopt;
  const size_t index = static_cast<size_t>(code - kFirstRegisteredError);
  if (index >= registered_.size()) return std::nullopt;
  return registered_[index];
}

void ErrorState::SetContext(ErrorLocation context) {
  std::lock_guard lock(mutex_);
  context_ = std::move(context);
}

ErrorLocation ErrorState::Context() const {
  std::lock_guard lock(mutex_);
  return context_;
}

void ErrorState::ResetContext() {
  std::lock_guard lock(mutex_);
  context_.Reset();
}

ErrorState& ProcessErrorState() {
  static ErrorState state;
  return state;
}

}  // namespace tembrovia
