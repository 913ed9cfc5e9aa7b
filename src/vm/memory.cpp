#include "vm/memory.h"

#include <cstdlib>

#include "vm/errors.h"
#include "vm/gc.h"

namespace tembrovia {

void* Allocate(VMState* L, void* block, size_t oldSize, size_t newSize) {
  GlobalState* g = G(L);
  if (newSize == 0) {
    std::free(block);
    g->bytesInUse -= oldSize;
    return nullptr;
  }
  if (newSize >= 0xFFFFFFFDu) RaiseError(L, ERR_MEM);
  if (g->memoryLimit != 0 && newSize > oldSize &&
      g->bytesInUse + (newSize - oldSize) > g->memoryLimit) {
    Throw(L, ERR_MEM);
  }
  void* result = std::realloc(block, newSize);
  if (result == nullptr) Throw(L, ERR_MEM);
  g->bytesInUse = g->bytesInUse - oldSize + newSize;
  return result;
}

void CheckGC(VMState* L) {
  if (G(L)->bytesInUse >= G(L)->threshold) CollectGarbage(L);
}

char* ScratchBuffer(VMState* L, size_t n) {
  GlobalState* g = G(L);
  if (n > g->bufferSize) {
    if (n < 32) n = 32;
    g->buffer = ResizeArray(L, g->buffer, g->bufferSize, n);
    g->bufferSize = n;
  }
  return g->buffer;
}

}  // namespace tembrovia
