// Reads the big-endian fields of a container one after another. Positions are applet
// offsets (0 is the first byte of the container); every read is checked against the data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/container/byte_source.h"
#include "common/error_codes.h"

namespace tembrovia {

class ContainerCursor {
 public:
  // The container occupies the source from base to its end.
  ContainerCursor(ByteSource& source, uint64_t base);

  uint64_t Position() const { return position_; }
  uint64_t ContainerSize() const { return size_; }
  bool AtEnd() const { return position_ >= size_; }
  void Seek(uint64_t position) { position_ = position; }

  ErrorCode Byte(uint8_t& value);
  ErrorCode Int16(int32_t& value);
  ErrorCode Int32(int32_t& value);
  ErrorCode Double(double& value);
  // Count raw bytes; a negative count is an error.
  ErrorCode Bytes(int64_t count, std::vector<uint8_t>& out);
  ErrorCode Skip(int64_t count);
  // A zero-terminated string; only the first `keep` bytes are kept.
  ErrorCode CString(std::string& out, size_t keep);
  // An int16 length and that many bytes; the text ends at a zero byte and keeps at most
  // `keep` bytes.
  ErrorCode Text16(std::string& out, size_t keep);

  // Whether [offset, offset + size) lies inside the container.
  bool Contains(int64_t offset, int64_t size) const;
  // Reads bytes at an offset without moving the cursor.
  ErrorCode ReadAt(int64_t offset, size_t count, std::vector<uint8_t>& out);

 private:
  ErrorCode Raw(void* out, size_t count);

  ByteSource& source_;
  uint64_t base_;
  uint64_t size_;
  uint64_t position_ = 0;
};

}  // namespace tembrovia
