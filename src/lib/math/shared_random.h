// The one random generator of a run, which the math commands and the graphics, layer and
// transition code all draw from. It lives in the math library's data and is seeded with the
// calendar time when the library starts.
#pragma once

#include "common/rand48.h"
#include "vm/api.h"

namespace tembrovia {

Rand48State& SharedRandom(VMState* state);

}  // namespace tembrovia
