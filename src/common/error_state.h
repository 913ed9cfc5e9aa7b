// The process-wide error state: the error-argument buffers that a failing command fills
// before it returns its code, the error texts registered at run time (codes 1509 and up),
// and the error context of the last raised error (command or function name, script line,
// script name).
//
// The VM records its own error context (vm/api.h) while it unwinds; the host copies it here
// (SetContext) so that the final report can read it without a VM state. Every member
// function locks, so helper threads may set arguments too; readers get copies.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/error_codes.h"

namespace tembrovia {

// The host's copy of the error context: where the last error happened.
struct ErrorLocation {
  static constexpr std::string_view kUnknownName = "----";
  static constexpr std::string_view kUnknownScript = "?";

  std::string name{kUnknownName};           // failing command or function
  int line = -1;                            // script line, -1 when unknown
  std::string script_name{kUnknownScript};  // "?" (or "") until a script frame has run

  bool HasName() const { return name != kUnknownName; }
  bool HasScriptName() const { return !script_name.empty() && script_name != kUnknownScript; }
  // After an error has been handled: name and line are forgotten, the script name stays.
  void Reset() {
    name = kUnknownName;
    line = -1;
  }
};

// The "%s" and "%d"/"%ld" arguments of a message.
struct ErrorArguments {
  std::string text;    // usually a file or object name; the whole message for free-text codes
  int64_t number = 0;  // usually an object id or an argument position
};

class ErrorState {
 public:
  void SetText(std::string_view text);
  void SetNumber(int64_t number);
  ErrorArguments Arguments() const;

  // Appends a copy of text and returns its code (1509 for the first); ERR_MEM when out of
  // memory or when the codes are used up.
  ErrorCode RegisterText(std::string_view text);
  // The text registered under code, if any.
  std::optional<std::string> RegisteredText(ErrorCode code) const;

  void SetContext(ErrorLocation context);
  ErrorLocation Context() const;
  void ResetContext();

 private:
  mutable std::mutex mutex_;
  ErrorArguments arguments_;
  std::vector<std::string> registered_;
  ErrorLocation context_;
};

// The one instance the program uses.
ErrorState& ProcessErrorState();

// Shorthands on the process instance, for the code that raises errors.
inline void SetErrorText(std::string_view text) { ProcessErrorState().SetText(text); }
inline void SetErrorNumber(int64_t number) { ProcessErrorState().SetNumber(number); }
inline ErrorCode RegisterErrorText(std::string_view text) {
  return ProcessErrorState().RegisterText(text);
}

}  // namespace tembrovia
