#include "common/debug_shared_memory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace tembrovia {

std::string SharedDebugMemory::NameFor(int index) {
  return "/orvendelvantoft_tembrovia" + std::to_string(index);
}

std::optional<SharedDebugMemory> SharedDebugMemory::Create() {
  for (int index = 0; index <= kMaxIndex; ++index) {
    std::string name = NameFor(index);
    const int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return std::nullopt;
    }
    void* memory = MAP_FAILED;
    if (ftruncate(fd, kSize) == 0) {
      memory = mmap(nullptr, kSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    }
    close(fd);  // the mapping keeps the object open
    if (memory == MAP_FAILED) {
      shm_unlink(name.c_str());
      return std::nullopt;
    }
    return SharedDebugMemory(index, std::move(name), memory);
  }
  return std::nullopt;
}

SharedDebugMemory::SharedDebugMemory(SharedDebugMemory&& other) noexcept
    : index_(std::exchange(other.index_, -1)),
      name_(std::move(other.name_)),
      memory_(std::exchange(other.memory_, nullptr)) {}

SharedDebugMemory& SharedDebugMemory::operator=(SharedDebugMemory&& other) noexcept {
  if (this != &other) {
    Release();
    index_ = std::exchange(other.index_, -1);
    name_ = std::move(other.name_);
    memory_ = std::exchange(other.memory_, nullptr);
  }
  return *this;
}

SharedDebugMemory::~SharedDebugMemory() { Release(); }

void SharedDebugMemory::Release() {
  if (memory_ == nullptr) return;
  munmap(memory_, kSize);
  shm_unlink(name_.c_str());
  memory_ = nullptr;
}

void SharedDebugMemory::Write(std::string_view text) {
  if (memory_ == nullptr) return;
  const size_t length = std::min(text.size(), kSize - 1);
  char* bytes = static_cast<char*>(memory_);
  std::memcpy(bytes, text.data(), length);
  bytes[length] = '\0';
}

}  // namespace tembrovia
