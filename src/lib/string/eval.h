// The arithmetic and bitwise expression evaluator: numbers as ParseNumberLiteral reads them,
// named variables, unary "-", "~" and "not", and binary operators parsed by precedence with a
// left and a right priority each. Bitwise operators, shifts and "~" work on the low 32 bits
// and give unsigned results; the backslash and "%" work on signed 32-bit truncations.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

struct EvalVariable {
  std::string name;
  double value = 0;
};

// 1 to 64 characters, an ASCII letter or "_" first, then ASCII letters, digits, "_", "!" or
// "$"; any other name: ERR_WRONGUSAGE.
ErrorCode ValidateEvalVariableName(std::string_view name);

// Nesting deeper than this (parentheses, unary operators, right operands) fails with ERR_STACK.
constexpr int kMaxEvalDepth = 1000;

// Evaluates the expression; a zero byte ends it. Variables are tried in their order, matched
// without regard to case. Errors: ERR_VALUEEXPECTED, ERR_SYNTAXERROR, ERR_UNMPARENTHESES,
// ERR_ZERODIVISION, ERR_WRONGOPCST, ERR_STACK, and those of ParseNumberLiteral.
ErrorCode Eval(std::string_view expression, std::span<const EvalVariable> variables, double& result);

}  // namespace tembrovia
