// Metatables: the handler of an event for a value, with the absent-event cache for the five
// most frequent events.
#pragma once

#include "vm/state.h"
#include "vm/table.h"

namespace tembrovia {

// The metatable of a table or full userdata; null for other values and for the default one.
Table* MetatableOf(VMState* L, const Value& v);

// The handler of event in metatable mt (events 0..4 use and fill the absent-event cache), or
// null when there is none.
const Value* MetaEventOf(VMState* L, Table* mt, MetaEvent event);

// The handler of an event for a value, or the nil value.
const Value* GetMetaMethod(VMState* L, const Value& v, MetaEvent event);

// True when mt is known to lack the event (cached events only; a cheap test for the loop).
inline bool LacksCachedEvent(const Table* mt, MetaEvent event) {
  return (mt->flags & (1u << event)) != 0;
}

}  // namespace tembrovia
