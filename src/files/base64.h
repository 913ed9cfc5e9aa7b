// Standard Base64 (RFC 4648 alphabet, "=" padding) as the text form of stored functions
// uses it: lines of 72 characters separated by carriage return and line feed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tembrovia {

inline constexpr size_t kBase64LineLength = 72;

// The encoding with "\r\n" inserted before every 73rd character of a line (none after the
// last line).
std::string EncodeBase64Lines(const uint8_t* data, size_t size);

// Decodes, skipping every character below 33 (spaces, line breaks). nullopt for a character
// outside the alphabet, a group cut short, or padding anywhere but at the end.
std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text);

}  // namespace tembrovia
