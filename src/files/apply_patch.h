// ApplyPatch: builds dest from source and a byte-wise XOR patch. For each patch byte p (from
// the patch's position to its length): dest gets p XOR the next source byte, or the
// complement of p once the source is at its end. The result is as long as the patch.
#pragma once

#include <functional>

#include "common/error_codes.h"
#include "files/file_operation.h"

namespace tembrovia {

class FileHandle;

struct PatchProgress {
  // Called with 0..100 whenever the integer part of the progress changes; its answer's
  // error ends the command with that error (value is not used).
  std::function<CallbackAnswer(int percent)> onProgress;
  // The event check after every byte; true when the user asked to quit (ends the command
  // without error).
  std::function<bool()> shouldStop;
};

// Errors of the handles' reads and writes (ERR_WRITEONLY, ERR_READONLY, ERR_READ,
// ERR_WRITE), or the callback's. An empty patch writes nothing and calls nothing.
ErrorCode ApplyPatch(FileHandle& patch, FileHandle& source, FileHandle& dest, const PatchProgress& progress = {});

}  // namespace tembrovia
