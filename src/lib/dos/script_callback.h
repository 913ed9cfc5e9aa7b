// The progress callbacks of CopyFile, DeleteFile and ApplyPatch: the script function is
// called with one table of fields (plus "userdata" when the script gave one), protected and
// with the callback depth raised, as every callback into script code is. Its first result
// is the answer; an error it raises ends the command with that error, and a stop request
// made while it ran (the user closing the program) ends the command without one.
#pragma once

#include <cstdint>
#include <string_view>

#include "files/file_operation.h"
#include "vm/api.h"

namespace tembrovia {

class ScriptCallback {
 public:
  // functionArg: stack index of the function, 0 for none; userdataArg: index of the value
  // passed as "userdata", 0 for none (an absent or Nil argument gives none).
  ScriptCallback(VMState* state, int functionArg, int userdataArg);

  explicit operator bool() const { return function_ != 0; }

  // Builds the table with the fields `fill` sets through the Set... members, and calls.
  template <class Fill>
  CallbackAnswer Call(Fill&& fill) {
    Begin();
    fill(*this);
    return Finish();
  }

  void SetNumber(const char* field, double value);
  void SetString(const char* field, std::string_view value);

 private:
  void Begin();
  CallbackAnswer Finish();

  VMState* state_;
  int function_;
  int userdata_;
  int base_ = 0;
};

}  // namespace tembrovia
