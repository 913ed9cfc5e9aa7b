// The information-only modes: -EXPORTCOMMANDS, -EXPORTCONSTANTS and -EXPORTPLUGINS write
// their lists from the registered libraries, and the run ends without opening an applet.
#pragma once

#include "app/config/player_config.h"
#include "common/error_codes.h"
#include "lib/core/runtime.h"

namespace tembrovia {

// Whether the options ask for an export (the run then ends after it).
bool IsInformationMode(const PlayerConfig& config);

// The command list, then the constant list when it is asked for too; the constant list alone
// when only it is asked for; then the plugin list (the loaded plugins: none in this build).
// The first file that cannot be written ends with ERR_WRITEFILE.
ErrorCode WriteInformationExports(VMState* state, const PlayerConfig& config);

}  // namespace tembrovia
