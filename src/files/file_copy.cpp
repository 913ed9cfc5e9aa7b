#include "files/file_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "files/directory_ops.h"
#include "files/file_attributes.h"
#include "files/file_namespace.h"
#include "files/file_stream.h"
#include "files/match_pattern.h"
#include "files/path_parts.h"
#include "files/virtual_name.h"

namespace tembrovia {
namespace {

enum class Flow { Continue, Skip, Abort };

// Copies the source's permission bits and dates onto a copied file or directory.
void CopyMetadata(const struct stat& source, const std::string& destination) {
  chmod(destination.c_str(), source.st_mode & 07777);
  struct timespec times[2] = {source.st_atim, source.st_mtim};
  utimensat(AT_FDCWD, destination.c_str(), times, 0);
}

bool IsInside(const std::filesystem::path& inner, const std::filesystem::path& outer) {
  auto innerIt = inner.begin();
  for (const auto& part : outer) {
    if (part.empty()) continue;  // the empty element after a trailing "/"
    if (innerIt == inner.end() || *innerIt != part) return false;
    ++innerIt;
  }
  return true;
}

class Copier {
 public:
  Copier(const CopyRequest& request, const CopyCallback& callback, const FileNamespace& names)
      : request_(request), callback_(callback), names_(names) {}

  FileError Run();

 private:
  // Asks the callback; maps its answer onto the flow for the overwrite and unprotect
  // questions (0 skips, -1 aborts, anything else goes on).
  Flow AskBeforeWriting(const CopyEvent& event);
  Flow CopyOne(const std::string& sourceName, const struct stat* sourceInfo, const std::string& destination);
  Flow CopyDirectory(const std::string& sourceDir, const std::string& destinationDir);
  Flow Fail(ErrorCode code, std::string argument = {}) {
    error_ = {code, std::move(argument)};
    return Flow::Abort;
  }

  const CopyRequest& request_;
  const CopyCallback& callback_;
  const FileNamespace& names_;
  FileError error_;
};

Flow Copier::AskBeforeWriting(const CopyEvent& event) {
  CallbackAnswer answer = callback_(event);
  if (answer.error != ERR_NONE) return Fail(answer.error);
  if (answer.quit || answer.value == -1) return Flow::Abort;
  return answer.value == 0 ? Flow::Skip : Flow::Continue;
}

Flow Copier::CopyOne(const std::string& sourceName, const struct stat* sourceInfo,
                     const std::string& destination) {
  std::unique_ptr<FileStream> in = FileStream::Open(sourceName, OpenMode::Read, names_);
  if (!in) return Fail(ERR_READFILE, sourceName);
  struct stat existing;
  bool exists = stat(destination.c_str(), &existing) == 0;
  // Writing a file onto itself (or onto a window of itself) would destroy the source.
  auto sourceId = in->HostIdentity();
  if (exists && sourceId &&
      *sourceId == FileIdentity{static_cast<uint64_t>(existing.st_dev), static_cast<uint64_t>(existing.st_ino)}) {
    return Fail(ERR_WRONGUSAGE);
  }
  if (exists) {
    if (S_ISDIR(existing.st_mode)) return Fail(ERR_WRITEFILE, destination);
    if (callback_) {
      Flow flow = AskBeforeWriting({kCopyFileOverwrite, sourceName, destination});
      if (flow != Flow::Continue) return flow;
    }
    if (IsWriteProtected(existing.st_mode)) {
      if (!callback_) return Flow::Skip;
      Flow flow = AskBeforeWriting({kCopyFileUnprotect, {}, destination});
      if (flow != Flow::Continue) return flow;
      chmod(destination.c_str(), ModeFromAttributes(kFileAttrNormal, existing.st_mode));
    }
  }
  std::unique_ptr<FileStream> out = FileStream::OpenHost(destination, OpenMode::Write);
  if (!out) return Fail(ERR_WRITEFILE, destination);

  auto discard = [&](Flow flow) {
    out.reset();
    unlink(destination.c_str());
    return flow;
  };
  std::vector<uint8_t> block(kCopyBlockSize);
  int64_t copied = 0;
  while (true) {
    size_t got = in->Read(block.data(), block.size());
    if (got < block.size() && !in->AtEnd()) return discard(Fail(ERR_READ));
    if (got == 0) break;
    if (out->Write(block.data(), got) != got) return discard(Fail(ERR_WRITE));
    copied += static_cast<int64_t>(got);
    if (callback_) {
      CallbackAnswer answer = callback_({kCopyFileStatus, sourceName, destination, copied, in->Size()});
      if (answer.error != ERR_NONE) return discard(Fail(answer.error));
      if (answer.quit || answer.value == 1) return discard(Flow::Abort);
    }
    if (got < block.size()) break;
  }
  if (!out->Close()) return discard(Fail(ERR_WRITE));
  if (sourceInfo != nullptr) CopyMetadata(*sourceInfo, destination);
  return Flow::Continue;
}

Flow Copier::CopyDirectory(const std::string& sourceDir, const std::string& destinationDir) {
  std::vector<std::string> entries;
  {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(sourceDir.c_str()), closedir);
    if (!dir) return Fail(ERR_EXAMINE, sourceDir);
    while (dirent* entry = readdir(dir.get())) {
      std::string_view name = entry->d_name;
      if (name != "." && name != "..") entries.emplace_back(name);
    }
  }
  for (const std::string& name : entries) {
    std::string source = FullPath(sourceDir, name);
    std::string destination = FullPath(destinationDir, name);
    struct stat linkInfo, info;
    if (lstat(source.c_str(), &linkInfo) != 0 || stat(source.c_str(), &info) != 0) continue;
    bool matches = request_.pattern.empty() || MatchPattern(name, request_.pattern);
    Flow flow = Flow::Continue;
    if (S_ISDIR(info.st_mode)) {
      if (S_ISLNK(linkInfo.st_mode)) continue;
      bool enter = request_.recurse || (!request_.pattern.empty() && matches);
      if (!enter) continue;
      if (mkdir(destination.c_str(), 0777) != 0 && errno != EEXIST) return Fail(ERR_CREATEDIR, destination);
      flow = CopyDirectory(source, destination);
      if (flow != Flow::Abort) CopyMetadata(info, destination);
    } else if (matches) {
      flow = CopyOne(source, &info, destination);
    }
    if (flow == Flow::Abort) return flow;
  }
  return Flow::Continue;
}

FileError Copier::Run() {
  if (request_.source.empty() && request_.destinationDir.empty()) return {ERR_WRONGUSAGE, {}};
  std::string sourceName = request_.source;
  if (auto linked = names_.LinkedFileName(sourceName)) sourceName = *linked;
  bool isVirtual = IsVirtualName(sourceName);
  std::string hostSource = isVirtual ? sourceName : names_.ToHostPath(sourceName);
  struct stat info{};
  if (isVirtual ? !FileStream::Open(sourceName, OpenMode::Read, names_) : stat(hostSource.c_str(), &info) != 0) {
    return {ERR_LOCK2, request_.source};
  }
  std::string destinationDir = names_.ToHostPath(request_.destinationDir);
  bool isDirectory = !isVirtual && S_ISDIR(info.st_mode);
  if (isDirectory) {
    if (!request_.newName.empty()) return {ERR_WRONGUSAGE, {}};
    std::error_code ignored;
    auto source = std::filesystem::canonical(hostSource, ignored);
    auto target = std::filesystem::weakly_canonical(
        std::filesystem::absolute(destinationDir.empty() ? "." : destinationDir, ignored), ignored);
    if (IsInside(target, source)) return {ERR_WRONGUSAGE, {}};
  } else if (!request_.pattern.empty()) {
    return {ERR_NODIRPATTERN, {}};
  }
  if (!destinationDir.empty()) {
    if (ErrorCode error = MakeHostDirectories(destinationDir)) return {error, destinationDir};
  }
  if (isDirectory) {
    Flow flow = CopyDirectory(hostSource, destinationDir.empty() ? "." : destinationDir);
    if (flow != Flow::Abort && !destinationDir.empty()) CopyMetadata(info, destinationDir);
  } else {
    std::string fileName(FilePart(request_.newName.empty() ? request_.source : request_.newName));
    CopyOne(sourceName, isVirtual ? nullptr : &info, FullPath(destinationDir, fileName));
  }
  return error_;
}

}  // namespace

FileError CopyFiles(const CopyRequest& request, const CopyCallback& callback) {
  return CopyFiles(request, callback, DefaultFileNamespace());
}

FileError CopyFiles(const CopyRequest& request, const CopyCallback& callback, const FileNamespace& names) {
  return Copier(request, callback, names).Run();
}

}  // namespace tembrovia
