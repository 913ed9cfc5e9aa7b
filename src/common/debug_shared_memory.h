// The shared-memory debug device: a 2048-byte POSIX shared-memory object named
// "/orvendelvantoft_tembrovia<n>" with the first index n (0..9999) that does not exist yet.
// Each output replaces its contents as a zero-terminated text. The object is removed when
// this owner goes away; a reader that still has it mapped keeps its view.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tembrovia {

class SharedDebugMemory {
 public:
  static constexpr size_t kSize = 2048;
  static constexpr int kMaxIndex = 9999;

  // Creates the object with the first free index; nothing when none can be created.
  static std::optional<SharedDebugMemory> Create();
  // The object's name for an index, as shm_open takes it.
  static std::string NameFor(int index);

  SharedDebugMemory(SharedDebugMemory&& other) noexcept;
  SharedDebugMemory& operator=(SharedDebugMemory&& other) noexcept;
  SharedDebugMemory(const SharedDebugMemory&) = delete;
  SharedDebugMemory& operator=(const SharedDebugMemory&) = delete;
  ~SharedDebugMemory();

  int index() const { return index_; }
  const std::string& name() const { return name_; }

  // Stores text (cut to kSize - 1 bytes) and a terminating zero at the start of the memory.
  void Write(std::string_view text);

 private:
  SharedDebugMemory(int index, std::string name, void* memory)
      : index_(index), name_(std::move(name)), memory_(memory) {}
  void Release();

  int index_ = -1;
  std::string name_;
  void* memory_ = nullptr;
};

}  // namespace tembrovia
