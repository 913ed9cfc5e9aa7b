// What the player tells about itself and the host: GetVersion, the user's language and
// country, and the free memory.
#include "lib/core/arguments.h"
#include "lib/math/integer_arguments.h"
#include "lib/system/program_info.h"
#include "lib/system/system_commands.h"
#include "lib/system/user_locale.h"

namespace tembrovia {
namespace {

constexpr int64_t kChipMemory = 0;
constexpr int64_t kFastMemory = 1;

void SetStringField(VMState* state, const char* name, std::string_view value) {
  PushStringView(state, value);
  SetField(state, -2, name);
}

}  // namespace

int CmdGetVersion(VMState* state) {
  CheckArgCount(state, 0, 1);  // an argument is accepted and not used
  NewTable(state);
  SetStringField(state, "application", PlayerVersion::kApplication);
  SetStringField(state, "version", PlayerVersion::kVersion);
  SetStringField(state, "version_date", PlayerVersion::kVersionDate);
  SetStringField(state, "kernel", PlayerVersion::kKernel);
  SetStringField(state, "kernel_date", PlayerVersion::kKernelDate);
  PushNumber(state, PlayerVersion::kBeta);
  SetField(state, -2, "beta");
  SetStringField(state, "platform", HostPlatform());
  SetStringField(state, "cpu", HostCpu());
  // One entry per loaded plugin once the plugin loader exists; none are loaded yet.
  NewTable(state);
  SetField(state, -2, "plugins");
  return 1;
}

int CmdGetSystemLanguage(VMState* state) {
  CheckArgCount(state, 0, 0);
  PushNumber(state, UserLanguage());
  return 1;
}

int CmdGetSystemCountry(VMState* state) {
  CheckArgCount(state, 0, 0);
  PushNumber(state, UserCountry());
  return 1;
}

int CmdGetMemoryInfo(VMState* state) {
  CheckArgCount(state, 1, 1);
  const int64_t kind = CheckInt64(state, 1);
  if (kind != kChipMemory && kind != kFastMemory) return ERR_WRONGUSAGE;
  PushNumber(state, static_cast<double>(FreePhysicalMemory()));
  return 1;
}

}  // namespace tembrovia
