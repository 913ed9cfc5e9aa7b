// Random access to the bytes of a container: a file on disk or a block of memory.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tembrovia {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // Fills out with count bytes from offset; false when they cannot all be read.
  virtual bool Read(uint64_t offset, void* out, size_t count) = 0;
};

class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::span<const uint8_t> data) : data_(data) {}
  uint64_t Size() const override { return data_.size(); }
  bool Read(uint64_t offset, void* out, size_t count) override;

 private:
  std::span<const uint8_t> data_;
};

// Owns its bytes, for a container decompressed into memory.
class OwnedByteSource : public ByteSource {
 public:
  explicit OwnedByteSource(std::vector<uint8_t> data) : bytes_(std::move(data)) {}
  uint64_t Size() const override { return bytes_.size(); }
  bool Read(uint64_t offset, void* out, size_t count) override {
    return MemoryByteSource(bytes_).Read(offset, out, count);
  }

 private:
  std::vector<uint8_t> bytes_;
};

// A file read through a small window, so that walking the sections byte by byte stays cheap.
class FileByteSource : public ByteSource {
 public:
  // Null when the file cannot be opened.
  static std::unique_ptr<FileByteSource> Open(const std::string& path);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  uint64_t Size() const override { return size_; }
  bool Read(uint64_t offset, void* out, size_t count) override;

 private:
  FileByteSource(int fd, uint64_t size) : fd_(fd), size_(size) {}
  bool Fill(uint64_t offset);

  int fd_;
  uint64_t size_;
  std::vector<uint8_t> window_;
  uint64_t windowStart_ = 0;
};

}  // namespace tembrovia
