// The commands of the "string" library (ToString is the framework's, the pattern commands
// live in lib/pattern). Each reads its arguments, runs the engine and pushes the result;
// the engines' own failures (ERR_WRONGUSAGE, ERR_MEM ...) are returned as command errors.
#pragma once

#include "vm/api.h"

namespace tembrovia {

// Slicing and editing.
int CmdAddStr(VMState* state);
int CmdInsertStr(VMState* state);
int CmdLeftStr(VMState* state);
int CmdMidStr(VMState* state);
int CmdRepeatStr(VMState* state);
int CmdRightStr(VMState* state);
int CmdStrLen(VMState* state);
int CmdTrimStr(VMState* state);
int CmdUnleftStr(VMState* state);
int CmdUnmidStr(VMState* state);
int CmdUnrightStr(VMState* state);

// Characters, case and pieces.
int CmdAsc(VMState* state);
int CmdChr(VMState* state);
int CmdLowerStr(VMState* state);
int CmdSplitStr(VMState* state);
int CmdStrToArray(VMState* state);
int CmdUpperStr(VMState* state);

// Searching.
int CmdCountStr(VMState* state);
int CmdFindStr(VMState* state);
int CmdReplaceStr(VMState* state);

// Numbers as text and text as numbers.
int CmdBinStr(VMState* state);
int CmdHexStr(VMState* state);
int CmdPadNum(VMState* state);
int CmdStrStr(VMState* state);
int CmdToNumber(VMState* state);
int CmdVal(VMState* state);

// Formatting, digests, expressions.
int CmdFormatStr(VMState* state);
int CmdCRC32Str(VMState* state);
int CmdMD5Str(VMState* state);
int CmdEval(VMState* state);

}  // namespace tembrovia
