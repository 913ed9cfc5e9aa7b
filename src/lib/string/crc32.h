// The CRC-32 of zlib and ISO-HDLC (reflected polynomial 0xEDB88320, all-ones start, final
// complement).
#pragma once

#include <cstdint>
#include <string_view>

namespace tembrovia {

uint32_t Crc32(std::string_view bytes);

}  // namespace tembrovia
