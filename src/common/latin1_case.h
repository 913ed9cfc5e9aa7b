// The fixed ISO 8859-1 case mapping used for command and constant names, case-insensitive
// string operations and keyword matching. Lower-casing maps A..Z and 0xC0..0xDD except 0xD7
// up by 0x20; upper-casing is the exact inverse. Every other byte maps to itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tembrovia {

extern const std::array<unsigned char, 256> kLatin1Lower;
extern const std::array<unsigned char, 256> kLatin1Upper;

inline char Latin1ToLower(char c) { return static_cast<char>(kLatin1Lower[static_cast<unsigned char>(c)]); }
inline char Latin1ToUpper(char c) { return static_cast<char>(kLatin1Upper[static_cast<unsigned char>(c)]); }

std::string Latin1Lower(std::string_view text);
std::string Latin1Upper(std::string_view text);

// Equality after lower-casing both sides.
bool Latin1EqualNoCase(std::string_view a, std::string_view b);

}  // namespace tembrovia
