#include "files/base64.h"

#include <array>

namespace tembrovia {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int8_t, 256> MakeDecodeTable() {
  std::array<int8_t, 256> table{};
  for (auto& entry : table) entry = -1;
  for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int8_t>(i);
  return table;
}
constexpr std::array<int8_t, 256> kDecode = MakeDecodeTable();

}  // namespace

std::string EncodeBase64Lines(const uint8_t* data, size_t size) {
  std::string plain;
  plain.reserve((size + 2) / 3 * 4);
  for (size_t i = 0; i < size; i += 3) {
    uint32_t group = uint32_t{data[i]} << 16;
    if (i + 1 < size) group |= uint32_t{data[i + 1]} << 8;
    if (i + 2 < size) group |= data[i + 2];
    plain += kAlphabet[(group >> 18) & 63];
    plain += kAlphabet[(group >> 12) & 63];
    plain += i + 1 < size ? kAlphabet[(group >> 6) & 63] : '=';
    plain += i + 2 < size ? kAlphabet[group & 63] : '=';
  }
  std::string lines;
  lines.reserve(plain.size() + plain.size() / kBase64LineLength * 2);
  for (size_t i = 0; i < plain.size(); i += kBase64LineLength) {
    if (i > 0) lines += "\r\n";
    lines.append(plain, i, kBase64LineLength);
  }
  return lines;
}

std::optional<std::vector<uint8_t>> DecodeBase64(std::string_view text) {
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 4 * 3);
  uint32_t group = 0;
  int filled = 0, padding = 0;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 33) continue;
    if (c == '=') {
      if (filled < 2) return std::nullopt;
      ++padding;
      group <<= 6;
    } else {
      if (padding > 0 || kDecode[byte] < 0) return std::nullopt;
      group = (group << 6) | static_cast<uint32_t>(kDecode[byte]);
    }
    if (++filled == 4) {
      bytes.push_back(static_cast<uint8_t>(group >> 16));
      if (padding < 2) bytes.push_back(static_cast<uint8_t>(group >> 8));
      if (padding < 1) bytes.push_back(static_cast<uint8_t>(group));
      if (padding > 0) {
        // Nothing but skipped characters may follow the padded group.
        filled = 4;
        group = 0;
        continue;
      }
      filled = 0;
      group = 0;
    } else if (filled > 4) {
      return std::nullopt;
    }
  }
  if (filled == 4 && padding > 0) return bytes;
  if (filled != 0) return std::nullopt;
  return bytes;
}

}  // namespace tembrovia
