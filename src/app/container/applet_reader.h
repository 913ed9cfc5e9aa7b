// Reads the sections of a plain container into the start-up records and the applet record.
#pragma once

#include <string>

#include "app/config/display_config.h"
#include "app/container/applet_records.h"
#include "app/container/container_cursor.h"
#include "common/error_codes.h"

namespace tembrovia {

// An error code with the text argument of its message.
struct AppletStatus {
  ErrorCode code = ERR_NONE;
  std::string text;

  explicit operator bool() const { return code != ERR_NONE; }
};

// Reads sections from the cursor's position (right after the magic) up to and including the
// script section; whatever follows the script is not read.
AppletStatus ReadAppletSections(ContainerCursor& cursor, AppletRecords& records,
                                DisplayConfig& display);

}  // namespace tembrovia
