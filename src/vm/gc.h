// The collector: stop-the-world mark and sweep with weak tables and userdata finalisers.
#pragma once

#include "vm/state.h"

namespace tembrovia {

// Frees every object (fixed ones included); used when the state closes.
void FreeAllObjects(VMState* L);

// Runs the finalisers of every unfinalised userdata (state close).
void FinaliseAll(VMState* L);

inline size_t UserdataBytes(const Userdata* u) { return Userdata::PayloadOffset() + u->length; }

}  // namespace tembrovia
