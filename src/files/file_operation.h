// Shared by the file operations that report progress to a script callback.
#pragma once

#include <string>

#include "common/error_codes.h"

namespace tembrovia {

// The outcome of a file operation: an error code and the text its message shows for "%s"
// (a path), empty when the message takes none.
struct FileError {
  ErrorCode code = ERR_NONE;
  std::string argument;
  bool ok() const { return code == ERR_NONE; }
};

// What a script callback answered: its first result as a number, an error it raised, or
// the user asking to end the program while it ran (which ends the operation without error).
struct CallbackAnswer {
  double value = 0;
  ErrorCode error = ERR_NONE;
  bool quit = false;
};

}  // namespace tembrovia
