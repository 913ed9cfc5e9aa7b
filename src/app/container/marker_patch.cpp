// Finding and patching the marker record in a copy of the player, kept apart from the
// decoding so that the player's own file holds the signature only in its record.
#include <algorithm>

#include "app/container/marker_record.h"

namespace tembrovia {

std::optional<size_t> FindMarkerRecord(std::span<const uint8_t> file) {
  std::optional<size_t> found;
  auto start = file.begin();
  while (true) {
    auto hit = std::search(start, file.end(), kMarkerSignature.begin(), kMarkerSignature.end());
    if (hit == file.end()) break;
    size_t position = static_cast<size_t>(hit - file.begin());
    start = hit + 1;
    if (file.size() - position < kMarkerRecordSize) continue;
    if (!std::equal(kMarkerTrailer.begin(), kMarkerTrailer.end(),
                    file.begin() + static_cast<std::ptrdiff_t>(position + kMarkerTrailerPosition))) {
      continue;
    }
    if (found) return std::nullopt;
    found = position;
  }
  return found;
}

void PatchMarkerOffset(std::span<uint8_t> file, size_t position, uint32_t offset) {
  uint8_t* p = file.data() + position + kMarkerOffsetPosition;
  p[0] = static_cast<uint8_t>(offset >> 24);
  p[1] = static_cast<uint8_t>(offset >> 16);
  p[2] = static_cast<uint8_t>(offset >> 8);
  p[3] = static_cast<uint8_t>(offset);
}

}  // namespace tembrovia
