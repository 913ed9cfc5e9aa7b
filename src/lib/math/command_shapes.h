// Most math commands take one, two or three numbers and give one: these templates make a
// command of such a function, so the library table names each command with its function.
#pragma once

#include "common/error_codes.h"
#include "lib/core/arguments.h"

namespace tembrovia::math {

template <double (*F)(double)>
int UnaryCommand(VMState* state) {
  CheckArgCount(state, 1, 1);
  PushNumber(state, F(CheckNumber(state, 1)));
  return 1;
}

template <double (*F)(double, double)>
int BinaryCommand(VMState* state) {
  CheckArgCount(state, 2, 2);
  const double a = CheckNumber(state, 1);
  PushNumber(state, F(a, CheckNumber(state, 2)));
  return 1;
}

template <double (*F)(double, double, double)>
int TernaryCommand(VMState* state) {
  CheckArgCount(state, 3, 3);
  const double a = CheckNumber(state, 1);
  const double b = CheckNumber(state, 2);
  PushNumber(state, F(a, b, CheckNumber(state, 3)));
  return 1;
}

// The same for functions that may refuse their arguments.
template <ErrorCode (*F)(double, double, double&)>
int CheckedBinaryCommand(VMState* state) {
  CheckArgCount(state, 2, 2);
  const double a = CheckNumber(state, 1);
  double out = 0;
  if (ErrorCode error = F(a, CheckNumber(state, 2), out)) return error;
  PushNumber(state, out);
  return 1;
}

}  // namespace tembrovia::math
