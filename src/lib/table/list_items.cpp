#include "lib/table/list_items.h"

#include <climits>

namespace tembrovia {

int ListItemCount(VMState* state, int table, bool stop_at_empty_string) {
  int count = 0;
  for (; count < INT_MAX; ++count) {
    RawGetI(state, table, count);
    const int type = Type(state, -1);
    const bool ends = type == TagNil || (stop_at_empty_string && type == TagString && StrLen(state, -1) == 0);
    Pop(state, 1);
    if (ends) break;
  }
  return count;
}

}  // namespace tembrovia
