#include "files/directory_listing.h"

#include <sys/stat.h>

#include <algorithm>

#include "files/file_namespace.h"
#include "files/path_parts.h"

namespace tembrovia {

ErrorCode DirectoryListing::Open(std::string_view path, std::unique_ptr<DirectoryListing>& listing) {
  return Open(path, listing, DefaultFileNamespace());
}

ErrorCode DirectoryListing::Open(std::string_view path, std::unique_ptr<DirectoryListing>& listing,
                                 const FileNamespace& names) {
  std::string hostPath = path.empty() ? std::string(1, '.') : names.ToHostPath(path);
  struct stat info;
  if (stat(hostPath.c_str(), &info) != 0) return ERR_LOCK2;
  DIR* dir = opendir(hostPath.c_str());
  if (dir == nullptr) return ERR_EXAMINE;
  listing.reset(new DirectoryListing(dir, std::move(hostPath)));
  return ERR_NONE;
}

DirectoryListing::~DirectoryListing() {
  if (dir_ != nullptr) closedir(dir_);
}

std::optional<DirectoryEntry> DirectoryListing::Next() {
  while (dir_ != nullptr) {
    dirent* entry = readdir(dir_);
    if (entry == nullptr) {
      closedir(dir_);
      dir_ = nullptr;
      break;
    }
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::string entryPath = FullPath(hostPath_, name);
    std::optional<FileInfo> info = QueryHostFileInfo(entryPath);
    if (!info) {
      info = FileInfo{};  // a dangling link: listed as an empty file
      info->path = entryPath;
    }
    return DirectoryEntry{std::string(name), std::move(*info)};
  }
  return std::nullopt;
}

ErrorCode ReadDirectoryNames(std::string_view path, bool sort, std::vector<std::string>& files,
                             std::vector<std::string>& directories) {
  return ReadDirectoryNames(path, sort, files, directories, DefaultFileNamespace());
}

ErrorCode ReadDirectoryNames(std::string_view path, bool sort, std::vector<std::string>& files,
                             std::vector<std::string>& directories, const FileNamespace& names) {
  std::unique_ptr<DirectoryListing> listing;
  if (ErrorCode error = DirectoryListing::Open(path, listing, names)) return error;
  files.clear();
  directories.clear();
  while (auto entry = listing->Next()) {
    (entry->info.isDirectory ? directories : files).push_back(std::move(entry->name));
  }
  if (sort) {
    std::sort(files.begin(), files.end());
    std::sort(directories.begin(), directories.end());
  }
  return ERR_NONE;
}

}  // namespace tembrovia
