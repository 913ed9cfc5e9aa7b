// DeleteFile: deletes a file, or a directory tree depth first, with a progress callback
// that can skip, unprotect and abort. Symbolic links are deleted, never followed: nothing
// outside the named tree is touched.
#pragma once

#include <functional>
#include <string>

#include "files/file_operation.h"

namespace tembrovia {

class FileNamespace;

inline constexpr int kDeleteFileStatus = 0;     // #DELETEFILE_STATUS
inline constexpr int kDeleteFileUnprotect = 1;  // #DELETEFILE_UNPROTECT

struct DeleteRequest {
  std::string path;     // a file or directory; a trailing separator keeps the directory itself
  std::string pattern;  // only files whose names match are deleted (the directories stay)
  bool recurse = true;  // false: enter only subdirectories whose names match pattern
};

// The callback's table: "action" and "file".
struct DeleteEvent {
  int action = kDeleteFileStatus;
  std::string file;
};

using DeleteCallback = std::function<CallbackAnswer(const DeleteEvent&)>;

// Errors: ERR_WRONGUSAGE (empty or virtual path), ERR_NODIRPATTERN (pattern with a file),
// ERR_DELETEFILE, ERR_EXAMINE, or the error a callback raised. A missing path does nothing;
// an abort is not an error. Without a callback, write-protected files are skipped.
FileError DeleteFiles(const DeleteRequest& request, const DeleteCallback& callback);
FileError DeleteFiles(const DeleteRequest& request, const DeleteCallback& callback, const FileNamespace& names);

}  // namespace tembrovia
