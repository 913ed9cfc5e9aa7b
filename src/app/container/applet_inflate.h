// Compressed containers: the magic, four bytes the reader skips, then a zlib stream whose
// content is a complete plain container.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/container/byte_source.h"
#include "common/error_codes.h"

namespace tembrovia {

class InflateSink {
 public:
  virtual ~InflateSink() = default;
  virtual ErrorCode Write(const uint8_t* data, size_t count) = 0;
};

// Collects the output in memory, refusing more than a limit (ERR_MEM).
class MemoryInflateSink : public InflateSink {
 public:
  explicit MemoryInflateSink(size_t limit) : limit_(limit) {}
  ErrorCode Write(const uint8_t* data, size_t count) override;
  std::vector<uint8_t>& Data() { return data_; }

 private:
  size_t limit_;
  std::vector<uint8_t> data_;
};

// No container offset or length reaches beyond 32 bits, so more output than this is refused.
constexpr uint64_t kMaxInflatedContainer = uint64_t{1} << 32;

// Writes the output to an open file; a short write, or more than the limit, is ERR_WRITE.
class FileInflateSink : public InflateSink {
 public:
  explicit FileInflateSink(std::FILE* file, uint64_t limit = kMaxInflatedContainer)
      : file_(file), limit_(limit) {}
  ErrorCode Write(const uint8_t* data, size_t count) override;

 private:
  std::FILE* file_;
  uint64_t limit_;
  uint64_t written_ = 0;
};

// The error code of a zlib result.
ErrorCode ZlibErrorCode(int zlibResult);

// Inflates the compressed container that begins at appletOffset in source.
ErrorCode InflateContainer(ByteSource& source, uint64_t appletOffset, InflateSink& sink);

}  // namespace tembrovia
