// Loading the applet's compiled script into the state: the main chunk ends up on the top of
// the stack, ready for the script thread to call.
#pragma once

#include <string_view>

#include "app/container/applet_records.h"
#include "app/run/startup_output.h"
#include "common/error_codes.h"
#include "vm/api.h"

namespace tembrovia {

// Writes "Compiling script..." and, when loaded, "done"; loads the chunk as one block with
// engine attribute 23 on during the load, then installs the line hook. chunkName names the
// chunk when it carries no source name of its own. The error of a damaged chunk is returned.
ErrorCode LoadScript(VMState* state, const std::vector<uint8_t>& chunk, std::string_view chunkName,
                     StartupOutput& output);

}  // namespace tembrovia
