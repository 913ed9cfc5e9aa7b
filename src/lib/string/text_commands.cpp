// Characters, case conversion and splitting.
#include "common/latin1_case.h"
#include "lib/core/arguments.h"
#include "lib/math/integer_arguments.h"
#include "lib/string/string_commands.h"
#include "lib/string/string_edit.h"

namespace tembrovia {

int CmdAsc(VMState* state) {
  CheckArgCount(state, 1, 1);
  PushNumber(state, Asc(CheckString(state, 1)));
  return 1;
}

int CmdChr(VMState* state) {
  CheckArgCount(state, 1, 1);
  std::string out;
  if (ErrorCode error = Chr(CheckInt64(state, 1), out)) return error;
  PushStringView(state, out);
  return 1;
}

int CmdLowerStr(VMState* state) {
  CheckArgCount(state, 1, 1);
  PushStringView(state, Latin1Lower(CheckString(state, 1)));
  return 1;
}

int CmdUpperStr(VMState* state) {
  CheckArgCount(state, 1, 1);
  PushStringView(state, Latin1Upper(CheckString(state, 1)));
  return 1;
}

int CmdSplitStr(VMState* state) {
  CheckArgCount(state, 2, 2);
  const std::string_view s = CheckString(state, 1);
  const std::string_view sep = CheckString(state, 2);
  std::vector<std::string_view> pieces;
  if (ErrorCode error = SplitStr(s, sep, pieces)) return error;
  NewTable(state);
  for (size_t i = 0; i < pieces.size(); ++i) {
    PushStringView(state, pieces[i]);
    RawSetI(state, -2, static_cast<int>(i));
  }
  PushNumber(state, static_cast<double>(pieces.size()));
  return 2;
}

int CmdStrToArray(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string_view s = CheckString(state, 1);
  NewTable(state);
  for (size_t i = 0; i <= s.size(); ++i) {
    PushNumber(state, i < s.size() ? static_cast<unsigned char>(s[i]) : 0);
    RawSetI(state, -2, static_cast<int>(i));
  }
  return 1;
}

}  // namespace tembrovia
