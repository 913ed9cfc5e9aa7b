#include "app/container/marker_record.h"

namespace tembrovia {

std::optional<uint64_t> AppendedAppletOffset(const MarkerRecord& record) {
  const uint8_t* p = record.data() + kMarkerOffsetPosition;
  uint32_t offset = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
  if (offset == kNoAppendedApplet) return std::nullopt;
  return offset;
}

}  // namespace tembrovia
