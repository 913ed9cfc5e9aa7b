// Bookkeeping that grows (lists of libraries, handlers, object lists) reports a failed
// allocation as ERR_MEM instead of letting it unwind.
#pragma once

#include <new>
#include <utility>
#include <vector>

#include "common/error_codes.h"

namespace tembrovia {

template <class T>
ErrorCode AppendOrMemError(std::vector<T>& list, T item) {
  try {
    list.push_back(std::move(item));
  } catch (const std::bad_alloc&) {
    return ERR_MEM;
  }
  return ERR_NONE;
}

}  // namespace tembrovia
