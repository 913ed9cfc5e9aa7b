// FileHandle: an open file as the file commands see it. It adds to FileStream the open
// mode, the handle's own position and length (the length grows with writes past it), and the
// checks every read and write command makes: the direction allowed by the mode, reads that
// would pass the length, short reads and writes. Numbers are big-endian.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/error_codes.h"
#include "files/file_stream.h"

namespace tembrovia {

class FileNamespace;

// The mode constants scripts pass to OpenFile.
inline constexpr int kModeReadWriteConstant = 1004;  // #MODE_READWRITE
inline constexpr int kModeReadConstant = 1005;       // #MODE_READ
inline constexpr int kModeWriteConstant = 1006;      // #MODE_WRITE

std::optional<OpenMode> OpenModeFromConstant(int modeConstant);

// The position Seek takes for the end of the file (#EOF).
inline constexpr int64_t kSeekToEnd = -1;

class FileHandle {
 public:
  // OpenFile: an empty name or an unknown mode constant gives ERR_WRONGUSAGE; a file that
  // cannot be opened ERR_READFILE (reading) or ERR_WRITEFILE (other modes). The name goes
  // through FileStream::Open (linked files first when reading).
  static ErrorCode Open(std::string_view name, int modeConstant, std::unique_ptr<FileHandle>& handle);
  static ErrorCode Open(std::string_view name, int modeConstant, std::unique_ptr<FileHandle>& handle,
                        const FileNamespace& names);

  // Wraps an open stream; position 0, length = the stream's size.
  FileHandle(std::unique_ptr<FileStream> stream, OpenMode mode, int modeConstant);

  OpenMode Mode() const { return mode_; }
  int ModeConstant() const { return modeConstant_; }
  int64_t Position() const { return position_; }
  int64_t Length() const { return length_; }
  int64_t Remaining() const { return length_ > position_ ? length_ - position_ : 0; }
  bool Eof() const { return position_ == length_; }
  FileStream& Stream() { return *stream_; }

  // ERR_WRITEONLY on a write-only handle, then ERR_READRANGE when position + count passes
  // the length (checked before anything is read), ERR_READ on a short read.
  ErrorCode Read(void* buffer, uint64_t count);
  // As Read without the length check (ReadMem): a short read is ERR_READ and the position
  // advances by what was read.
  ErrorCode ReadUnbounded(void* buffer, uint64_t count);
  // ERR_READONLY on a read-only handle; ERR_WRITE on a short write. Position and length
  // follow the bytes actually written.
  ErrorCode Write(const void* buffer, uint64_t count);

  ErrorCode ReadChr(uint8_t& value);
  ErrorCode ReadShort(uint16_t& value);
  ErrorCode ReadInt(int32_t& value);
  ErrorCode ReadFloat(double& value);
  // Exactly `length` bytes; a negative length is ERR_WRONGUSAGE. Nothing is allocated before
  // the range is known to be inside the file.
  ErrorCode ReadString(int64_t length, std::string& text);
  // Bytes up to a line feed (consumed, not returned) or the end; carriage returns dropped.
  // ERR_READRANGE at the end of the file.
  ErrorCode ReadLine(std::string& line);

  // Script numbers are truncated to integers and their low 8, 16 or 32 bits stored.
  ErrorCode WriteChr(double value);
  ErrorCode WriteShort(double value);
  ErrorCode WriteInt(double value);
  ErrorCode WriteFloat(double value);
  // The string's bytes; with length > 0 only that many (ERR_STRTOOSHORT when longer than the
  // string).
  ErrorCode WriteString(std::string_view text, int64_t length = 0);
  // The text up to its first zero byte, then carriage return and line feed.
  ErrorCode WriteLine(std::string_view text);

  // kSeekToEnd (#EOF) moves to the length; a negative position or one past the length is
  // ERR_SEEK.
  ErrorCode Seek(int64_t position);
  ErrorCode Flush();

 private:
  std::unique_ptr<FileStream> stream_;
  OpenMode mode_;
  int modeConstant_;
  int64_t position_ = 0;
  int64_t length_ = 0;
};

}  // namespace tembrovia
