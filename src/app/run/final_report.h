// Where the error that ended a run happened, as the final report shows it: the error
// context of the VM (or of the preload), with the script's line mapped back to the source
// file and line of the script text through the applet's line map.
#pragma once

#include <vector>

#include "app/container/applet_records.h"
#include "common/error_state.h"
#include "vm/api.h"

namespace tembrovia {

// The VM's context as the host keeps it: the script name without the chunk's source marker
// ("@main.vxs" is "main.vxs"), "?" when no script frame was found.
ErrorLocation LocationFromContext(const ErrorContext& context);

// Maps the location's line (and script) through the line map. An unknown line (-1) or one
// the map does not cover stays as it is.
ErrorLocation MapThroughLineMap(ErrorLocation location, const std::vector<LineMapEntry>& lineMap);

}  // namespace tembrovia
