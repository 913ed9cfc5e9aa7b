// The objects of the "memblock" library: memory blocks (#MEMORY) in one list. Other
// libraries reach a block by its id through FindMemoryBlock (samples made from memory);
// the attribute queries read MemBlocks(state).blocks for the count and each block's Size().
#pragma once

#include <memory>

#include "files/memory_block.h"
#include "lib/core/object_list.h"
#include "lib/core/runtime.h"

namespace tembrovia {

struct MemoryObject : ObjectRecord {
  explicit MemoryObject(std::unique_ptr<MemoryBlock> block) : block(std::move(block)) {}
  std::unique_ptr<MemoryBlock> block;
};

struct MemBlockData : LibraryData {
  ObjectList<MemoryObject> blocks{kTypeMemory, ERR_FINDMEMBLK};
};

inline MemBlockData& MemBlocks(VMState* state) { return Runtime(state).Data<MemBlockData>(); }

// The block named by argument i: ERR_FINDMEMBLK (with the number) or ERR_FINDARRAY.
ErrorCode FindMemoryBlock(VMState* state, int i, MemoryBlock** block);

ErrorCode InitMemBlockLibrary(VMState* state, LibraryRuntime& runtime);

}  // namespace tembrovia
