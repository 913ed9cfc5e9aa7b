// Names and paths: virtual files, the path-string commands, existence and size, renaming,
// and the current directory.
#include <algorithm>
#include <string>

#include "files/directory_ops.h"
#include "files/file_info.h"
#include "files/file_namespace.h"
#include "files/path_parts.h"
#include "files/virtual_name.h"
#include "lib/core/arguments.h"
#include "lib/dos/dos_arguments.h"
#include "lib/dos/dos_commands.h"
#include "lib/dos/dos_objects.h"

namespace tembrovia {

// DefineVirtualFile(host, offset, length, name)
int CmdDefineVirtualFile(VMState* state) {
  CheckArgCount(state, 4, 4);
  const std::string_view host = CheckString(state, 1);
  const int64_t offset = CheckInt64(state, 2);
  const int64_t length = CheckInt64(state, 3);
  const std::string_view name = CheckString(state, 4);
  if (host.empty() || length <= 0 || offset < 0) return ERR_WRONGUSAGE;
  const std::string window = MakeWindowName(static_cast<uint64_t>(offset), static_cast<uint64_t>(length), name, host);
  PushStringView(state, window);
  return 1;
}

// DefineVirtualFileFromString(data, name): the file layer keeps its own share of the bytes
// under a key that is never reused, so a stale name can never reach another string.
int CmdDefineVirtualFileFromString(VMState* state) {
  CheckArgCount(state, 2, 2);
  const std::string_view data = CheckString(state, 1);
  const std::string_view visible = CheckString(state, 2);
  if (data.empty()) return ERR_WRONGUSAGE;
  DosData& dos = Dos(state);
  dos.stringFiles.reserve(dos.stringFiles.size() + 1);  // so that no defined name can get lost
  std::string name = DefaultFileNamespace().DefineStringFile(std::string(data), visible);
  dos.stringFiles.push_back(name);
  PushStringView(state, name);
  return 1;
}

int CmdUndefineVirtualStringFile(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string name(CheckString(state, 1));
  std::vector<std::string>& defined = Dos(state).stringFiles;
  auto found = std::find(defined.begin(), defined.end(), name);
  if (found == defined.end() || !DefaultFileNamespace().UndefineStringFile(name)) return ERR_WRONGUSAGE;
  defined.erase(found);
  return 0;
}

int CmdFilePart(VMState* state) {
  CheckArgCount(state, 1, 1);
  PushStringView(state, FilePart(CheckString(state, 1)));
  return 1;
}

int CmdPathPart(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::optional<std::string_view> path = PathPart(CheckString(state, 1));
  if (!path) return ERR_WRONGUSAGE;
  PushStringView(state, *path);
  return 1;
}

int CmdFullPath(VMState* state) {
  CheckArgCount(state, 2, 2);
  const std::string_view directory = CheckString(state, 1);
  const std::string_view file = CheckString(state, 2);
  PushStringView(state, FullPath(directory, file));
  return 1;
}

int CmdExists(VMState* state) {
  CheckArgCount(state, 1, 1);
  PushNumber(state, QueryFileInfo(CheckString(state, 1)) ? 1 : 0);
  return 1;
}

int CmdFileSize(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::optional<FileInfo> info = QueryFileInfo(CheckString(state, 1));
  PushNumber(state, info ? static_cast<double>(info->size) : -1);
  return 1;
}

int CmdIsDirectory(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string_view path = CheckString(state, 1);
  const std::optional<FileInfo> info = QueryFileInfo(path);
  if (!info) return Fail(ERR_LOCK2, path);
  PushNumber(state, info->isDirectory ? 1 : 0);
  return 1;
}

int CmdRename(VMState* state) {
  CheckArgCount(state, 2, 2);
  const std::string_view path = CheckString(state, 1);
  const std::string_view newName = CheckString(state, 2);
  return RenameFile(path, newName);
}

int CmdMakeDirectory(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string_view path = CheckString(state, 1);
  return Fail(MakeDirectory(path), path);
}

// The failure is reported rather than ignored: a script that goes on in the wrong directory
// would read and write the wrong files.
int CmdChangeDirectory(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string_view path = CheckString(state, 1);
  if (ChangeDirectory(path)) return 0;
  const std::optional<FileInfo> info = QueryFileInfo(path);
  if (!info) return Fail(ERR_LOCK2, path);
  return info->isDirectory ? ERR_DIRLOCK : ERR_NOTADIR;
}

int CmdGetCurrentDirectory(VMState* state) {
  CheckArgCount(state, 0, 0);
  PushStringView(state, CurrentDirectory());
  return 1;
}

}  // namespace tembrovia
