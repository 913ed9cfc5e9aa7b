#include "app/container/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tembrovia {
namespace {

constexpr size_t kFileWindow = 64 * 1024;

bool InRange(uint64_t offset, size_t count, uint64_t size) {
  return offset <= size && count <= size - offset;
}

}  // namespace

bool MemoryByteSource::Read(uint64_t offset, void* out, size_t count) {
  if (!InRange(offset, count, data_.size())) return false;
  if (count) std::memcpy(out, data_.data() + offset, count);
  return true;
}

std::unique_ptr<FileByteSource> FileByteSource::Open(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<FileByteSource>(
      new FileByteSource(fd, static_cast<uint64_t>(info.st_size)));
}

FileByteSource::~FileByteSource() { ::close(fd_); }

bool FileByteSource::Fill(uint64_t offset) {
  size_t want = static_cast<size_t>(std::min<uint64_t>(kFileWindow, size_ - offset));
  window_.resize(want);
  size_t done = 0;
  while (done < want) {
    ssize_t got = ::pread(fd_, window_.data() + done, want - done,
                          static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      window_.clear();
      return false;
    }
    done += static_cast<size_t>(got);
  }
  windowStart_ = offset;
  return true;
}

bool FileByteSource::Read(uint64_t offset, void* out, size_t count) {
  if (!InRange(offset, count, size_)) return false;
  auto* target = static_cast<uint8_t*>(out);
  while (count > 0) {
    bool inWindow = offset >= windowStart_ && offset - windowStart_ < window_.size();
    if (!inWindow && !Fill(offset)) return false;
    size_t start = static_cast<size_t>(offset - windowStart_);
    size_t piece = std::min(count, window_.size() - start);
    std::memcpy(target, window_.data() + start, piece);
    target += piece;
    offset += piece;
    count -= piece;
  }
  return true;
}

}  // namespace tembrovia
