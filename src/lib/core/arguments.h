// Reading command arguments. Argument i is absent when i is beyond the last argument, which
// is not the same as an explicit Nil. Every helper raises its error (the command body never
// sees a bad argument), with the argument position as the message's number.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "vm/api.h"

namespace tembrovia {

// min <= count, and count <= max when max > 0; (0, 0) allows no argument at all; otherwise a
// max of 0 or less means no upper limit. ERR_MISSINGPARAMTR, ERR_TOOMANYARGS.
void CheckArgCount(VMState* state, int min, int max);

// A number, Nil (0) or a numeric string. ERR_NUMEXPECTED.
double CheckNumber(VMState* state, int i);
// The same truncated toward zero (saturating at the 32-bit bounds). Bit patterns such as
// colours ($FFRRGGBB) and flag words want CheckNumber with TruncToLow32 instead.
int32_t CheckInteger(VMState* state, int i);
double OptNumber(VMState* state, int i, double fallback);
int32_t OptInteger(VMState* state, int i, int32_t fallback);

// A string, or a number, which is converted in place ("%.14g"). The view stays valid while
// the argument is on the stack. ERR_STREXPECTED.
std::string_view CheckString(VMState* state, int i);
std::string_view OptString(VMState* state, int i, std::string_view fallback);

void CheckTable(VMState* state, int i);        // ERR_TABEXPECTED
void CheckFunction(VMState* state, int i);     // ERR_FUNCEXPECTED
void* CheckUserdata(VMState* state, int i);    // full or light; ERR_UDEXPECTED

// A size or position that may be given as a percentage.
struct NumberOrPercent {
  double value = 0;
  bool relative = false;  // a percentage without a reference: value is the fraction (0.5)
};

// Nil or a number: the number. A string: a decimal number, optionally followed by "%"; a
// percentage must lie in 0..100 (more when allowOver100) and gives value * reference / 100,
// or value / 100 marked relative when there is no reference. ERR_STRORNUM for other types
// (an absent argument included), ERR_PERCENTFORMAT for a bad string or percentage.
NumberOrPercent CheckNumberOrPercent(VMState* state, int i, std::optional<double> reference,
                                     bool allowOver100);

// Raises code with i as the message's number (for command-specific argument checks).
[[noreturn]] void RaiseArgumentError(VMState* state, ErrorCode code, int i);

}  // namespace tembrovia
