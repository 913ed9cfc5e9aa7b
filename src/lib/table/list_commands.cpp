// ListItems, InsertItem, RemoveItem, Unpack and Concat.
#include <string>

#include "lib/core/arguments.h"
#include "lib/math/integer_arguments.h"
#include "lib/string/string_limits.h"
#include "lib/table/list_items.h"
#include "lib/table/list_positions.h"
#include "lib/table/table_commands.h"

namespace tembrovia {

int CmdListItems(VMState* state) {
  CheckArgCount(state, 1, 1);
  CheckTable(state, 1);
  PushNumber(state, ListItemCount(state, 1));
  return 1;
}

int CmdInsertItem(VMState* state) {
  CheckArgCount(state, 2, 3);
  CheckTable(state, 1);
  const int count = ListItemCount(state, 1);
  const int position = static_cast<int>(ListInsertPosition(OptInt64(state, 3, -1), count));
  for (int k = count - 1; k >= position; --k) {
    RawGetI(state, 1, k);
    RawSetI(state, 1, k + 1);
  }
  PushValue(state, 2);
  RawSetI(state, 1, position);
  return 0;
}

int CmdRemoveItem(VMState* state) {
  CheckArgCount(state, 1, 2);
  CheckTable(state, 1);
  const int count = ListItemCount(state, 1);
  if (count == 0) return 0;
  const int position = static_cast<int>(ListRemovePosition(OptInt64(state, 2, -1), count));
  RawGetI(state, 1, position);  // the result
  for (int k = position; k < count - 1; ++k) {
    RawGetI(state, 1, k + 1);
    RawSetI(state, 1, k);
  }
  PushNil(state);
  RawSetI(state, 1, count - 1);
  return 1;
}

int CmdUnpack(VMState* state) {
  CheckArgCount(state, 1, 1);
  CheckTable(state, 1);
  const int count = ListItemCount(state, 1);
  // A command returns at most kMaxNativeResults values: more would read as an error code.
  if (count > kMaxNativeResults || !CheckStack(state, count)) return ERR_STACK;
  for (int k = 0; k < count; ++k) RawGetI(state, 1, k);
  return count;
}

int CmdConcat(VMState* state) {
  CheckArgCount(state, 1, 4);
  CheckTable(state, 1);
  const std::string_view separator = OptString(state, 2, "");
  const int64_t start = OptInt64(state, 3, 0);
  const int64_t end = OptInt64(state, 4, 0);
  const ListRange range = ConcatRange(start, end, ListItemCount(state, 1));
  std::string joined;
  const ErrorCode error = CatchOutOfMemory([&]() -> ErrorCode {
    for (int64_t k = range.first; !range.empty() && k <= range.last; ++k) {
      PushNumber(state, static_cast<double>(k));
      RawGet(state, 1);
      const int type = Type(state, -1);
      if (type != TagString && type != TagNumber) return ERR_STRINGEXPECTED;
      size_t length = 0;
      const char* text = ToLString(state, -1, &length);  // a number becomes its text here
      if (joined.size() + separator.size() + length > kMaxStringLength) return ERR_MEM;
      if (k > range.first) joined.append(separator);
      joined.append(text, length);
      Pop(state, 1);
    }
    return ERR_NONE;
  });
  if (error) return error;
  PushStringView(state, joined);
  return 1;
}

}  // namespace tembrovia
