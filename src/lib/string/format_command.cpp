// FormatStr: the formatter with its arguments taken from the command's stack.
#include "lib/core/arguments.h"
#include "lib/string/format_str.h"
#include "lib/string/string_commands.h"

namespace tembrovia {
namespace {

// The argument of conversion n is stack argument n + 2. A missing or unfit argument raises
// the argument helpers' error with its position.
class StackFormatArguments : public FormatArguments {
 public:
  explicit StackFormatArguments(VMState* state) : state_(state) {}

  ErrorCode Number(int index, double& value) override {
    value = CheckNumber(state_, index + 2);
    return ERR_NONE;
  }

  ErrorCode String(int index, std::string& value) override {
    value = CheckString(state_, index + 2);
    return ERR_NONE;
  }

 private:
  VMState* state_;
};

}  // namespace

int CmdFormatStr(VMState* state) {
  CheckArgCount(state, 1, 0);
  const std::string_view format = CheckString(state, 1);
  StackFormatArguments args(state);
  std::string out;
  if (ErrorCode error = FormatStr(format, args, out)) return error;
  PushStringView(state, out);
  return 1;
}

}  // namespace tembrovia
