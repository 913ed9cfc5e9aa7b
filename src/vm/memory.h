// The single allocator of the VM: every block goes through Allocate so that the collector's
// byte count stays exact.
#pragma once

#include <cstddef>
#include <new>

#include "vm/state.h"

namespace tembrovia {

// Resizes block from oldSize to newSize bytes (0 frees); raises ERR_MEM on failure.
void* Allocate(VMState* L, void* block, size_t oldSize, size_t newSize);

inline void FreeBlock(VMState* L, void* block, size_t size) { Allocate(L, block, size, 0); }

template <typename T>
T* AllocateArray(VMState* L, size_t count) {
  return static_cast<T*>(Allocate(L, nullptr, 0, count * sizeof(T)));
}
template <typename T>
T* ResizeArray(VMState* L, T* block, size_t oldCount, size_t newCount) {
  return static_cast<T*>(Allocate(L, block, oldCount * sizeof(T), newCount * sizeof(T)));
}
template <typename T>
void FreeArray(VMState* L, T* block, size_t count) {
  Allocate(L, block, count * sizeof(T), 0);
}

// A new collectable object of `size` bytes, linked into the all-objects list.
template <typename T>
T* NewObject(VMState* L, size_t size, int tag) {
  void* block = Allocate(L, nullptr, 0, size);
  T* object = new (block) T{};
  object->tag = static_cast<uint8_t>(tag);
  object->marked = 0;
  object->next = G(L)->rootgc;
  G(L)->rootgc = object;
  return object;
}

// Runs a collection when the byte count has reached the threshold.
void CheckGC(VMState* L);

// Scratch buffer of at least n bytes.
char* ScratchBuffer(VMState* L, size_t n);

}  // namespace tembrovia
