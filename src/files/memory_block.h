// MemoryBlock: the raw byte buffers of the "memblock" library. Every access is checked in
// 64-bit arithmetic against the block before a byte is touched; a failed access leaves the
// block unchanged. Numbers are big-endian; numbers read are unsigned.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

class FileHandle;
class FileStream;

// Element types (global constants shared with other libraries).
inline constexpr int kTypeInteger = 1;  // #INTEGER: 4 bytes
inline constexpr int kTypeString = 3;   // #STRING
inline constexpr int kTypeShort = 6;    // #SHORT: 2 bytes
inline constexpr int kTypeByte = 7;     // #BYTE

// Blocks above this size are refused with ERR_MEM before allocating.
inline constexpr int64_t kMaxMemoryBlockSize = int64_t{1} << 32;

class MemoryBlock {
 public:
  // AllocMem: a size of 0 or below is ERR_WRONGUSAGE, one that cannot be had ERR_MEM. The
  // contents are not cleared.
  static ErrorCode Allocate(int64_t size, std::unique_ptr<MemoryBlock>& block);

  int64_t Size() const { return size_; }
  uint8_t* Data() { return data_.get(); }
  const uint8_t* Data() const { return data_.get(); }
  // Shared ownership of the bytes, for a stream or a sample that outlives the block's id.
  std::shared_ptr<uint8_t[]> SharedData() const { return data_; }
  // A read-only stream over length bytes at offset (ERR_MEMRANGE outside the block).
  ErrorCode OpenStream(int64_t offset, int64_t length, std::unique_ptr<FileStream>& stream) const;

  // True when offset..offset+length lies inside the block (negative values never do).
  bool Contains(int64_t offset, int64_t length) const;

  // Peek of #INTEGER, #SHORT or #BYTE. ERR_MEMRANGE for a bad offset, ERR_WRONGUSAGE for
  // another type.
  ErrorCode PeekNumber(int64_t offset, int type, uint32_t& value) const;
  // Peek of #STRING: length > 0 exactly that many bytes; 0 the bytes from offset while they
  // are printable, tab, line feed, carriage return or space. A negative offset is
  // ERR_MEMRANGE, a negative length ERR_WRONGUSAGE.
  ErrorCode PeekString(int64_t offset, int64_t length, std::string& text) const;

  // Poke of a number (the low 32, 16 or 8 bits of the value truncated).
  ErrorCode PokeNumber(int64_t offset, double value, int type);
  // Poke of #STRING: the bytes and a zero byte, which must fit too.
  ErrorCode PokeString(int64_t offset, std::string_view text);

  // FillMem: count bytes from offset with the value as bytes, big-endian 16-bit or 32-bit
  // units. For #SHORT offset and count must be multiples of 2, for #INTEGER of 4
  // (ERR_WRONGUSAGE); a count of 0 or less does nothing.
  ErrorCode Fill(double value, int64_t count, int64_t offset, int type);

  // ReadMem / WriteMem: length bytes between the file's position and the block at offset.
  // A length of 0 or less does nothing; a negative offset is ERR_WRONGUSAGE; outside the
  // block ERR_MEMRANGE; then the handle's errors (ERR_WRITEONLY, ERR_READ, ERR_READONLY,
  // ERR_WRITE).
  ErrorCode ReadFromFile(FileHandle& file, int64_t length, int64_t offset);
  ErrorCode WriteToFile(FileHandle& file, int64_t length, int64_t offset) const;

  // DumpMem: the dump of length bytes from offset (length 0: the whole block), one line of
  // up to 16 bytes at a time, as the debug channel prints it, handed to `line` (a dump of a
  // large block is never held whole). A negative offset is ERR_WRONGUSAGE; a range outside
  // the block ERR_MEMRANGE (checked before the first line).
  ErrorCode Dump(int64_t length, int64_t offset, const std::function<void(std::string_view)>& line) const;
  // The same dump as one text.
  ErrorCode Dump(int64_t length, int64_t offset, std::string& text) const;

 private:
  MemoryBlock(std::shared_ptr<uint8_t[]> data, int64_t size) : data_(std::move(data)), size_(size) {}
  std::shared_ptr<uint8_t[]> data_;
  int64_t size_;
};

// CopyMem: size bytes from one block to another; the same block twice is ERR_WRONGUSAGE, a
// size below 1 does nothing, ranges are checked (ERR_MEMRANGE).
ErrorCode CopyMemory(const MemoryBlock& source, MemoryBlock& dest, int64_t size, int64_t sourceOffset,
                     int64_t destOffset);

// Printable for Peek and DumpMem: 0x21..0x7E and 0xA1..0xFF.
inline bool IsPrintableByte(uint8_t byte) { return (byte >= 0x21 && byte <= 0x7E) || byte >= 0xA1; }

}  // namespace tembrovia
