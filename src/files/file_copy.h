// CopyFile: copies a file, or a directory's contents, into a destination directory, with a
// progress callback that can skip, overwrite, unprotect and abort.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "files/file_operation.h"

namespace tembrovia {

class FileNamespace;

inline constexpr int kCopyFileStatus = 0;     // #COPYFILE_STATUS
inline constexpr int kCopyFileOverwrite = 1;  // #COPYFILE_OVERWRITE
inline constexpr int kCopyFileUnprotect = 2;  // #COPYFILE_UNPROTECT

struct CopyRequest {
  std::string source;          // a file (also a linked or virtual file) or a directory
  std::string destinationDir;  // created with its parents when missing
  std::string newName;         // renames a single copied file
  std::string pattern;         // wildcards (MatchPattern) choosing the files of a directory
  bool recurse = true;         // false: enter only subdirectories whose names match pattern
};

// The callback's table: "action", then "source" and "destination" (overwrite), only
// "destination" (unprotect), or all four with "copied" and "filesize" (status).
struct CopyEvent {
  int action = kCopyFileStatus;
  std::string source;
  std::string destination;
  int64_t copied = 0;
  int64_t fileSize = 0;
};

using CopyCallback = std::function<CallbackAnswer(const CopyEvent&)>;

inline constexpr size_t kCopyBlockSize = 16384;

// Errors: ERR_WRONGUSAGE (empty source and destination; a new name for a directory; a file
// copied onto itself; a directory copied into itself), ERR_NODIRPATTERN, ERR_LOCK2 (missing
// source, with its name), ERR_READFILE, ERR_WRITEFILE, ERR_WRITE, ERR_CREATEDIR, ERR_EXAMINE,
// or the error a callback raised. An abort is not an error; a partly written file is deleted.
// Without a callback an existing destination is overwritten unless it is write-protected,
// in which case it is skipped. Symbolic links to directories inside a copied tree are not
// followed.
FileError CopyFiles(const CopyRequest& request, const CopyCallback& callback);
FileError CopyFiles(const CopyRequest& request, const CopyCallback& callback, const FileNamespace& names);

}  // namespace tembrovia
