// The "memblock" library's table. Its element types (#INTEGER, #SHORT, #BYTE, #STRING) are
// global constants shared with other libraries; its own constant is the object type.
#include "lib/core/library_table.h"
#include "lib/memblock/memblock_commands.h"
#include "lib/memblock/memory_objects.h"

namespace tembrovia {
namespace {

constexpr CommandEntry kMemBlockCommands[] = {
    {"AllocMem", CmdAllocMem},   {"FreeMem", CmdFreeMem}, {"Peek", CmdPeek},
    {"Poke", CmdPoke},           {"FillMem", CmdFillMem}, {"CopyMem", CmdCopyMem},
    {"ReadMem", CmdReadMem},     {"WriteMem", CmdWriteMem}, {"DumpMem", CmdDumpMem},
};

constexpr ConstantEntry kMemBlockConstants[] = {
    {"MEMORY", nullptr, kTypeMemory},
};

}  // namespace

const LibraryTable kMemBlockLibrary{"memblock", kMemBlockCommands, kMemBlockConstants,
                                    InitMemBlockLibrary};

}  // namespace tembrovia
