// Locating, checking, decompressing and reading an applet container.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/config/display_config.h"
#include "app/container/applet_reader.h"
#include "app/container/applet_records.h"
#include "files/temporary_files.h"

namespace tembrovia {

// Opens the container at appletOffset in the file (0 for a separate applet file, the
// marker's offset for one appended to the player) and reads it. A compressed container is
// inflated into a temporary file, which then holds the plain container at offset 0.
// On success records.containerPath and records.appletOffset name where the plain container
// lives (linked files are read from there).
AppletStatus OpenAppletContainer(const std::string& path, uint64_t appletOffset,
                                 TemporaryFiles& temporaries, AppletRecords& records,
                                 DisplayConfig& display);

// The same for a container held in memory; a compressed one inflates into memory, at most
// inflateLimit bytes (the offsets the observer sees are then those of the inflated form).
AppletStatus ReadContainerBytes(std::span<const uint8_t> bytes, std::string_view containerPath,
                                size_t inflateLimit, AppletRecords& records,
                                DisplayConfig& display, const SectionObserver& observer = {});

}  // namespace tembrovia
