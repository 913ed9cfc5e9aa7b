#include "app/container/container_cursor.h"

#include <algorithm>
#include <cstring>

namespace tembrovia {

ContainerCursor::ContainerCursor(ByteSource& source, uint64_t base)
    : source_(source), base_(base), size_(source.Size() > base ? source.Size() - base : 0) {}

bool ContainerCursor::Contains(int64_t offset, int64_t size) const {
  return offset >= 0 && size >= 0 && static_cast<uint64_t>(offset) <= size_ &&
         static_cast<uint64_t>(size) <= size_ - static_cast<uint64_t>(offset);
}

ErrorCode ContainerCursor::Raw(void* out, size_t count) {
  if (!Contains(static_cast<int64_t>(position_), static_cast<int64_t>(count))) {
    return ERR_UNEXPECTEDEOF;
  }
  if (!source_.Read(base_ + position_, out, count)) return ERR_READ;
  position_ += count;
  return ERR_NONE;
}

ErrorCode ContainerCursor::Byte(uint8_t& value) { return Raw(&value, 1); }

ErrorCode ContainerCursor::Int16(int32_t& value) {
  uint8_t b[2];
  if (ErrorCode error = Raw(b, 2)) return error;
  value = static_cast<int16_t>((b[0] << 8) | b[1]);
  return ERR_NONE;
}

ErrorCode ContainerCursor::Int32(int32_t& value) {
  uint8_t b[4];
  if (ErrorCode error = Raw(b, 4)) return error;
  value = static_cast<int32_t>((uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) |
                               (uint32_t{b[2]} << 8) | b[3]);
  return ERR_NONE;
}

ErrorCode ContainerCursor::Double(double& value) {
  uint8_t b[8];
  if (ErrorCode error = Raw(b, 8)) return error;
  uint64_t bits = 0;
  for (uint8_t byte : b) bits = (bits << 8) | byte;
  std::memcpy(&value, &bits, sizeof value);
  return ERR_NONE;
}

ErrorCode ContainerCursor::Bytes(int64_t count, std::vector<uint8_t>& out) {
  if (!Contains(static_cast<int64_t>(position_), count)) return ERR_UNEXPECTEDEOF;
  out.resize(static_cast<size_t>(count));
  return Raw(out.data(), out.size());
}

ErrorCode ContainerCursor::Skip(int64_t count) {
  if (!Contains(static_cast<int64_t>(position_), count)) return ERR_UNEXPECTEDEOF;
  position_ += static_cast<uint64_t>(count);
  return ERR_NONE;
}

ErrorCode ContainerCursor::CString(std::string& out, size_t keep) {
  out.clear();
  while (true) {
    uint8_t c;
    if (ErrorCode error = Byte(c)) return error;
    if (c == 0) return ERR_NONE;
    if (out.size() < keep) out.push_back(static_cast<char>(c));
  }
}

ErrorCode ContainerCursor::Text16(std::string& out, size_t keep) {
  int32_t length;
  if (ErrorCode error = Int16(length)) return error;
  std::vector<uint8_t> bytes;
  if (ErrorCode error = Bytes(length, bytes)) return error;
  size_t end = 0;
  while (end < bytes.size() && bytes[end] != 0) ++end;
  out.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(end, keep)));
  return ERR_NONE;
}

ErrorCode ContainerCursor::ReadAt(int64_t offset, size_t count, std::vector<uint8_t>& out) {
  if (!Contains(offset, static_cast<int64_t>(count))) return ERR_UNEXPECTEDEOF;
  out.resize(count);
  if (!source_.Read(base_ + static_cast<uint64_t>(offset), out.data(), count)) return ERR_READ;
  return ERR_NONE;
}

}  // namespace tembrovia
