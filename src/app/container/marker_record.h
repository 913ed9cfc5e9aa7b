// The marker record: 44 bytes in the player's read-only data that say where an applet
// appended to the player's file begins. The packer finds the record by its signature in a
// copy of the player and patches the offset.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tembrovia {

constexpr size_t kMarkerRecordSize = 44;
constexpr size_t kMarkerOffsetPosition = 32;  // big-endian offset of the appended applet
constexpr size_t kMarkerTrailerPosition = 36;
constexpr uint32_t kNoAppendedApplet = 0xDEADC0DE;

// "Orvendel Vantoft Entertainment" and two zero bytes.
inline constexpr std::array<uint8_t, 32> kMarkerSignature = {
    'O', 'r', 'v', 'e', 'n', 'd', 'e', 'l', ' ', 'V', 'a', 'n', 't', 'o', 'f', 't',
    ' ', 'E', 'n', 't', 'e', 'r', 't', 'a', 'i', 'n', 'm', 'e', 'n', 't', 0,   0};
inline constexpr std::array<uint8_t, 8> kMarkerTrailer = {0xC0, 0xDE, 0xCA, 0xFE,
                                                          0xC0, 0xCA, 0xC0, 0x1A};

using MarkerRecord = std::array<uint8_t, kMarkerRecordSize>;

// The offset a marker record holds; nullopt when no applet is appended.
std::optional<uint64_t> AppendedAppletOffset(const MarkerRecord& record);

// Where in the bytes of a player file its marker record lies. Nullopt unless exactly one
// record with signature and trailer is found.
std::optional<size_t> FindMarkerRecord(std::span<const uint8_t> file);

// Writes the offset into the record found at position.
void PatchMarkerOffset(std::span<uint8_t> file, size_t position, uint32_t offset);

}  // namespace tembrovia
