#include "common/md5.h"

#include <algorithm>
#include <cstring>

namespace tembrovia {
namespace {

// Per-step left rotations, four per round.
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

// kSine[i] = floor(abs(sin(i + 1)) * 2^32).
constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

uint32_t LoadLittle32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

Md5::Md5() { Reset(); }

void Md5::Reset() {
  state_ = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  total_bytes_ = 0;
  pending_size_ = 0;
}

void Md5::Transform(const uint8_t* block) {
  uint32_t words[16];
  for (int i = 0; i < 16; ++i) words[i] = LoadLittle32(block + 4 * i);

  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  for (int i = 0; i < 64; ++i) {
    int round = i / 16;
    uint32_t mix;
    int word;
    switch (round) {
      case 0: mix = (b & c) | (~b & d); word = i; break;
      case 1: mix = (d & b) | (~d & c); word = (5 * i + 1) % 16; break;
      case 2: mix = b ^ c ^ d; word = (3 * i + 5) % 16; break;
      default: mix = c ^ (b | ~d); word = (7 * i) % 16; break;
    }
    uint32_t rotated = RotateLeft(a + mix + kSine[i] + words[word], kShift[round][i % 4]);
    a = d;
    d = c;
    c = b;
    b = b + rotated;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

void Md5::Update(const void* data, size_t size) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  total_bytes_ += size;
  if (pending_size_ > 0) {
    size_t take = std::min(size, pending_.size() - pending_size_);
    std::memcpy(pending_.data() + pending_size_, bytes, take);
    pending_size_ += take;
    bytes += take;
    size -= take;
    if (pending_size_ < pending_.size()) return;
    Transform(pending_.data());
    pending_size_ = 0;
  }
  for (; size >= 64; bytes += 64, size -= 64) Transform(bytes);
  if (size > 0) std::memcpy(pending_.data(), bytes, size);
  pending_size_ = size;
}

Md5::Digest Md5::Finish() {
  uint64_t bit_length = total_bytes_ * 8;
  uint8_t padding[72] = {0x80};
  size_t pad_size = (pending_size_ < 56 ? 56 : 120) - pending_size_;
  for (int i = 0; i < 8; ++i) padding[pad_size + i] = static_cast<uint8_t>(bit_length >> (8 * i));
  Update(padding, pad_size + 8);

  Digest digest;
  for (int i = 0; i < 4; ++i) {
    for (int k = 0; k < 4; ++k) digest[4 * i + k] = static_cast<uint8_t>(state_[i] >> (8 * k));
  }
  return digest;
}

Md5::Digest Md5Digest(std::string_view bytes) {
  Md5 md5;
  md5.Update(bytes);
  return md5.Finish();
}

std::string DigestToHex(const Md5::Digest& digest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  text.reserve(32);
  for (uint8_t byte : digest) {
    text += kHex[byte >> 4];
    text += kHex[byte & 15];
  }
  return text;
}

std::string Md5Hex(std::string_view bytes) { return DigestToHex(Md5Digest(bytes)); }

}  // namespace tembrovia
