// The MD5 message digest (RFC 1321), fed in pieces so large files need not be held whole.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tembrovia {

class Md5 {
 public:
  using Digest = std::array<uint8_t, 16>;

  Md5();
  void Update(const void* data, size_t size);
  void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
  // Pads the message and returns the digest; the object is then spent (call Reset to reuse).
  Digest Finish();
  void Reset();

 private:
  void Transform(const uint8_t* block);

  std::array<uint32_t, 4> state_{};
  uint64_t total_bytes_ = 0;
  std::array<uint8_t, 64> pending_{};
  size_t pending_size_ = 0;
};

Md5::Digest Md5Digest(std::string_view bytes);

// 32 lower-case hexadecimal digits.
std::string Md5Hex(std::string_view bytes);
std::string DigestToHex(const Md5::Digest& digest);

}  // namespace tembrovia
