#include "lib/string/crc32.h"

#include <zlib.h>

#include <algorithm>

namespace tembrovia {

uint32_t Crc32(std::string_view bytes) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes its lengths as uInt; feed longer strings in pieces.
  constexpr size_t kPiece = 1u << 30;
  for (size_t at = 0; at < bytes.size(); at += kPiece) {
    size_t size = std::min(kPiece, bytes.size() - at);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(size));
  }
  return static_cast<uint32_t>(crc);
}

}  // namespace tembrovia
