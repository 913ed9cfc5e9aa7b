#include "lib/memblock/memory_objects.h"

#include "lib/core/object_registry.h"

namespace tembrovia {

ErrorCode FindMemoryBlock(VMState* state, int i, MemoryBlock** block) {
  MemoryObject* object = nullptr;
  if (ErrorCode error = MemBlocks(state).blocks.Find(ReadObjectId(state, i), Access::kRead, &object)) {
    return error;
  }
  *block = object->block.get();
  return ERR_NONE;
}

ErrorCode InitMemBlockLibrary(VMState* state, LibraryRuntime& runtime) {
  return RegisterObjectList(state, runtime.Data<MemBlockData>().blocks);
}

}  // namespace tembrovia
