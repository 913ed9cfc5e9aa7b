#include "lib/string/eval.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "string/tool_output.h"

namespace tembrovia {
namespace {

struct EvalCase {
  const char* expression;
  ErrorCode error;
  double want;
};

TEST(Eval, Table) {
  const std::vector<EvalVariable> variables = {{"X", 4}, {"not_x", 7}, {"a$b", 0.5}, {"y!", -3}, {"orange", 9}};
  const EvalCase cases[] = {
      {"2+3*4", ERR_NONE, 14},
      {"-2^2", ERR_NONE, -4},
      {"2^3^2", ERR_NONE, 512},
      {"(-2)^2", ERR_NONE, 4},
      {"7\\2", ERR_NONE, 3},
      {"-7\\2", ERR_NONE, -3},
      {"7.9\\2.9", ERR_NONE, 3},
      {"-7 % 3", ERR_NONE, -1},
      {"7 % -3", ERR_NONE, 1},
      {"1 << 4", ERR_NONE, 16},
      {"1 << 33", ERR_NONE, 2},
      {"-1 >> 28", ERR_NONE, 15},
      {"1 << -1", ERR_NONE, 2147483648.0},
      {"~0", ERR_NONE, 4294967295.0},
      {"5 ~ 3", ERR_NONE, 6},
      {"6 & 3 | 8", ERR_NONE, 10},
      {"0 or 5", ERR_NONE, 5},
      {"3 or 5", ERR_NONE, 3},
      {"2 and 3", ERR_NONE, 3},
      {"0 and 3", ERR_NONE, 0},
      {"not 0", ERR_NONE, 1},
      {"NOT 2", ERR_NONE, 0},
      {"3 > 2 > 1", ERR_NONE, 0},  // same priority, left to right: (3 > 2) > 1
      {"2 <> 3", ERR_NONE, 1},
      {"2 >= 3", ERR_NONE, 0},
      {"1 + 2 < 4 and 5", ERR_NONE, 5},
      {"$FF + 0x10 + 1.5e1", ERR_NONE, 286},
      {"$-10", ERR_NONE, -16},
      {" \t 42 \t", ERR_NONE, 42},
      {"x*2", ERR_NONE, 8},
      {"not_x + 1", ERR_NONE, 8},  // a name, not "not" and "_x"
      {"NOT_X", ERR_NONE, 7},
      {"a$b * y!", ERR_NONE, -1.5},
      {"orange or 1", ERR_NONE, 9},  // "or" is not taken inside "orange"
      // The most negative integer divided by -1 is an ordinary quotient.
      {"-2147483648 \\ -1", ERR_NONE, 2147483648.0},
      {"-2147483648 % -1", ERR_NONE, 0},
      {"1e10 \\ 1", ERR_NONE, 2147483647},  // saturating 32-bit truncation
      {"3 \\ 0.5", ERR_ZERODIVISION, 0},     // the truncated divisor is zero
      {"3 % 0.9", ERR_ZERODIVISION, 0},
      {"1/0", ERR_ZERODIVISION, 0},
      {"(1+2", ERR_UNMPARENTHESES, 0},
      {"1<<2", ERR_VALUEEXPECTED, 0},
      {"x<=x", ERR_VALUEEXPECTED, 0},
      {"1 2", ERR_SYNTAXERROR, 0},
      {"1 )", ERR_SYNTAXERROR, 0},
      {"sin(1)", ERR_VALUEEXPECTED, 0},
      {"x1", ERR_VALUEEXPECTED, 0},
      {"", ERR_VALUEEXPECTED, 0},
      {"1 +", ERR_VALUEEXPECTED, 0},
      {".5", ERR_VALUEEXPECTED, 0},
      {"$", ERR_SYNTAXERROR, 0},
      {"1 .. 2", ERR_WRONGOPCST, 0},
      {"1 == 1", ERR_VALUEEXPECTED, 0},
  };
  for (const EvalCase& c : cases) {
    double result = -999;
    EXPECT_EQ(Eval(c.expression, variables, result), c.error) << c.expression;
    if (c.error == ERR_NONE) {
      EXPECT_EQ(result, c.want) << c.expression;
    }
  }
}

TEST(Eval, ZeroByteEndsTheExpression) {
  double result = 0;
  ASSERT_EQ(Eval(std::string_view("1+2\0garbage", 11), {}, result), ERR_NONE);
  EXPECT_EQ(result, 3);
}

TEST(Eval, NestingIsBounded) {
  double result = 0;
  std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
  EXPECT_EQ(Eval(deep, {}, result), ERR_STACK);
  EXPECT_EQ(Eval(std::string(100000, '-') + "1", {}, result), ERR_STACK);
  std::string shallow = std::string(500, '(') + "1" + std::string(500, ')');
  ASSERT_EQ(Eval(shallow, {}, result), ERR_NONE);
  EXPECT_EQ(result, 1);
  // A long flat expression is a loop, not recursion.
  std::string flat = "0";
  for (int i = 0; i < 100000; ++i) flat += "+1";
  ASSERT_EQ(Eval(flat, {}, result), ERR_NONE);
  EXPECT_EQ(result, 100000);
}

TEST(Eval, VariableNames) {
  for (const char* good : {"x", "_", "a1", "A_b!$", "abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcd"}) {
    EXPECT_EQ(ValidateEvalVariableName(good), ERR_NONE) << good;
  }
  for (const char* bad : {"", "1x", "!x", "$x", "a b", "a-b", "\xE4",
                          "abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcde"}) {
    EXPECT_EQ(ValidateEvalVariableName(bad), ERR_WRONGUSAGE) << bad;
  }
}

// Random expressions, rendered from random trees by a separate Python program that also
// computes their values with the same rules (32-bit bit operations, truncations, errors).
TEST(Eval, AgreesWithAnIndependentEvaluator) {
  const char* source_dir = std::getenv("TEMBROVIA_SOURCE_DIR");
  if (!source_dir) source_dir = TEMBROVIA_TEST_SOURCE_DIR;
  std::string output;
  ASSERT_TRUE(testing::RunTool(std::string("python3 '") + source_dir + "/tests/unit/string/eval_reference.py' 4000 1",
                               output));
  std::istringstream lines(output);
  std::vector<EvalVariable> variables;
  int checked = 0, errors = 0;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string kind;
    std::getline(fields, kind, '\t');
    if (kind == "V") {
      EvalVariable variable;
      std::string value;
      std::getline(fields, variable.name, '\t');
      std::getline(fields, value);
      variable.value = std::strtod(value.c_str(), nullptr);
      variables.push_back(variable);
      continue;
    }
    std::string expression, want;
    std::getline(fields, expression, '\t');
    std::getline(fields, want);
    double result = 0;
    ErrorCode error = Eval(expression, variables, result);
    if (want == "ERR_ZERODIVISION" || want == "ERR_WRONGOPCST") {
      EXPECT_EQ(error, want == "ERR_ZERODIVISION" ? ERR_ZERODIVISION : ERR_WRONGOPCST) << expression;
      ++errors;
    } else {
      ASSERT_EQ(error, ERR_NONE) << expression;
      double expected = std::strtod(want.c_str(), nullptr);
      if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(result)) << expression << " gave " << result;
      } else {
        EXPECT_EQ(result, expected) << expression;
      }
    }
    ++checked;
  }
  EXPECT_EQ(checked, 4000);
  EXPECT_GT(errors, 0);
  EXPECT_LT(errors, checked / 2);
}

}  // namespace
}  // namespace tembrovia
