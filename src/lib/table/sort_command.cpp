// Sort: the quicksort over the list's items, ordered by the script's comparison function
// (called as every callback is: protected, with the callback depth raised, so an error in it
// comes back as Sort's own result) or by the default order.
#include <numeric>
#include <vector>

#include "common/numeric_conversion.h"
#include "lib/core/arguments.h"
#include "lib/table/list_items.h"
#include "lib/table/quick_sort.h"
#include "lib/table/sort_order.h"
#include "lib/table/table_commands.h"

namespace tembrovia {
namespace {

constexpr int kSortStackRoom = 40;

std::string_view StringAt(VMState* state, int index) {
  size_t length = 0;
  const char* text = ToLString(state, index, &length);
  return {text, length};
}

// The interpreter's less-than, except that two strings compare without regard to case.
bool DefaultLess(VMState* state, int a, int b) {
  if (Type(state, a) == TagString && Type(state, b) == TagString) {
    return Latin1LessNoCase(StringAt(state, a), StringAt(state, b));
  }
  return LessThan(state, a, b);
}

}  // namespace

int CmdSort(VMState* state) {
  CheckArgCount(state, 1, 2);
  CheckTable(state, 1);
  const bool has_comparator = !IsNone(state, 2);
  if (has_comparator) CheckFunction(state, 2);
  if (!CheckStack(state, kSortStackRoom)) return ERR_STACK;
  const int count = ListItemCount(state, 1, !has_comparator);

  // The sort moves positions into a copy of the items: the copy keeps them where the
  // collector sees them, and whatever the comparator does to the table cannot disturb it.
  NewTable(state);
  const int items = GetTop(state);
  for (int k = 0; k < count; ++k) {
    RawGetI(state, 1, k);
    RawSetI(state, items, k);
  }
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);

  auto less = [&](int a, int b, bool& before) -> ErrorCode {
    RawGetI(state, items, a);
    RawGetI(state, items, b);
    if (!has_comparator) {
      before = DefaultLess(state, -2, -1);
      Pop(state, 2);
      return ERR_NONE;
    }
    PushValue(state, 2);
    Insert(state, -3);
    if (ErrorCode error = CallbackCall(state, 2, 1)) return error;
    before = TruncToInt32(ToNumber(state, -1)) != 0;
    Pop(state, 1);
    return ERR_NONE;
  };
  if (ErrorCode error = QuickSort(order, order.size(), less)) return error;

  for (int k = 0; k < count; ++k) {
    RawGetI(state, items, order[static_cast<size_t>(k)]);
    RawSetI(state, 1, k);
  }
  return 0;
}

}  // namespace tembrovia
