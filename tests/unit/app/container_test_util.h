// Reading containers built in memory.
#pragma once

#include <vector>

#include "app/container/applet_open.h"

namespace tembrovia {

struct ReadResult {
  AppletStatus status;
  AppletRecords records;
  DisplayConfig display;
};

inline ReadResult ReadBack(const std::vector<uint8_t>& bytes, size_t inflateLimit = 1 << 24) {
  ReadResult result;
  result.status =
      ReadContainerBytes(bytes, "/x/game.vxa", inflateLimit, result.records, result.display);
  return result;
}

}  // namespace tembrovia
