// What the host system offers beyond files: volumes, temporary files, starting programs,
// environment variables.
#include <cstdlib>
#include <string>

#include "files/program_launch.h"
#include "files/temporary_files.h"
#include "files/volume_info.h"
#include "lib/core/arguments.h"
#include "lib/dos/dos_arguments.h"
#include "lib/dos/dos_commands.h"

namespace tembrovia {
namespace {

int Launch(VMState* state, LaunchMode mode) {
  CheckArgCount(state, 1, 2);
  const std::string_view commandLine = CheckString(state, 1);
  // Clearing the display's record of held keys and buttons is the event library's part;
  // the argument is read so that a bad one is reported as always.
  OptFlag(state, 2, true);
  return Fail(LaunchProgram(commandLine, mode));
}

// Environment strings are C strings: a zero byte inside would silently cut them.
bool HasZeroByte(std::string_view text) { return text.find('\0') != std::string_view::npos; }

}  // namespace

int CmdGetVolumeName(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string_view path = CheckString(state, 1);
  if (path.empty()) return ERR_WRONGUSAGE;
  const std::optional<std::string> name = VolumeName(path);
  if (!name) return Fail(ERR_LOCK2, path);
  PushStringView(state, *name);
  return 1;
}

// GetVolumeInfo(path, #FREESPACE or #USEDSPACE)
int CmdGetVolumeInfo(VMState* state) {
  CheckArgCount(state, 2, 2);
  const std::string_view path = CheckString(state, 1);
  const int32_t kind = CheckInteger(state, 2);
  if (path.empty() || (kind != kFreeSpace && kind != kUsedSpace)) return ERR_WRONGUSAGE;
  const std::optional<VolumeSpace> space = VolumeSpaceOf(path);
  if (!space) return Fail(ERR_LOCK2, path);
  PushNumber(state, static_cast<double>(kind == kFreeSpace ? space->freeBytes : space->usedBytes));
  return 1;
}

// The file is created (so the name is ours alone) and stays until the end of the run.
int CmdGetTempFileName(VMState* state) {
  CheckArgCount(state, 0, 0);
  const std::optional<std::string> path = DefaultTemporaryFiles().Create();
  if (!path) return Fail(ERR_WRITEFILE, "vxXXXXXX");
  PushStringView(state, *path);
  return 1;
}

int CmdExecute(VMState* state) { return Launch(state, LaunchMode::Wait); }
int CmdRun(VMState* state) { return Launch(state, LaunchMode::Detach); }

int CmdGetEnv(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string name(CheckString(state, 1));
  const char* value = HasZeroByte(name) ? nullptr : std::getenv(name.c_str());
  PushString(state, value != nullptr ? value : "");
  PushNumber(state, value != nullptr ? 1 : 0);
  return 2;
}

int CmdSetEnv(VMState* state) {
  CheckArgCount(state, 2, 2);
  const std::string name(CheckString(state, 1));
  const std::string value(CheckString(state, 2));
  if (HasZeroByte(name) || HasZeroByte(value) || setenv(name.c_str(), value.c_str(), 1) != 0) return ERR_SETENV;
  return 0;
}

int CmdUnsetEnv(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string name(CheckString(state, 1));
  if (HasZeroByte(name) || unsetenv(name.c_str()) != 0) return ERR_UNSETENV;
  return 0;
}

}  // namespace tembrovia
