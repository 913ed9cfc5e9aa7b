// Numbers as text (StrStr, HexStr, BinStr, PadNum) and text as numbers (ToNumber, Val).
#include "common/number_literal.h"
#include "lib/core/arguments.h"
#include "lib/math/data_width.h"
#include "lib/math/integer_arguments.h"
#include "lib/string/number_text.h"
#include "lib/string/string_commands.h"

namespace tembrovia {

int CmdStrStr(VMState* state) {
  CheckArgCount(state, 1, 2);
  const double value = CheckNumber(state, 1);
  PushStringView(state, StrStr(value, OptInt64(state, 2, 2)));
  return 1;
}

int CmdHexStr(VMState* state) {
  CheckArgCount(state, 1, 1);
  PushStringView(state, HexStr(CheckNumber(state, 1)));
  return 1;
}

int CmdBinStr(VMState* state) {
  CheckArgCount(state, 1, 2);
  const double value = CheckNumber(state, 1);
  PushStringView(state, BinStr(value, OptInt64(state, 2, kWidthInteger)));
  return 1;
}

int CmdPadNum(VMState* state) {
  CheckArgCount(state, 2, 2);
  const double value = CheckNumber(state, 1);
  std::string out;
  if (ErrorCode error = PadNum(value, CheckInt64(state, 2), out)) return error;
  PushStringView(state, out);
  return 1;
}

int CmdToNumber(VMState* state) {
  CheckArgCount(state, 1, 2);
  const std::string_view text = CheckString(state, 1);
  const int64_t base = OptInt64(state, 2, 10);
  if (base == 10) {
    PushNumber(state, ToNumber(state, 1));  // the VM's own rule; 0 when it reads no number
    return 1;
  }
  double value = 0;
  if (ErrorCode error = ToNumberInBase(text, base, value)) return error;
  PushNumber(state, value);
  return 1;
}

int CmdVal(VMState* state) {
  CheckArgCount(state, 1, 1);
  // VM strings end with a zero byte, which is where the literal reader stops at the latest.
  const NumberLiteral literal = ParseNumberLiteral(CheckString(state, 1).data());
  const bool ok = literal.error == ERR_NONE;
  PushNumber(state, ok ? literal.value : 0);
  PushNumber(state, ok ? literal.count : 0);
  return 2;
}

}  // namespace tembrovia
