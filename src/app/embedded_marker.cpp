#include "app/embedded_marker.h"

namespace tembrovia {
namespace {

// Volatile: the packer patches the offset in the file, so the compiler must not fold the
// value it sees here into the code.
[[gnu::used]] const volatile uint8_t kEmbeddedMarker[kMarkerRecordSize] = {
    'O', 'r', 'v', 'e', 'n', 'd', 'e', 'l', ' ', 'V', 'a', 'n', 't', 'o', 'f', 't',
    ' ', 'E', 'n', 't', 'e', 'r', 't', 'a', 'i', 'n', 'm', 'e', 'n', 't', 0,    0,
    0xDE, 0xAD, 0xC0, 0xDE,
    0xC0, 0xDE, 0xCA, 0xFE, 0xC0, 0xCA, 0xC0, 0x1A};

}  // namespace

MarkerRecord CopyEmbeddedMarker() {
  MarkerRecord record;
  for (size_t i = 0; i < kMarkerRecordSize; ++i) record[i] = kEmbeddedMarker[i];
  return record;
}

}  // namespace tembrovia
