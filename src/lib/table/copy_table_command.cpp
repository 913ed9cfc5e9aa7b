// CopyTable: a new table with the same keys and values, nested tables copied the same way,
// depth first. Keys are used as they are and metatables are not copied. A table that
// contains itself, directly or further down, has no finite copy: it ends with ERR_STACK, as
// does nesting deeper than the stack allows.
#include <algorithm>
#include <vector>

#include "lib/core/arguments.h"
#include "lib/table/table_commands.h"

namespace tembrovia {
namespace {

// Room for the copy, the traversal key and value, and a copied key being stored.
constexpr int kStackPerLevel = 5;

// Pushes a copy of the table at stack index `source`. `path` holds the tables being copied
// from the outermost down to this one's parent.
ErrorCode CopyInto(VMState* state, int source, std::vector<const void*>& path) {
  if (!CheckStack(state, kStackPerLevel)) return ERR_STACK;
  path.push_back(ToPointer(state, source));
  NewTable(state);
  const int copy = GetTop(state);
  PushNil(state);
  while (Next(state, source) != 0) {  // key at -2, value at -1
    if (IsTable(state, -1)) {
      if (std::find(path.begin(), path.end(), ToPointer(state, -1)) != path.end()) return ERR_STACK;
      if (ErrorCode error = CopyInto(state, GetTop(state), path)) return error;
      Replace(state, -2);  // the copy takes the value's place
    }
    PushValue(state, -2);
    Insert(state, -2);  // key, key, value
    RawSet(state, copy);  // stores the pair and leaves the key for Next
  }
  path.pop_back();
  return ERR_NONE;
}

}  // namespace

int CmdCopyTable(VMState* state) {
  CheckArgCount(state, 1, 1);
  CheckTable(state, 1);
  std::vector<const void*> path;
  if (ErrorCode error = CopyInto(state, 1, path)) return error;
  return 1;
}

}  // namespace tembrovia
