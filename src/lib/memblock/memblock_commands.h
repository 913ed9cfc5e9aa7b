// The commands of the "memblock" library, registered by library_table.cpp.
#pragma once

#include "vm/api.h"

namespace tembrovia {

int CmdAllocMem(VMState* state);
int CmdFreeMem(VMState* state);
int CmdPeek(VMState* state);
int CmdPoke(VMState* state);
int CmdFillMem(VMState* state);
int CmdCopyMem(VMState* state);
int CmdReadMem(VMState* state);
int CmdWriteMem(VMState* state);
int CmdDumpMem(VMState* state);

}  // namespace tembrovia
