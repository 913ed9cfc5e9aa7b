// The table, iteration and type commands of the "system" library. Tables are used as 0-based
// lists that end at their first nil; items are always read and written raw.
#pragma once

#include "vm/api.h"

namespace tembrovia {

// Lists.
int CmdListItems(VMState* state);
int CmdInsertItem(VMState* state);
int CmdRemoveItem(VMState* state);
int CmdUnpack(VMState* state);
int CmdConcat(VMState* state);
int CmdSort(VMState* state);
int CmdCopyTable(VMState* state);

// Iteration.
int CmdForEach(VMState* state);
int CmdForEachI(VMState* state);
int CmdPairs(VMState* state);
int CmdIPairs(VMState* state);
int CmdNextItem(VMState* state);

// Raw access and metatables.
int CmdRawGet(VMState* state);
int CmdRawSet(VMState* state);
int CmdRawEqual(VMState* state);
int CmdGetMetaTable(VMState* state);
int CmdSetMetaTable(VMState* state);

// Types and choice.
int CmdGetType(VMState* state);
int CmdIIf(VMState* state);

}  // namespace tembrovia
