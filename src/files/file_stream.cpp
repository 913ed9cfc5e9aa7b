#include "files/file_stream.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>

#include "files/file_namespace.h"
#include "files/path_parts.h"
#include "files/virtual_name.h"

namespace tembrovia {
namespace {

// Windows of windows are followed this many levels deep at most.
constexpr int kMaxVirtualNesting = 16;

bool IsDirectory(std::FILE* file) {
  struct stat info;
  return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

// The file's size, leaving the position at the start.
int64_t MeasureSize(std::FILE* file) {
  if (fseeko(file, 0, SEEK_END) != 0) return -1;
  off_t size = ftello(file);
  if (fseeko(file, 0, SEEK_SET) != 0) return -1;
  return size;
}

std::FILE* OpenCFile(const std::string& path, OpenMode mode) {
  switch (mode) {
    case OpenMode::Read:
      return std::fopen(path.c_str(), "rb");
    case OpenMode::Write:
      return std::fopen(path.c_str(), "wb");
    case OpenMode::ReadWrite: {
      std::FILE* file = std::fopen(path.c_str(), "r+b");
      if (file == nullptr && errno == ENOENT) {
        std::FILE* created = std::fopen(path.c_str(), "wb");
        if (created == nullptr) return nullptr;
        std::fclose(created);
        file = std::fopen(path.c_str(), "r+b");
      }
      return file;
    }
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<FileStream> FileStream::Open(std::string_view name, OpenMode mode) {
  return Open(name, mode, DefaultFileNamespace());
}

std::unique_ptr<FileStream> FileStream::Open(std::string_view name, OpenMode mode,
                                             const FileNamespace& names) {
  std::string resolved(name);
  if (mode == OpenMode::Read) {
    if (auto linked = names.LinkedFileName(name)) resolved = std::move(*linked);
  }
  if (IsVirtualName(resolved)) {
    if (mode != OpenMode::Read) {
      errno = EACCES;
      return nullptr;
    }
    return OpenVirtual(resolved, names);
  }
  return OpenHost(names.ToHostPath(resolved), mode);
}

std::unique_ptr<FileStream> FileStream::OpenVirtual(std::string_view name, const FileNamespace& names) {
  // Compose nested windows into one window onto the innermost host: (start, length) is the
  // window relative to the stream named by `current`.
  uint64_t start = 0;
  uint64_t length = std::numeric_limits<uint64_t>::max();
  std::string current(name);
  for (int depth = 0; depth < kMaxVirtualNesting; ++depth) {
    auto parsed = ParseVirtualName(current);
    if (!parsed) break;
    uint64_t innerLength = parsed->length;
    uint64_t skip = std::min(start, innerLength);
    length = std::min(length, innerLength - skip);
    if (parsed->kind == VirtualKind::String) {
      std::shared_ptr<const std::string> text = names.FindStringFile(current);
      if (!text) break;
      uint64_t available = text->size() > skip ? text->size() - skip : 0;
      std::shared_ptr<const uint8_t> bytes(text, reinterpret_cast<const uint8_t*>(text->data()) + skip);
      auto stream = FromMemory(std::move(bytes), std::min(length, available));
      return stream;
    }
    start = parsed->offset + skip;
    std::string host(parsed->host);
    if (auto linked = names.LinkedFileName(host)) {
      current = std::move(*linked);
      continue;
    }
    if (IsVirtualName(host)) {
      current = std::move(host);
      continue;
    }
    return OpenHostWindow(names.ToHostPath(host), start, length);
  }
  errno = ENOENT;
  return nullptr;
}

std::unique_ptr<FileStream> FileStream::OpenHost(const std::string& hostPath, OpenMode mode) {
  std::FILE* file = OpenCFile(hostPath, mode);
  if (file == nullptr) return nullptr;
  if (IsDirectory(file)) {
    std::fclose(file);
    errno = EISDIR;
    return nullptr;
  }
  std::unique_ptr<FileStream> stream(new FileStream);
  stream->file_ = file;
  stream->mode_ = mode;
  stream->size_ = mode == OpenMode::Write ? 0 : MeasureSize(file);
  if (stream->size_ < 0) return nullptr;
  return stream;
}

std::unique_ptr<FileStream> FileStream::OpenHostWindow(const std::string& hostPath, uint64_t offset,
                                                       uint64_t length) {
  std::unique_ptr<FileStream> stream = OpenHost(hostPath, OpenMode::Read);
  if (!stream) return nullptr;
  uint64_t hostSize = static_cast<uint64_t>(stream->size_);
  uint64_t base = std::min(offset, hostSize);
  stream->bounded_ = true;
  stream->base_ = base;
  stream->size_ = static_cast<int64_t>(std::min(length, hostSize - base));
  if (fseeko(stream->file_, static_cast<off_t>(base), SEEK_SET) != 0) return nullptr;
  return stream;
}

std::unique_ptr<FileStream> FileStream::FromMemory(std::shared_ptr<const uint8_t> bytes, uint64_t size) {
  std::unique_ptr<FileStream> stream(new FileStream);
  stream->memory_ = std::move(bytes);
  stream->bounded_ = true;
  stream->size_ = static_cast<int64_t>(std::min<uint64_t>(size, std::numeric_limits<int64_t>::max()));
  return stream;
}

std::unique_ptr<FileStream> FileStream::FromString(std::shared_ptr<const std::string> text) {
  uint64_t size = text->size();
  std::shared_ptr<const uint8_t> bytes(text, reinterpret_cast<const uint8_t*>(text->data()));
  return FromMemory(std::move(bytes), size);
}

std::unique_ptr<FileStream> FileStream::CreateInMemory() {
  std::unique_ptr<FileStream> stream(new FileStream);
  stream->growableStream_ = true;
  stream->mode_ = OpenMode::ReadWrite;
  stream->size_ = 0;
  return stream;
}

FileStream::~FileStream() { Close(); }

const uint8_t* FileStream::MemoryData() const {
  return growableStream_ ? growable_.data() : memory_.get();
}

bool FileStream::PrepareFor(LastOp op) {
  // A buffered C stream needs a positioning call between a read and a write.
  if (file_ != nullptr && lastOp_ != LastOp::None && lastOp_ != op) {
    if (fseeko(file_, 0, SEEK_CUR) != 0) return false;
  }
  lastOp_ = op;
  return true;
}

size_t FileStream::Read(void* buffer, size_t count) {
  if (closed_ || mode_ == OpenMode::Write || count == 0) return 0;
  if (size_ >= 0 && (bounded_ || file_ == nullptr)) {
    uint64_t left = position_ < size_ ? static_cast<uint64_t>(size_ - position_) : 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, left));
    if (count == 0) return 0;
  }
  size_t got = 0;
  if (file_ != nullptr) {
    if (!PrepareFor(LastOp::Read)) return 0;
    got = std::fread(buffer, 1, count, file_);
  } else {
    std::memcpy(buffer, MemoryData() + position_, count);
    got = count;
  }
  position_ += static_cast<int64_t>(got);
  return got;
}

int FileStream::ReadByte() {
  uint8_t byte;
  return Read(&byte, 1) == 1 ? byte : -1;
}

size_t FileStream::Write(const void* buffer, size_t count) {
  if (closed_ || mode_ == OpenMode::Read || count == 0) return 0;
  size_t written = 0;
  if (file_ != nullptr) {
    if (!PrepareFor(LastOp::Write)) return 0;
    written = std::fwrite(buffer, 1, count, file_);
  } else {
    uint64_t end = static_cast<uint64_t>(position_) + count;
    if (end > growable_.max_size()) return 0;
    try {
      if (end > growable_.size()) growable_.resize(static_cast<size_t>(end));
    } catch (const std::bad_alloc&) {
      return 0;
    }
    std::memcpy(growable_.data() + position_, buffer, count);
    written = count;
  }
  position_ += static_cast<int64_t>(written);
  size_ = std::max(size_, position_);
  return written;
}

bool FileStream::WriteByte(uint8_t value) { return Write(&value, 1) == 1; }

int64_t FileStream::Seek(int64_t offset, SeekOrigin origin) {
  if (closed_) return -1;
  int64_t from = 0;
  if (origin == SeekOrigin::Current) from = position_;
  if (origin == SeekOrigin::End) from = size_;
  int64_t target;
  if (__builtin_add_overflow(from, offset, &target)) return -1;
  if (bounded_ || file_ == nullptr) {
    target = std::clamp<int64_t>(target, 0, size_);
  } else if (target < 0) {
    return -1;
  }
  if (file_ != nullptr) {
    uint64_t physical = base_ + static_cast<uint64_t>(target);
    if (physical > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return -1;
    if (fseeko(file_, static_cast<off_t>(physical), SEEK_SET) != 0) return -1;
    lastOp_ = LastOp::None;
  }
  int64_t previous = position_;
  position_ = target;
  return previous;
}

bool FileStream::Flush() { return closed_ || file_ == nullptr || std::fflush(file_) == 0; }

bool FileStream::Close() {
  closed_ = true;
  if (file_ == nullptr) return true;
  bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}

std::optional<FileIdentity> FileStream::HostIdentity() const {
  struct stat info;
  if (file_ == nullptr || fstat(fileno(file_), &info) != 0) return std::nullopt;
  return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

}  // namespace tembrovia
