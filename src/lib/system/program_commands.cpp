// GetCommandLine, GetProgramInfo, GetFileArgument and End. The command line is the driver's
// PlayerConfig, found through the registry field "clargs"; without one (a state the driver
// did not start) there are no arguments and no paths.
#include "app/config/player_config.h"
#include "lib/core/arguments.h"
#include "lib/system/system_commands.h"

namespace tembrovia {
namespace {

enum ProgramType : int { kProgramScript = 0, kProgramApplet = 1, kProgramProgram = 2 };

const PlayerConfig* CommandLine(VMState* state) {
  return static_cast<const PlayerConfig*>(GetRegistryPointer(state, "clargs"));
}

}  // namespace

int CmdGetCommandLine(VMState* state) {
  CheckArgCount(state, 0, 0);
  const PlayerConfig* config = CommandLine(state);
  const size_t count = config ? config->userArguments.size() : 0;
  NewTable(state);
  for (size_t i = 0; i < count; ++i) {
    const UserArgument& argument = config->userArguments[i];
    NewTable(state);
    PushStringView(state, argument.name);
    SetField(state, -2, "arg");
    PushStringView(state, argument.hasValue ? argument.value : std::string());
    SetField(state, -2, "param");
    RawSetI(state, -2, static_cast<int>(i));
  }
  PushNumber(state, static_cast<double>(count));
  PushNumber(state, 0);
  return 3;
}

int CmdGetProgramInfo(VMState* state) {
  CheckArgCount(state, 0, 0);
  const PlayerConfig* config = CommandLine(state);
  const PlayerConfig none;
  const PlayerConfig& line = config ? *config : none;
  if (line.appendedAppletOffset) {
    PushNumber(state, kProgramProgram);
    PushStringView(state, line.executablePath);
    return 2;
  }
  PushNumber(state, line.isApplet ? kProgramApplet : kProgramScript);
  PushStringView(state, line.appletPath);
  PushStringView(state, line.executablePath);
  return 3;
}

int CmdGetFileArgument(VMState* state) {
  CheckArgCount(state, 0, 0);
  const PlayerConfig* config = CommandLine(state);
  PushStringView(state, config && config->fileArgument ? *config->fileArgument : std::string());
  return 1;
}

int CmdEnd(VMState* state) {
  CheckArgCount(state, 0, 0);
  SetStopFlag(state);
  return 0;
}

}  // namespace tembrovia
