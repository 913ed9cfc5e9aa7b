// What the virtual machine asks of its host. The VM knows nothing of command tables, message
// catalogs or debug devices; the host (the command framework and the driver) supplies them by
// deriving from VMHost and handing it to SetHost. Every method has a usable default, so a bare
// state (tests, tools) works without a host.
#pragma once

#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

struct VMState;
using NativeFunction = int (*)(VMState* state);

class VMHost {
 public:
  virtual ~VMHost() = default;

  // The mixed-case name of a registered command, for error contexts and the call trace;
  // empty when the function is no command (the context then shows "?").
  virtual std::string CommandName(NativeFunction function);

  // Fills the host's error-argument text buffer (the "%s" of a message) before the VM raises
  // an error that takes one (ERR_FIELDINIT, ERR_TABLEDECLA, ERR_FUNCDECLA, ERR_INTERNAL1).
  virtual void SetErrorText(std::string_view text);

  // The message of an error code, as handed to the script error handler.
  virtual std::string FormatError(ErrorCode code);

  // Writes text to the debug output channel (the call trace uses it).
  virtual void DebugWrite(std::string_view text);

  // The default instance, used when no host was set.
  static VMHost& Default();

  // The last text given to the default SetErrorText (tests and tools read it).
  const std::string& last_error_text() const { return last_error_text_; }

 private:
  std::string last_error_text_;
};

}  // namespace tembrovia
