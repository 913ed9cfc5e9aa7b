// The run's virtual machine: the VMState and the command framework's runtime that serves as
// its host. Closing releases every object list first (objects still hold references into
// the state) and then the state, running its pending finalisers.
#pragma once

#include <memory>

#include "lib/core/runtime.h"
#include "vm/api.h"

namespace tembrovia {

class ScriptSession {
  struct Token {
    explicit Token() = default;
  };

 public:
  // Null when the state cannot be made (out of memory).
  static std::unique_ptr<ScriptSession> Create();
  ~ScriptSession() { Close(); }
  ScriptSession(Token, VMState* state);
  ScriptSession(const ScriptSession&) = delete;
  ScriptSession& operator=(const ScriptSession&) = delete;

  VMState* state() const { return state_; }
  LibraryRuntime& runtime() const { return *runtime_; }

  // Frees every object list and library's data; the state stays usable for the report.
  void ReleaseObjects();
  // ReleaseObjects, then closes the state. Later calls do nothing.
  void Close();

 private:
  VMState* state_;
  std::unique_ptr<LibraryRuntime> runtime_;
};

}  // namespace tembrovia
