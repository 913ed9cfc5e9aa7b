#include "files/directory_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>

#include "files/file_namespace.h"
#include "files/path_parts.h"
#include "files/virtual_name.h"

namespace tembrovia {

ErrorCode MakeHostDirectories(const std::string& hostPath) {
  for (size_t end = 0; end != std::string::npos;) {
    end = hostPath.find('/', end + 1);
    std::string prefix = hostPath.substr(0, end);
    if (prefix.empty()) continue;
    struct stat info;
    if (stat(prefix.c_str(), &info) == 0) {
      if (!S_ISDIR(info.st_mode)) return ERR_CREATEDIR;
      continue;
    }
    if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return ERR_CREATEDIR;
  }
  return ERR_NONE;
}

ErrorCode MakeDirectory(std::string_view path) { return MakeDirectory(path, DefaultFileNamespace()); }

ErrorCode MakeDirectory(std::string_view path, const FileNamespace& names) {
  if (path.empty()) return ERR_WRONGUSAGE;
  if (IsVirtualName(path)) return ERR_CREATEDIR;
  return MakeHostDirectories(names.ToHostPath(path));
}

ErrorCode RenameFile(std::string_view path, std::string_view newName) {
  return RenameFile(path, newName, DefaultFileNamespace());
}

ErrorCode RenameFile(std::string_view path, std::string_view newName, const FileNamespace& names) {
  if (path.empty() || newName.empty() || IsVirtualName(path) || IsVirtualName(newName)) return ERR_WRONGUSAGE;
  std::string_view file = FilePart(newName);
  if (file.empty() || file == "." || file == "..") return ERR_WRONGUSAGE;
  std::string from = names.ToHostPath(path);
  while (from.size() > 1 && from.back() == '/') from.pop_back();
  std::string to = std::string(*PathPart(from)) + std::string(file);
  // Like the other systems scripts were written for, an existing target is not replaced.
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return ERR_NONE;
  if (errno != EINVAL) return ERR_RENAME;
  struct stat existing;  // a file system without RENAME_NOREPLACE
  if (lstat(to.c_str(), &existing) == 0) return ERR_RENAME;
  return std::rename(from.c_str(), to.c_str()) == 0 ? ERR_NONE : ERR_RENAME;
}

bool ChangeDirectory(std::string_view path) { return ChangeDirectory(path, DefaultFileNamespace()); }

bool ChangeDirectory(std::string_view path, const FileNamespace& names) {
  return chdir(names.ToHostPath(path).c_str()) == 0;
}

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

}  // namespace tembrovia
