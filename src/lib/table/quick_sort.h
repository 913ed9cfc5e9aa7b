// The quicksort of the Sort command: median of three, the pivot parked next to the end, the
// smaller part sorted by recursion and the larger by the loop (so the recursion is no deeper
// than log2 of the count). It is not stable.
//
// The order comes from a callback that may fail: less(a, b, before) sets `before` when a goes
// before b and returns an ErrorCode; an error ends the sort and is returned as it is. Every
// index is checked before it is read, so an inconsistent order cannot run the partition out
// of the range: it ends with ERR_SORTFUNC, or with some order of the items.
#pragma once

#include <cstddef>
#include <utility>

#include "common/error_codes.h"

namespace tembrovia {

namespace quick_sort_detail {

template <class Items, class Less>
ErrorCode SortRange(Items& a, std::ptrdiff_t lo, std::ptrdiff_t hi, Less& less) {
  using std::swap;
  bool before = false;
  while (lo < hi) {
    // Order the ends, then the middle against them.
    if (ErrorCode error = less(a[hi], a[lo], before)) return error;
    if (before) swap(a[hi], a[lo]);
    if (hi - lo == 1) break;
    std::ptrdiff_t m = lo + (hi - lo) / 2;
    if (ErrorCode error = less(a[m], a[lo], before)) return error;
    if (before) {
      swap(a[m], a[lo]);
    } else {
      if (ErrorCode error = less(a[hi], a[m], before)) return error;
      if (before) swap(a[m], a[hi]);
    }
    if (hi - lo == 2) break;

    auto pivot = a[m];
    swap(a[m], a[hi - 1]);
    std::ptrdiff_t i = lo;
    std::ptrdiff_t j = hi - 1;
    for (;;) {
      do {  // i stops on the first item not before the pivot
        if (++i > hi) return ERR_SORTFUNC;
        if (ErrorCode error = less(a[i], pivot, before)) return error;
      } while (before);
      do {  // j stops on the first item the pivot is not before
        if (--j < lo) return ERR_SORTFUNC;
        if (ErrorCode error = less(pivot, a[j], before)) return error;
      } while (before);
      if (j < i) break;
      swap(a[i], a[j]);
    }
    swap(a[hi - 1], a[i]);

    if (i - lo >= hi - i) {
      if (ErrorCode error = SortRange(a, i + 1, hi, less)) return error;
      hi = i - 1;
    } else {
      if (ErrorCode error = SortRange(a, lo, i - 1, less)) return error;
      lo = i + 1;
    }
  }
  return ERR_NONE;
}

}  // namespace quick_sort_detail

// Sorts items[0 .. count-1]. Items is indexable and its elements copyable and swappable (the
// pivot is held as a copy while the partition moves the items).
template <class Items, class Less>
ErrorCode QuickSort(Items& items, size_t count, Less less) {
  if (count < 2) return ERR_NONE;
  return quick_sort_detail::SortRange(items, 0, static_cast<std::ptrdiff_t>(count) - 1, less);
}

}  // namespace tembrovia
