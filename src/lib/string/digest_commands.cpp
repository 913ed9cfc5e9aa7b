// MD5Str and CRC32Str. An empty string has no digest here: ERR_WRONGUSAGE.
#include "common/md5.h"
#include "lib/core/arguments.h"
#include "lib/string/crc32.h"
#include "lib/string/string_commands.h"

namespace tembrovia {

int CmdMD5Str(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string_view s = CheckString(state, 1);
  if (s.empty()) return ERR_WRONGUSAGE;
  PushStringView(state, Md5Hex(s));
  return 1;
}

int CmdCRC32Str(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string_view s = CheckString(state, 1);
  if (s.empty()) return ERR_WRONGUSAGE;
  PushNumber(state, Crc32(s));
  return 1;
}

}  // namespace tembrovia
