// FileStream: the one way every part of the player opens, reads, writes and seeks files.
//
// A stream is one of
//   - a buffered host file (C stdio), possibly bounded to a window of bytes of it;
//   - read-only bytes in memory (a virtual string file, or a window onto a memory block),
//     kept alive by the stream through shared ownership;
//   - a growable in-memory file (CreateInMemory), readable and writable.
// Positions and sizes are 64-bit and, for a window, relative to the window's start; reads
// never pass the window's end.
//
// Names given to Open are resolved in this order (see FileNamespace):
//   1. for OpenMode::Read, the applet's linked files (a match becomes its ":::chunk" name);
//   2. virtual names (":::chunk..." windows and ":::chunkS..." strings), readable only;
//   3. "PROGDIR:" is replaced by the program directory;
//   4. every backslash becomes "/", and the result is a host path.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tembrovia {

class FileNamespace;

enum class OpenMode {
  Read,       // existing file, reading only
  Write,      // created or truncated
  ReadWrite,  // existing file (created empty when missing), position 0, real size known
};

enum class SeekOrigin { Current = 0, Start = 1, End = 2 };

// Identifies a host file independently of its name (same-file checks).
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};

class FileStream {
 public:
  // Opens a script-visible name through DefaultFileNamespace() or the given namespace.
  // Null on failure, with errno telling why (ENOENT for an unknown virtual name, EACCES for
  // a virtual name opened for writing, EISDIR for a directory).
  static std::unique_ptr<FileStream> Open(std::string_view name, OpenMode mode);
  static std::unique_ptr<FileStream> Open(std::string_view name, OpenMode mode,
                                          const FileNamespace& names);

  // A host path as it is: no name resolution at all.
  static std::unique_ptr<FileStream> OpenHost(const std::string& hostPath, OpenMode mode);
  // A read-only window of `length` bytes at `offset` of a host file; the window is cut at
  // the file's end.
  static std::unique_ptr<FileStream> OpenHostWindow(const std::string& hostPath, uint64_t offset,
                                                    uint64_t length);
  // Read-only views of memory; `bytes` may be an aliasing pointer into a larger owner.
  static std::unique_ptr<FileStream> FromMemory(std::shared_ptr<const uint8_t> bytes, uint64_t size);
  static std::unique_ptr<FileStream> FromString(std::shared_ptr<const std::string> text);
  // An empty read-write file held in memory.
  static std::unique_ptr<FileStream> CreateInMemory();

  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;
  ~FileStream();

  // Bytes read; short at the end of the file or window, or on an error.
  size_t Read(void* buffer, size_t count);
  // 0..255, or -1 at the end.
  int ReadByte();
  // Bytes written; 0 on a read-only stream.
  size_t Write(const void* buffer, size_t count);
  bool WriteByte(uint8_t value);
  // Moves the position; returns the previous position, or -1 when the target is invalid
  // (before the start of an unbounded file, or arithmetic overflow). A window clamps the
  // target to 0..Size().
  int64_t Seek(int64_t offset, SeekOrigin origin);
  bool AtEnd() const { return size_ >= 0 && position_ >= size_; }
  bool Flush();
  // Closes the host file (also done by the destructor); false if the final flush failed.
  bool Close();

  int64_t Position() const { return position_; }
  // -1 when unknown (never for the streams made here, kept for callers' checks).
  int64_t Size() const { return size_; }
  OpenMode Mode() const { return mode_; }
  bool IsBounded() const { return bounded_; }
  bool InMemory() const { return memory_ != nullptr || growableStream_; }
  // The host file behind the stream (for windows, the host of the window); nullopt for
  // memory streams.
  std::optional<FileIdentity> HostIdentity() const;
  // The contents of a CreateInMemory stream.
  const std::vector<uint8_t>& WrittenBytes() const { return growable_; }

 private:
  enum class LastOp { None, Read, Write };
  FileStream() = default;
  static std::unique_ptr<FileStream> OpenVirtual(std::string_view name, const FileNamespace& names);
  bool PrepareFor(LastOp op);
  const uint8_t* MemoryData() const;

  std::FILE* file_ = nullptr;
  std::shared_ptr<const uint8_t> memory_;   // read-only memory stream
  std::vector<uint8_t> growable_;           // CreateInMemory stream
  bool growableStream_ = false;
  bool closed_ = false;
  OpenMode mode_ = OpenMode::Read;
  bool bounded_ = false;
  uint64_t base_ = 0;          // host offset of position 0 (windows)
  int64_t position_ = 0;
  int64_t size_ = -1;
  LastOp lastOp_ = LastOp::None;
};

}  // namespace tembrovia
