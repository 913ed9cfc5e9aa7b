#include "files/file_handle.h"

#include "common/numeric_conversion.h"
#include "files/byte_order.h"
#include "files/file_namespace.h"

namespace tembrovia {

std::optional<OpenMode> OpenModeFromConstant(int modeConstant) {
  switch (modeConstant) {
    case kModeReadConstant:
      return OpenMode::Read;
    case kModeWriteConstant:
      return OpenMode::Write;
    case kModeReadWriteConstant:
      return OpenMode::ReadWrite;
    default:
      return std::nullopt;
  }
}

ErrorCode FileHandle::Open(std::string_view name, int modeConstant, std::unique_ptr<FileHandle>& handle) {
  return Open(name, modeConstant, handle, DefaultFileNamespace());
}

ErrorCode FileHandle::Open(std::string_view name, int modeConstant, std::unique_ptr<FileHandle>& handle,
                           const FileNamespace& names) {
  std::optional<OpenMode> mode = OpenModeFromConstant(modeConstant);
  if (!mode || name.empty()) return ERR_WRONGUSAGE;
  std::unique_ptr<FileStream> stream = FileStream::Open(name, *mode, names);
  if (!stream) return *mode == OpenMode::Read ? ERR_READFILE : ERR_WRITEFILE;
  handle = std::make_unique<FileHandle>(std::move(stream), *mode, modeConstant);
  return ERR_NONE;
}

FileHandle::FileHandle(std::unique_ptr<FileStream> stream, OpenMode mode, int modeConstant)
    : stream_(std::move(stream)), mode_(mode), modeConstant_(modeConstant) {
  length_ = stream_->Size() > 0 ? stream_->Size() : 0;
  position_ = stream_->Position();
}

ErrorCode FileHandle::Read(void* buffer, uint64_t count) {
  if (mode_ == OpenMode::Write) return ERR_WRITEONLY;
  if (count > static_cast<uint64_t>(Remaining())) return ERR_READRANGE;
  return ReadUnbounded(buffer, count);
}

ErrorCode FileHandle::ReadUnbounded(void* buffer, uint64_t count) {
  if (mode_ == OpenMode::Write) return ERR_WRITEONLY;
  if (count > SIZE_MAX) return ERR_READ;
  size_t got = stream_->Read(buffer, static_cast<size_t>(count));
  position_ += static_cast<int64_t>(got);
  return got == count ? ERR_NONE : ERR_READ;
}

ErrorCode FileHandle::Write(const void* buffer, uint64_t count) {
  if (mode_ == OpenMode::Read) return ERR_READONLY;
  if (count > SIZE_MAX) return ERR_WRITE;
  size_t written = stream_->Write(buffer, static_cast<size_t>(count));
  position_ += static_cast<int64_t>(written);
  if (position_ > length_) length_ = position_;
  return written == count ? ERR_NONE : ERR_WRITE;
}

ErrorCode FileHandle::ReadChr(uint8_t& value) { return Read(&value, 1); }

ErrorCode FileHandle::ReadShort(uint16_t& value) {
  uint8_t bytes[2];
  ErrorCode error = Read(bytes, sizeof bytes);
  if (error == ERR_NONE) value = LoadBE16(bytes);
  return error;
}

ErrorCode FileHandle::ReadInt(int32_t& value) {
  uint8_t bytes[4];
  ErrorCode error = Read(bytes, sizeof bytes);
  if (error == ERR_NONE) value = static_cast<int32_t>(LoadBE32(bytes));
  return error;
}

ErrorCode FileHandle::ReadFloat(double& value) {
  uint8_t bytes[8];
  ErrorCode error = Read(bytes, sizeof bytes);
  if (error == ERR_NONE) value = LoadBEDouble(bytes);
  return error;
}

ErrorCode FileHandle::ReadString(int64_t length, std::string& text) {
  if (length < 0) return ERR_WRONGUSAGE;
  if (mode_ == OpenMode::Write) return ERR_WRITEONLY;
  if (length > Remaining()) return ERR_READRANGE;
  std::string bytes;
  try {
    bytes.resize(static_cast<size_t>(length));
  } catch (const std::exception&) {
    return ERR_MEM;
  }
  ErrorCode error = Read(bytes.data(), bytes.size());
  if (error == ERR_NONE) text = std::move(bytes);
  return error;
}

ErrorCode FileHandle::ReadLine(std::string& line) {
  if (mode_ == OpenMode::Write) return ERR_WRITEONLY;
  if (position_ >= length_) return ERR_READRANGE;
  std::string result;
  while (position_ < length_) {
    int byte = stream_->ReadByte();
    if (byte < 0) return ERR_READ;
    ++position_;
    if (byte == '\n') break;
    if (byte != '\r') result += static_cast<char>(byte);
  }
  line = std::move(result);
  return ERR_NONE;
}

ErrorCode FileHandle::WriteChr(double value) {
  uint8_t byte = static_cast<uint8_t>(TruncToLow32(value));
  return Write(&byte, 1);
}

ErrorCode FileHandle::WriteShort(double value) {
  uint8_t bytes[2];
  StoreBE16(bytes, static_cast<uint16_t>(TruncToLow32(value)));
  return Write(bytes, sizeof bytes);
}

ErrorCode FileHandle::WriteInt(double value) {
  uint8_t bytes[4];
  StoreBE32(bytes, TruncToLow32(value));
  return Write(bytes, sizeof bytes);
}

ErrorCode FileHandle::WriteFloat(double value) {
  uint8_t bytes[8];
  StoreBEDouble(bytes, value);
  return Write(bytes, sizeof bytes);
}

ErrorCode FileHandle::WriteString(std::string_view text, int64_t length) {
  if (length > 0) {
    if (static_cast<uint64_t>(length) > text.size()) return ERR_STRTOOSHORT;
    text = text.substr(0, static_cast<size_t>(length));
  }
  return Write(text.data(), text.size());
}

ErrorCode FileHandle::WriteLine(std::string_view text) {
  std::string line(text.substr(0, text.find('\0')));
  line += "\r\n";
  return Write(line.data(), line.size());
}

ErrorCode FileHandle::Seek(int64_t position) {
  if (position == kSeekToEnd) position = length_;
  if (position < 0 || position > length_) return ERR_SEEK;
  if (stream_->Seek(position, SeekOrigin::Start) < 0) return ERR_SEEK;
  position_ = position;
  return ERR_NONE;
}

ErrorCode FileHandle::Flush() { return stream_->Flush() ? ERR_NONE : ERR_WRITE; }

}  // namespace tembrovia
