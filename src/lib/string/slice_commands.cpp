// The commands that cut, join and edit strings.
#include "lib/core/arguments.h"
#include "lib/math/integer_arguments.h"
#include "lib/string/string_commands.h"
#include "lib/string/string_edit.h"

namespace tembrovia {
namespace {

// The (string, count) commands whose result is a view into the string.
using CountSlice = std::string_view (*)(std::string_view, int64_t);
using CheckedCountSlice = ErrorCode (*)(std::string_view, int64_t, std::string_view&);

int SliceByCount(VMState* state, CountSlice slice) {
  CheckArgCount(state, 2, 2);
  const std::string_view s = CheckString(state, 1);
  PushStringView(state, slice(s, CheckInt64(state, 2)));
  return 1;
}

int SliceByCount(VMState* state, CheckedCountSlice slice) {
  CheckArgCount(state, 2, 2);
  const std::string_view s = CheckString(state, 1);
  std::string_view out;
  if (ErrorCode error = slice(s, CheckInt64(state, 2), out)) return error;
  PushStringView(state, out);
  return 1;
}

}  // namespace

int CmdLeftStr(VMState* state) { return SliceByCount(state, LeftStr); }
int CmdRightStr(VMState* state) { return SliceByCount(state, RightStr); }
int CmdUnleftStr(VMState* state) { return SliceByCount(state, UnleftStr); }
int CmdUnrightStr(VMState* state) { return SliceByCount(state, UnrightStr); }

int CmdMidStr(VMState* state) {
  CheckArgCount(state, 3, 3);
  const std::string_view s = CheckString(state, 1);
  std::string_view out;
  if (ErrorCode error = MidStr(s, CheckInt64(state, 2), CheckInt64(state, 3), out)) return error;
  PushStringView(state, out);
  return 1;
}

int CmdUnmidStr(VMState* state) {
  CheckArgCount(state, 3, 3);
  const std::string_view s = CheckString(state, 1);
  std::string out;
  if (ErrorCode error = UnmidStr(s, CheckInt64(state, 2), CheckInt64(state, 3), out)) return error;
  PushStringView(state, out);
  return 1;
}

int CmdInsertStr(VMState* state) {
  CheckArgCount(state, 3, 4);
  const std::string_view s = CheckString(state, 1);
  const std::string_view ins = CheckString(state, 2);
  const int64_t pos = CheckInt64(state, 3);
  const bool overwrite = OptFlag(state, 4, false);
  std::string out;
  if (ErrorCode error = InsertStr(s, ins, pos, overwrite, out)) return error;
  PushStringView(state, out);
  return 1;
}

int CmdTrimStr(VMState* state) {
  CheckArgCount(state, 3, 3);
  const std::string_view s = CheckString(state, 1);
  const std::string_view ch = CheckString(state, 2);
  std::string_view out;
  if (ErrorCode error = TrimStr(s, ch, CheckFlag(state, 3), out)) return error;
  PushStringView(state, out);
  return 1;
}

int CmdRepeatStr(VMState* state) {
  CheckArgCount(state, 2, 2);
  const std::string_view s = CheckString(state, 1);
  std::string out;
  if (ErrorCode error = RepeatStr(s, CheckInt64(state, 2), out)) return error;
  PushStringView(state, out);
  return 1;
}

int CmdAddStr(VMState* state) {
  CheckArgCount(state, 2, 2);
  CheckString(state, 1);  // numbers become their text in place
  CheckString(state, 2);
  PushValue(state, 1);
  PushValue(state, 2);
  Concat(state, 2);
  return 1;
}

int CmdStrLen(VMState* state) {
  CheckArgCount(state, 1, 1);
  PushNumber(state, static_cast<double>(CheckString(state, 1).size()));
  return 1;
}

}  // namespace tembrovia
