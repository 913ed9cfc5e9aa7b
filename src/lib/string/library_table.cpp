// The "string" library: 33 commands, no constants of its own.
#include "lib/core/core_commands.h"
#include "lib/core/library_table.h"
#include "lib/pattern/pattern_commands.h"
#include "lib/string/string_commands.h"

namespace tembrovia {
namespace {

constexpr CommandEntry kStringCommands[] = {
    {"AddStr", CmdAddStr},
    {"Asc", CmdAsc},
    {"BinStr", CmdBinStr},
    {"Chr", CmdChr},
    {"CountStr", CmdCountStr},
    {"CRC32Str", CmdCRC32Str},
    {"Eval", CmdEval},
    {"FindStr", CmdFindStr},
    {"FormatStr", CmdFormatStr},
    {"HexStr", CmdHexStr},
    {"InsertStr", CmdInsertStr},
    {"LeftStr", CmdLeftStr},
    {"LowerStr", CmdLowerStr},
    {"MD5Str", CmdMD5Str},
    {"MidStr", CmdMidStr},
    {"PadNum", CmdPadNum},
    {"PatternFindStr", CmdPatternFindStr},
    {"PatternReplaceStr", CmdPatternReplaceStr},
    {"RepeatStr", CmdRepeatStr},
    {"ReplaceStr", CmdReplaceStr},
    {"RightStr", CmdRightStr},
    {"SplitStr", CmdSplitStr},
    {"StrLen", CmdStrLen},
    {"StrStr", CmdStrStr},
    {"StrToArray", CmdStrToArray},
    {"ToNumber", CmdToNumber},
    {"ToString", CmdToString},
    {"TrimStr", CmdTrimStr},
    {"UnleftStr", CmdUnleftStr},
    {"UnmidStr", CmdUnmidStr},
    {"UnrightStr", CmdUnrightStr},
    {"UpperStr", CmdUpperStr},
    {"Val", CmdVal},
};

}  // namespace

const LibraryTable kStringLibrary{"string", kStringCommands};

}  // namespace tembrovia
