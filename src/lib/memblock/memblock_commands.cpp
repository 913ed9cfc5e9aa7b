// The commands of the "memblock" library: raw byte buffers, their numbers and strings, and
// their transfer to and from open files. Every range is checked by the engine in 64-bit
// before a byte is touched.
#include <string>

#include "common/debug_output.h"
#include "lib/core/arguments.h"
#include "lib/dos/dos_arguments.h"
#include "lib/dos/dos_objects.h"
#include "lib/memblock/memblock_commands.h"
#include "lib/memblock/memory_objects.h"

namespace tembrovia {
namespace {

// ReadMem and WriteMem: file, block, length, offset = 0.
template <class Transfer>
int TransferWithFile(VMState* state, Transfer transfer) {
  CheckArgCount(state, 3, 4);
  FileHandle* file = nullptr;
  MemoryBlock* block = nullptr;
  ErrorCode error = FindFileHandle(state, 1, &file);
  ErrorCode missingBlock = FindMemoryBlock(state, 2, &block);
  const int64_t length = CheckInt64(state, 3);
  const int64_t offset = OptInt64(state, 4, 0);
  if (error != ERR_NONE) return error;
  if (missingBlock != ERR_NONE) return missingBlock;
  return transfer(*block, *file, length, offset);
}

}  // namespace

// AllocMem(id, size): the old block of that number goes only once the new one exists.
int CmdAllocMem(VMState* state) {
  CheckArgCount(state, 2, 2);
  const NewObjectId id = ReadNewObjectId(state, 1);
  const int64_t size = CheckInt64(state, 2);
  std::unique_ptr<MemoryBlock> block;
  if (ErrorCode error = MemoryBlock::Allocate(size, block)) return error;
  MemBlockData& data = MemBlocks(state);
  if (ErrorCode error = data.blocks.PrepareNew(state, id)) return error;
  MemoryObject& object = data.blocks.Add(id, std::make_unique<MemoryObject>(std::move(block)));
  return PushCreated(state, object, id);
}

int CmdFreeMem(VMState* state) {
  CheckArgCount(state, 1, 1);
  return MemBlocks(state).blocks.Free(state, ReadObjectId(state, 1));
}

// Peek(id, offset, type = #INTEGER, length = 0)
int CmdPeek(VMState* state) {
  CheckArgCount(state, 2, 4);
  MemoryBlock* block = nullptr;
  ErrorCode error = FindMemoryBlock(state, 1, &block);
  const int64_t offset = CheckInt64(state, 2);
  const int32_t type = OptInteger(state, 3, kTypeInteger);
  const int64_t length = OptInt64(state, 4, 0);
  if (error != ERR_NONE) return error;
  if (type == kTypeString) {
    std::string text;
    if (ErrorCode failed = block->PeekString(offset, length, text)) return failed;
    PushStringView(state, text);
    return 1;
  }
  if (length < 0) return ERR_WRONGUSAGE;
  uint32_t value = 0;
  if (ErrorCode failed = block->PeekNumber(offset, type, value)) return failed;
  PushNumber(state, value);
  return 1;
}

// Poke(id, offset, value, type = #INTEGER)
int CmdPoke(VMState* state) {
  CheckArgCount(state, 3, 4);
  MemoryBlock* block = nullptr;
  ErrorCode error = FindMemoryBlock(state, 1, &block);
  const int64_t offset = CheckInt64(state, 2);
  const int32_t type = OptInteger(state, 4, kTypeInteger);
  if (type == kTypeString) {
    const std::string_view text = CheckString(state, 3);
    if (error != ERR_NONE) return error;
    return block->PokeString(offset, text);
  }
  const double value = CheckNumber(state, 3);
  if (error != ERR_NONE) return error;
  return block->PokeNumber(offset, value, type);
}

// FillMem(id, value, count, offset = 0, type = #BYTE)
int CmdFillMem(VMState* state) {
  CheckArgCount(state, 3, 5);
  MemoryBlock* block = nullptr;
  ErrorCode error = FindMemoryBlock(state, 1, &block);
  const double value = CheckNumber(state, 2);
  const int64_t count = CheckInt64(state, 3);
  const int64_t offset = OptInt64(state, 4, 0);
  const int32_t type = OptInteger(state, 5, kTypeByte);
  if (error != ERR_NONE) return error;
  return block->Fill(value, count, offset, type);
}

// CopyMem(source, dest, size, srcoffset = 0, dstoffset = 0)
int CmdCopyMem(VMState* state) {
  CheckArgCount(state, 3, 5);
  MemoryBlock* source = nullptr;
  MemoryBlock* dest = nullptr;
  ErrorCode error = FindMemoryBlock(state, 1, &source);
  ErrorCode missingDest = FindMemoryBlock(state, 2, &dest);
  const int64_t size = CheckInt64(state, 3);
  const int64_t sourceOffset = OptInt64(state, 4, 0);
  const int64_t destOffset = OptInt64(state, 5, 0);
  if (error != ERR_NONE) return error;
  if (missingDest != ERR_NONE) return missingDest;
  return CopyMemory(*source, *dest, size, sourceOffset, destOffset);
}

int CmdReadMem(VMState* state) {
  return TransferWithFile(state, [](MemoryBlock& block, FileHandle& file, int64_t length, int64_t offset) {
    return block.ReadFromFile(file, length, offset);
  });
}

int CmdWriteMem(VMState* state) {
  return TransferWithFile(state, [](MemoryBlock& block, FileHandle& file, int64_t length, int64_t offset) {
    return block.WriteToFile(file, length, offset);
  });
}

// DumpMem(id, length = 0, offset = 0): the block's bytes are text, never a format.
int CmdDumpMem(VMState* state) {
  CheckArgCount(state, 1, 3);
  MemoryBlock* block = nullptr;
  ErrorCode error = FindMemoryBlock(state, 1, &block);
  const int64_t length = OptInt64(state, 2, 0);
  const int64_t offset = OptInt64(state, 3, 0);
  if (error != ERR_NONE) return error;
  return block->Dump(length, offset, [](std::string_view line) { DebugWriteText(line); });
}

}  // namespace tembrovia
