// Reads the sections of a plain container into the start-up records and the applet record.
#pragma once

#include <cstdint>
#include <functional>
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

// Told about each section once it has been read: its type and where it lies, as applet
// offsets [begin, end) from its type byte to the end of its payload. For tools that list
// containers; the player passes none.
using SectionObserver = std::function<void(uint8_t type, uint64_t begin, uint64_t end)>;

// Reads sections from the cursor's position (right after the magic) up to and including the
// script section; whatever follows the script is not read.
AppletStatus ReadAppletSections(ContainerCursor& cursor, AppletRecords& records,
                                DisplayConfig& display, const SectionObserver& observer = {});

}  // namespace tembrovia
