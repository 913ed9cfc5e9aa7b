// CopyFile and DeleteFile, with their script progress callbacks.
#include <string>

#include "files/file_copy.h"
#include "files/file_delete.h"
#include "lib/core/arguments.h"
#include "lib/dos/dos_arguments.h"
#include "lib/dos/dos_commands.h"
#include "lib/dos/script_callback.h"

namespace tembrovia {

// CopyFile(source, destdir, newname, callback, userdata, pattern, recurse)
int CmdCopyFile(VMState* state) {
  CheckArgCount(state, 2, 7);
  CopyRequest request;
  request.source = CheckString(state, 1);
  request.destinationDir = CheckString(state, 2);
  request.newName = OptName(state, 3);
  const bool hasCallback = OptCallback(state, 4);
  request.pattern = OptName(state, 6);
  request.recurse = OptFlag(state, 7, true);

  ScriptCallback script(state, hasCallback ? 4 : 0, 5);
  CopyCallback callback;
  if (script) {
    callback = [&script](const CopyEvent& event) {
      return script.Call([&event](ScriptCallback& table) {
        table.SetNumber("action", event.action);
        if (event.action != kCopyFileUnprotect) table.SetString("source", event.source);
        table.SetString("destination", event.destination);
        if (event.action == kCopyFileStatus) {
          table.SetNumber("copied", static_cast<double>(event.copied));
          table.SetNumber("filesize", static_cast<double>(event.fileSize));
        }
      });
    };
  }
  return Fail(CopyFiles(request, callback));
}

// DeleteFile(path, callback, userdata, pattern, recurse)
int CmdDeleteFile(VMState* state) {
  CheckArgCount(state, 1, 5);
  DeleteRequest request;
  request.path = CheckString(state, 1);
  const bool hasCallback = OptCallback(state, 2);
  request.pattern = OptName(state, 4);
  request.recurse = OptFlag(state, 5, true);

  ScriptCallback script(state, hasCallback ? 2 : 0, 3);
  DeleteCallback callback;
  if (script) {
    callback = [&script](const DeleteEvent& event) {
      return script.Call([&event](ScriptCallback& table) {
        table.SetNumber("action", event.action);
        table.SetString("file", event.file);
      });
    };
  }
  return Fail(DeleteFiles(request, callback));
}

}  // namespace tembrovia
