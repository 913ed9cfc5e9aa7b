// The item count of a list: the consecutive keys 0, 1, 2, ... whose raw value is not nil.
#pragma once

#include <cstdint>

#include "vm/api.h"

namespace tembrovia {

// For the table at stack index `table`. With stop_at_empty_string the count also ends at the
// first item that is an empty string (Sort without a comparator).
int ListItemCount(VMState* state, int table, bool stop_at_empty_string = false);

}  // namespace tembrovia
