#include "files/file_info.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>

#include "files/date_string.h"
#include "files/file_attributes.h"
#include "files/file_namespace.h"
#include "files/file_stream.h"
#include "files/path_parts.h"
#include "files/virtual_name.h"

namespace tembrovia {
namespace {

std::string AbsolutePath(const std::string& hostPath) {
  char resolved[PATH_MAX];
  if (realpath(hostPath.c_str(), resolved) != nullptr) return resolved;
  return hostPath;
}

// The host file a (possibly nested) window finally reads, for its flags and dates.
std::optional<std::string> WindowHost(std::string name, const FileNamespace& names) {
  for (int depth = 0; depth < 16; ++depth) {
    if (auto linked = names.LinkedFileName(name)) name = *linked;
    auto parsed = ParseVirtualName(name);
    if (!parsed) return names.ToHostPath(name);
    if (parsed->kind == VirtualKind::String) return std::nullopt;
    name = std::string(parsed->host);
  }
  return std::nullopt;
}

std::optional<FileInfo> QueryVirtualInfo(std::string_view name, const FileNamespace& names) {
  std::unique_ptr<FileStream> stream = FileStream::Open(name, OpenMode::Read, names);
  if (!stream) return std::nullopt;
  FileInfo info;
  if (auto host = WindowHost(std::string(name), names)) {
    if (auto hostInfo = QueryHostFileInfo(*host)) info = *hostInfo;
  }
  info.isDirectory = false;
  info.isVirtual = true;
  info.size = stream->Size();
  info.path = std::string(name);
  info.flags &= ~kFileAttrHidden;
  return info;
}

}  // namespace

std::optional<FileInfo> QueryHostFileInfo(const std::string& hostPath) {
  struct statx extended;
  if (statx(AT_FDCWD, hostPath.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &extended) != 0) {
    return std::nullopt;
  }
  FileInfo info;
  info.isDirectory = S_ISDIR(extended.stx_mode);
  info.size = info.isDirectory ? 0 : static_cast<int64_t>(extended.stx_size);
  std::string trimmed = hostPath;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  info.flags = AttributesFromMode(extended.stx_mode, FilePart(trimmed));
  info.modified = extended.stx_mtime.tv_sec;
  info.accessed = extended.stx_atime.tv_sec;
  info.created = (extended.stx_mask & STATX_BTIME) ? extended.stx_btime.tv_sec : extended.stx_ctime.tv_sec;
  info.path = AbsolutePath(hostPath);
  return info;
}

std::optional<FileInfo> QueryFileInfo(std::string_view name) { return QueryFileInfo(name, DefaultFileNamespace()); }

std::optional<FileInfo> QueryFileInfo(std::string_view name, const FileNamespace& names) {
  std::optional<std::string> linked = names.LinkedFileName(name);
  if (linked || IsVirtualName(name)) return QueryVirtualInfo(linked ? std::string_view(*linked) : name, names);
  return QueryHostFileInfo(names.ToHostPath(name));
}

bool SetHostAttributes(const std::string& hostPath, uint32_t flags) {
  struct stat current;
  if (stat(hostPath.c_str(), &current) != 0) return false;
  return chmod(hostPath.c_str(), ModeFromAttributes(flags, current.st_mode)) == 0;
}

ErrorCode ChangeFileAttributes(std::string_view name, const FileAttributeChange& change) {
  return ChangeFileAttributes(name, change, DefaultFileNamespace());
}

ErrorCode ChangeFileAttributes(std::string_view name, const FileAttributeChange& change,
                               const FileNamespace& names) {
  if (IsVirtualName(name)) return ERR_WRONGUSAGE;
  std::string hostPath = names.ToHostPath(name);
  struct stat current;
  if (stat(hostPath.c_str(), &current) != 0) return ERR_LOCK2;

  std::optional<std::time_t> modified, accessed;
  if (change.time && !(modified = ParseDateString(*change.time))) return ERR_INVALIDDATE;
  if (change.lastAccessTime && !(accessed = ParseDateString(*change.lastAccessTime))) return ERR_INVALIDDATE;
  if (change.creationTime && !ParseDateString(*change.creationTime)) return ERR_INVALIDDATE;

  if (change.flags && !SetHostAttributes(hostPath, *change.flags)) return ERR_SETFILEATTR;
  if (modified || accessed) {
    struct timespec times[2];
    times[0] = accessed ? timespec{*accessed, 0} : timespec{0, UTIME_OMIT};
    times[1] = modified ? timespec{*modified, 0} : timespec{0, UTIME_OMIT};
    if (utimensat(AT_FDCWD, hostPath.c_str(), times, 0) != 0) return ERR_SETFILEDATE;
  }
  return ERR_NONE;
}

}  // namespace tembrovia
