// What the attribute, existence and size commands report about a name, and the changes
// SetFileAttributes makes. Names go through the linked-file table, "PROGDIR:" and the
// backslash rule like every other name.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

class FileNamespace;

// The "type" of an entry (#DOSTYPE_FILE, #DOSTYPE_DIRECTORY).
inline constexpr int kDosTypeFile = 0;
inline constexpr int kDosTypeDirectory = 1;

struct FileInfo {
  bool isDirectory = false;
  bool isVirtual = false;
  int64_t size = 0;
  uint32_t flags = 0;         // #FILEATTR_*
  std::time_t modified = 0;   // "time"
  std::time_t accessed = 0;   // "lastaccesstime"
  std::time_t created = 0;    // "creationtime": birth time where the file system keeps one,
                              // else the last status change
  std::string path;           // the full host path, or the name as given for a virtual file
};

// nullopt when the name does not exist. A virtual name exists when it can be opened; it is
// reported as a file of its window's size with its host file's flags and dates.
std::optional<FileInfo> QueryFileInfo(std::string_view name);
std::optional<FileInfo> QueryFileInfo(std::string_view name, const FileNamespace& names);
// A host path as it is (symbolic links followed).
std::optional<FileInfo> QueryHostFileInfo(const std::string& hostPath);

// SetFileAttributes: a virtual name is ERR_WRONGUSAGE, a missing path ERR_LOCK2. Every date
// string is checked (ERR_INVALIDDATE) before anything changes; then the flags are applied
// (ERR_SETFILEATTR) and the dates written (ERR_SETFILEDATE). The host keeps no settable
// creation date: "creationtime" is checked and otherwise ignored, so that it never makes
// the change of the other dates fail.
struct FileAttributeChange {
  std::optional<uint32_t> flags;
  std::optional<std::string> time;
  std::optional<std::string> lastAccessTime;
  std::optional<std::string> creationTime;
};
ErrorCode ChangeFileAttributes(std::string_view name, const FileAttributeChange& change);
ErrorCode ChangeFileAttributes(std::string_view name, const FileAttributeChange& change,
                               const FileNamespace& names);

// Sets only the flags of a host path (used to clear write protection before overwriting).
bool SetHostAttributes(const std::string& hostPath, uint32_t flags);

}  // namespace tembrovia
