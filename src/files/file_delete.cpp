#include "files/file_delete.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "files/file_attributes.h"
#include "files/file_namespace.h"
#include "files/match_pattern.h"
#include "files/path_parts.h"
#include "files/virtual_name.h"

namespace tembrovia {
namespace {

enum class Flow { Continue, Skip, Abort };

// Works with directory descriptors and *at() calls, so a directory swapped for a link while
// the tree is deleted cannot lead outside it.
class Deleter {
 public:
  Deleter(const DeleteRequest& request, const DeleteCallback& callback) : request_(request), callback_(callback) {}

  FileError Run(const std::string& hostPath);

 private:
  Flow Ask(int action, const std::string& file, bool forStatus);
  Flow RemoveEntry(int dirFd, const std::string& name, const std::string& shownPath, bool isDirectory,
                   mode_t mode);
  Flow EmptyDirectory(int dirFd, const std::string& shownPath);
  Flow Fail(ErrorCode code, std::string argument = {}) {
    error_ = {code, std::move(argument)};
    return Flow::Abort;
  }

  const DeleteRequest& request_;
  const DeleteCallback& callback_;
  FileError error_;
};

Flow Deleter::Ask(int action, const std::string& file, bool forStatus) {
  CallbackAnswer answer = callback_({action, file});
  if (answer.error != ERR_NONE) return Fail(answer.error);
  if (answer.quit) return Flow::Abort;
  if (forStatus) return answer.value == 1 ? Flow::Abort : Flow::Continue;
  if (answer.value == -1) return Flow::Abort;
  return answer.value == 0 ? Flow::Skip : Flow::Continue;
}

Flow Deleter::RemoveEntry(int dirFd, const std::string& name, const std::string& shownPath, bool isDirectory,
                          mode_t mode) {
  if (!isDirectory && !S_ISLNK(mode) && IsWriteProtected(mode)) {
    if (!callback_) return Flow::Skip;
    Flow flow = Ask(kDeleteFileUnprotect, shownPath, false);
    if (flow != Flow::Continue) return flow;
    if (fchmodat(dirFd, name.c_str(), ModeFromAttributes(kFileAttrNormal, mode), 0) != 0) {
      return Fail(ERR_DELETEFILE);
    }
  }
  if (callback_) {
    Flow flow = Ask(kDeleteFileStatus, shownPath, true);
    if (flow != Flow::Continue) return flow;
  }
  if (unlinkat(dirFd, name.c_str(), isDirectory ? AT_REMOVEDIR : 0) != 0) return Fail(ERR_DELETEFILE);
  return Flow::Continue;
}

Flow Deleter::EmptyDirectory(int dirFd, const std::string& shownPath) {
  std::vector<std::string> names;
  {
    int listFd = dup(dirFd);
    DIR* dir = listFd >= 0 ? fdopendir(listFd) : nullptr;
    if (dir == nullptr) {
      if (listFd >= 0) close(listFd);
      return Fail(ERR_EXAMINE, shownPath);
    }
    while (dirent* entry = readdir(dir)) {
      std::string_view name = entry->d_name;
      if (name != "." && name != "..") names.emplace_back(name);
    }
    closedir(dir);
  }
  for (const std::string& name : names) {
    struct stat info;
    if (fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    std::string entryPath = FullPath(shownPath, name);
    bool matches = request_.pattern.empty() || MatchPattern(name, request_.pattern);
    Flow flow = Flow::Continue;
    if (S_ISDIR(info.st_mode)) {
      if (!request_.recurse && !(!request_.pattern.empty() && matches)) continue;
      int childFd = openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (childFd < 0) return Fail(ERR_EXAMINE, entryPath);
      flow = EmptyDirectory(childFd, entryPath);
      close(childFd);
      if (flow == Flow::Continue && request_.pattern.empty()) {
        flow = RemoveEntry(dirFd, name, entryPath, true, info.st_mode);
      }
    } else if (matches) {
      flow = RemoveEntry(dirFd, name, entryPath, false, info.st_mode);
    }
    if (flow == Flow::Abort) return flow;
  }
  return Flow::Continue;
}

FileError Deleter::Run(const std::string& hostPath) {
  struct stat info;
  if (lstat(hostPath.c_str(), &info) != 0) return {};
  bool keepDirectory = IsPathSeparator(request_.path.back()) || !request_.pattern.empty();
  std::string trimmed = hostPath;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  std::string parent(*PathPart(trimmed));
  std::string name(FilePart(trimmed));
  int parentFd = open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (parentFd < 0) return {ERR_DELETEFILE, {}};

  if (!S_ISDIR(info.st_mode)) {
    if (!request_.pattern.empty()) {
      close(parentFd);
      return {ERR_NODIRPATTERN, {}};
    }
    RemoveEntry(parentFd, name, request_.path, false, info.st_mode);
  } else {
    // A path given with a trailing separator may name a link to a directory: its contents
    // are what was asked for.
    int dirFd = open(hostPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (keepDirectory ? 0 : O_NOFOLLOW));
    if (dirFd < 0) {
      close(parentFd);
      return {ERR_EXAMINE, request_.path};
    }
    Flow flow = EmptyDirectory(dirFd, trimmed);
    close(dirFd);
    if (flow == Flow::Continue && !keepDirectory) RemoveEntry(parentFd, name, request_.path, true, info.st_mode);
  }
  close(parentFd);
  return error_;
}

}  // namespace

FileError DeleteFiles(const DeleteRequest& request, const DeleteCallback& callback) {
  return DeleteFiles(request, callback, DefaultFileNamespace());
}

FileError DeleteFiles(const DeleteRequest& request, const DeleteCallback& callback, const FileNamespace& names) {
  if (request.path.empty() || IsVirtualName(request.path)) return {ERR_WRONGUSAGE, {}};
  return Deleter(request, callback).Run(names.ToHostPath(request.path));
}

}  // namespace tembrovia
