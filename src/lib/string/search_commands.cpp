// FindStr, CountStr and ReplaceStr: substring search with an optional case-insensitive mode
// and start position.
#include "lib/core/arguments.h"
#include "lib/math/integer_arguments.h"
#include "lib/string/string_commands.h"
#include "lib/string/string_search.h"

namespace tembrovia {
namespace {

using Search = ErrorCode (*)(std::string_view, std::string_view, bool, int64_t, int64_t&);

// (s, sub, casesensitive = True, startpos = 0) giving one number.
int SearchCommand(VMState* state, Search search) {
  CheckArgCount(state, 2, 4);
  const std::string_view s = CheckString(state, 1);
  const std::string_view sub = CheckString(state, 2);
  const bool case_sensitive = OptFlag(state, 3, true);
  const int64_t start = OptInt64(state, 4, 0);
  int64_t result = 0;
  if (ErrorCode error = search(s, sub, case_sensitive, start, result)) return error;
  PushNumber(state, static_cast<double>(result));
  return 1;
}

}  // namespace

int CmdFindStr(VMState* state) { return SearchCommand(state, FindStr); }
int CmdCountStr(VMState* state) { return SearchCommand(state, CountStr); }

int CmdReplaceStr(VMState* state) {
  CheckArgCount(state, 3, 5);
  const std::string_view s = CheckString(state, 1);
  const std::string_view find = CheckString(state, 2);
  const std::string_view repl = CheckString(state, 3);
  const bool case_sensitive = OptFlag(state, 4, true);
  const int64_t start = OptInt64(state, 5, 0);
  std::string out;
  if (ErrorCode error = ReplaceStr(s, find, repl, case_sensitive, start, out)) return error;
  PushStringView(state, out);
  return 1;
}

}  // namespace tembrovia
