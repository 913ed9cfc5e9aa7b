// Index rules of the list commands, which treat a table as a 0-based list of `count` items.
#pragma once

#include <cstdint>

namespace tembrovia {

// InsertItem: a position below 0 or above the count means the end.
constexpr int64_t ListInsertPosition(int64_t position, int64_t count) {
  return position < 0 || position > count ? count : position;
}

// RemoveItem (count > 0): a position below 0 or above count - 1 means the last item.
constexpr int64_t ListRemovePosition(int64_t position, int64_t count) {
  return position < 0 || position > count - 1 ? count - 1 : position;
}

// Concat: the items first..last; an end index of 0 stands for the last item. The range is
// empty when last < first; it is not clipped to the count (items past it are read as they are).
struct ListRange {
  int64_t first;
  int64_t last;
  constexpr bool empty() const { return last < first; }
};
constexpr ListRange ConcatRange(int64_t start, int64_t end, int64_t count) {
  return {start, end == 0 ? count - 1 : end};
}

}  // namespace tembrovia
