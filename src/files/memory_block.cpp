#include "files/memory_block.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

#include "common/numeric_conversion.h"
#include "files/byte_order.h"
#include "files/file_handle.h"
#include "files/file_stream.h"

namespace tembrovia {
namespace {

// Width in bytes of a numeric element type, 0 for any other type.
int NumberWidth(int type) {
  switch (type) {
    case kTypeInteger:
      return 4;
    case kTypeShort:
      return 2;
    case kTypeByte:
      return 1;
    default:
      return 0;
  }
}

void StoreNumber(uint8_t* p, uint32_t bits, int width) {
  if (width == 4) StoreBE32(p, bits);
  if (width == 2) StoreBE16(p, static_cast<uint16_t>(bits));
  if (width == 1) *p = static_cast<uint8_t>(bits);
}

bool IsPeekTextByte(uint8_t byte) {
  return IsPrintableByte(byte) || byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r';
}

}  // namespace

ErrorCode MemoryBlock::Allocate(int64_t size, std::unique_ptr<MemoryBlock>& block) {
  if (size <= 0) return ERR_WRONGUSAGE;
  if (size > kMaxMemoryBlockSize) return ERR_MEM;
  try {
    auto data = std::make_shared_for_overwrite<uint8_t[]>(static_cast<size_t>(size));
    block.reset(new MemoryBlock(std::move(data), size));
  } catch (const std::bad_alloc&) {
    return ERR_MEM;
  }
  return ERR_NONE;
}

bool MemoryBlock::Contains(int64_t offset, int64_t length) const {
  return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
}

ErrorCode MemoryBlock::OpenStream(int64_t offset, int64_t length, std::unique_ptr<FileStream>& stream) const {
  if (!Contains(offset, length)) return ERR_MEMRANGE;
  stream = FileStream::FromMemory(std::shared_ptr<const uint8_t>(data_, data_.get() + offset),
                                  static_cast<uint64_t>(length));
  return ERR_NONE;
}

ErrorCode MemoryBlock::PeekNumber(int64_t offset, int type, uint32_t& value) const {
  int width = NumberWidth(type);
  if (width == 0) return ERR_WRONGUSAGE;
  if (!Contains(offset, width)) return ERR_MEMRANGE;
  const uint8_t* p = data_.get() + offset;
  value = width == 4 ? LoadBE32(p) : width == 2 ? LoadBE16(p) : *p;
  return ERR_NONE;
}

ErrorCode MemoryBlock::PeekString(int64_t offset, int64_t length, std::string& text) const {
  if (offset < 0) return ERR_MEMRANGE;
  if (length < 0) return ERR_WRONGUSAGE;
  if (length == 0) {
    if (offset > size_) return ERR_MEMRANGE;
    int64_t end = offset;
    while (end < size_ && IsPeekTextByte(data_[static_cast<size_t>(end)])) ++end;
    length = end - offset;
  } else if (!Contains(offset, length)) {
    return ERR_MEMRANGE;
  }
  text.assign(reinterpret_cast<const char*>(data_.get() + offset), static_cast<size_t>(length));
  return ERR_NONE;
}

ErrorCode MemoryBlock::PokeNumber(int64_t offset, double value, int type) {
  int width = NumberWidth(type);
  if (width == 0) return ERR_WRONGUSAGE;
  if (!Contains(offset, width)) return ERR_MEMRANGE;
  StoreNumber(data_.get() + offset, TruncToLow32(value), width);
  return ERR_NONE;
}

ErrorCode MemoryBlock::PokeString(int64_t offset, std::string_view text) {
  if (!Contains(offset, static_cast<int64_t>(text.size()) + 1)) return ERR_MEMRANGE;
  std::memcpy(data_.get() + offset, text.data(), text.size());
  data_[static_cast<size_t>(offset) + text.size()] = 0;
  return ERR_NONE;
}

ErrorCode MemoryBlock::Fill(double value, int64_t count, int64_t offset, int type) {
  int width = NumberWidth(type);
  if (width == 0) return ERR_WRONGUSAGE;
  if (count <= 0) return ERR_NONE;
  if (offset % width != 0 || count % width != 0) return ERR_WRONGUSAGE;
  if (!Contains(offset, count)) return ERR_MEMRANGE;
  uint8_t unit[4];
  StoreNumber(unit, TruncToLow32(value), width);
  uint8_t* p = data_.get() + offset;
  for (int64_t i = 0; i < count; i += width) std::memcpy(p + i, unit, static_cast<size_t>(width));
  return ERR_NONE;
}

ErrorCode MemoryBlock::ReadFromFile(FileHandle& file, int64_t length, int64_t offset) {
  if (length <= 0) return ERR_NONE;
  if (offset < 0) return ERR_WRONGUSAGE;
  if (!Contains(offset, length)) return ERR_MEMRANGE;
  return file.ReadUnbounded(data_.get() + offset, static_cast<uint64_t>(length));
}

ErrorCode MemoryBlock::WriteToFile(FileHandle& file, int64_t length, int64_t offset) const {
  if (length <= 0) return ERR_NONE;
  if (offset < 0) return ERR_WRONGUSAGE;
  if (!Contains(offset, length)) return ERR_MEMRANGE;
  return file.Write(data_.get() + offset, static_cast<uint64_t>(length));
}

ErrorCode MemoryBlock::Dump(int64_t length, int64_t offset, const std::function<void(std::string_view)>& line) const {
  if (offset < 0) return ERR_WRONGUSAGE;
  if (length == 0) length = size_;
  if (!Contains(offset, length)) return ERR_MEMRANGE;
  std::string out;
  char piece[16];
  for (int64_t start = 0; start < length; start += 16) {
    int64_t count = std::min<int64_t>(16, length - start);
    const uint8_t* bytes = data_.get() + offset + start;
    std::snprintf(piece, sizeof piece, "%.8x: ", static_cast<unsigned>(offset + start));
    out = piece;
    for (int64_t i = 0; i < count; ++i) {
      std::snprintf(piece, sizeof piece, "%.2x ", bytes[i]);
      out += piece;
    }
    out.append(static_cast<size_t>(16 - count) * 3, ' ');
    for (int64_t i = 0; i < count; ++i) {
      out += IsPrintableByte(bytes[i]) || bytes[i] == ' ' ? static_cast<char>(bytes[i]) : '.';
    }
    out += '\n';
    line(out);
  }
  return ERR_NONE;
}

ErrorCode MemoryBlock::Dump(int64_t length, int64_t offset, std::string& text) const {
  std::string out;
  ErrorCode error = Dump(length, offset, [&out](std::string_view line) { out += line; });
  if (error == ERR_NONE) text = std::move(out);
  return error;
}

ErrorCode CopyMemory(const MemoryBlock& source, MemoryBlock& dest, int64_t size, int64_t sourceOffset,
                     int64_t destOffset) {
  if (&source == &dest) return ERR_WRONGUSAGE;
  if (size < 1) return ERR_NONE;
  if (!source.Contains(sourceOffset, size) || !dest.Contains(destOffset, size)) return ERR_MEMRANGE;
  std::memcpy(dest.Data() + destOffset, source.Data() + sourceOffset, static_cast<size_t>(size));
  return ERR_NONE;
}

}  // namespace tembrovia
