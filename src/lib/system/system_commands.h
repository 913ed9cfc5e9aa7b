// The commands of the "system" library that live in this folder: timers and waiting, dates,
// catalogs, language and memory, program information, error control, debug output and the
// collector. The table and type commands are in lib/table, the object-data commands, DebugPrint
// and GetConstant in lib/core.
#pragma once

#include "vm/api.h"

namespace tembrovia {

// Timers and waiting.
int CmdStartTimer(VMState* state);
int CmdStopTimer(VMState* state);
int CmdGetTimer(VMState* state);
int CmdPauseTimer(VMState* state);
int CmdResumeTimer(VMState* state);
int CmdResetTimer(VMState* state);
int CmdWaitTimer(VMState* state);
int CmdWait(VMState* state);

// Dates.
int CmdGetDate(VMState* state);
int CmdGetTime(VMState* state);
int CmdGetWeekday(VMState* state);
int CmdGetDateNum(VMState* state);
int CmdCompareDates(VMState* state);

// Catalogs, language, country and memory.
int CmdOpenCatalog(VMState* state);
int CmdCloseCatalog(VMState* state);
int CmdGetCatalogString(VMState* state);
int CmdGetSystemLanguage(VMState* state);
int CmdGetSystemCountry(VMState* state);
int CmdGetMemoryInfo(VMState* state);

// The program.
int CmdGetVersion(VMState* state);
int CmdGetCommandLine(VMState* state);
int CmdGetProgramInfo(VMState* state);
int CmdGetFileArgument(VMState* state);
int CmdEnd(VMState* state);

// Errors.
int CmdError(VMState* state);
int CmdAssert(VMState* state);
int CmdExitOnError(VMState* state);
int CmdRaiseOnError(VMState* state);
int CmdGetLastError(VMState* state);
int CmdGetErrorName(VMState* state);

// Debugging and the collector.
int CmdDebugOutput(VMState* state);
int CmdDebugPrompt(VMState* state);
int CmdGCInfo(VMState* state);
int CmdCollectGarbage(VMState* state);

}  // namespace tembrovia
