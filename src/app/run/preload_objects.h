// The preload: the applet's objects are made by calling the script commands that make them,
// by their global names, as a script would (a script cannot have replaced them yet, but a
// plugin may have). The plan of calls comes from preload/preload_plan.h.
#pragma once

#include <string_view>

#include "app/config/display_config.h"
#include "app/container/applet_records.h"
#include "app/preload/plain_value.h"
#include "app/preload/preload_plan.h"
#include "app/run/startup_output.h"
#include "common/error_codes.h"
#include "common/error_state.h"
#include "vm/api.h"

namespace tembrovia {

// Pushes a plain value; tables are built with raw stores.
void PushPlainValue(VMState* state, const PlainValue& value);

// Calls the global of the command's lower-case name with the call's arguments and no results,
// as CallCommand does, but with tables among the arguments. A global that is not there fails
// with ERR_FUNCDECLA and "<Command>()" as the error text. Returns 0 or the command's error;
// errors the command raises propagate (run it protected).
ErrorCode CallPlannedCommand(VMState* state, const PreloadCall& call);

struct PreloadOutcome {
  ErrorCode error = ERR_NONE;
  // Where it failed: the command and the source line of the object being made.
  ErrorLocation location;
};

// The whole preload step: "Loading applet <name>..." for an applet, the plugin requirements,
// every object in list order, then the displays, and "done". Each call runs protected with
// the error context set to its command and source line; the first error ends the preload.
// While the display library has not registered CreateDisplay, the display step is skipped:
// the applet runs without displays (headless), and display commands it calls fail as
// missing functions.
PreloadOutcome PreloadObjects(VMState* state, const AppletRecords& records,
                              const DisplayConfig& display, bool isApplet,
                              std::string_view appletName, StartupOutput& output);

}  // namespace tembrovia
