// Listing directories: the engine of OpenDirectory / NextDirectoryEntry and ReadDirectory.
#pragma once

#include <dirent.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/error_codes.h"
#include "files/file_info.h"

namespace tembrovia {

class FileNamespace;

struct DirectoryEntry {
  std::string name;
  FileInfo info;  // of the entry (symbolic links followed; a dangling link is a file)
};

class DirectoryListing {
 public:
  // ERR_LOCK2 when the path does not exist, ERR_EXAMINE when it is not a listable directory.
  static ErrorCode Open(std::string_view path, std::unique_ptr<DirectoryListing>& listing);
  static ErrorCode Open(std::string_view path, std::unique_ptr<DirectoryListing>& listing,
                        const FileNamespace& names);
  ~DirectoryListing();
  DirectoryListing(const DirectoryListing&) = delete;
  DirectoryListing& operator=(const DirectoryListing&) = delete;

  // The next entry ("." and ".." left out), or nullopt once the listing is exhausted, and on
  // every call after that.
  std::optional<DirectoryEntry> Next();
  bool Exhausted() const { return dir_ == nullptr; }

 private:
  DirectoryListing(DIR* dir, std::string hostPath) : dir_(dir), hostPath_(std::move(hostPath)) {}
  DIR* dir_;
  std::string hostPath_;
};

// ReadDirectory: the names of the files and of the subdirectories of `path`; each list in
// byte-wise order (the script less-than on strings) when `sort` is set, else in listing
// order. ERR_LOCK2 for a missing path.
ErrorCode ReadDirectoryNames(std::string_view path, bool sort, std::vector<std::string>& files,
                             std::vector<std::string>& directories);
ErrorCode ReadDirectoryNames(std::string_view path, bool sort, std::vector<std::string>& files,
                             std::vector<std::string>& directories, const FileNamespace& names);

}  // namespace tembrovia
