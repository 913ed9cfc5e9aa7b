// The player's own marker record (in its read-only data), copied at start-up.
#pragma once

#include "app/container/marker_record.h"

namespace tembrovia {

MarkerRecord CopyEmbeddedMarker();

}  // namespace tembrovia
