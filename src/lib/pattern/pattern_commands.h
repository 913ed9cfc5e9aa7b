// PatternFindStr and PatternReplaceStr of the "string" library.
#pragma once

#include "vm/api.h"

namespace tembrovia {

int CmdPatternFindStr(VMState* state);
int CmdPatternReplaceStr(VMState* state);

}  // namespace tembrovia
