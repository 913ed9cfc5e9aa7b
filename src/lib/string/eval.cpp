#include "lib/string/eval.h"

#include <cmath>
#include <cstdint>

#include "common/latin1_case.h"
#include "common/number_literal.h"
#include "common/numeric_conversion.h"
#include "lib/math/math_ops.h"

namespace tembrovia {
namespace {

enum class Op {
  kPower, kMultiply, kDivide, kIntDivide, kRemainder, kAdd, kSubtract, kShiftLeft, kShiftRight,
  kBitAnd, kBitXor, kBitOr, kConcat, kEqual, kNotEqual, kLess, kLessEqual, kGreater,
  kGreaterEqual, kAnd, kOr,
};

struct BinaryOperator {
  std::string_view text;
  int left;
  int right;
  Op op;
};

constexpr BinaryOperator kBinaryOperators[] = {
    {"^", 14, 13, Op::kPower},       {"*", 11, 11, Op::kMultiply},    {"/", 11, 11, Op::kDivide},
    {"\\", 11, 11, Op::kIntDivide},  {"%", 11, 11, Op::kRemainder},   {"+", 10, 10, Op::kAdd},
    {"-", 10, 10, Op::kSubtract},    {"<<", 9, 9, Op::kShiftLeft},    {">>", 9, 9, Op::kShiftRight},
    {"&", 8, 8, Op::kBitAnd},        {"~", 7, 7, Op::kBitXor},        {"|", 6, 6, Op::kBitOr},
    {"..", 5, 4, Op::kConcat},       {"=", 3, 3, Op::kEqual},         {"<>", 3, 3, Op::kNotEqual},
    {"<", 3, 3, Op::kLess},          {"<=", 3, 3, Op::kLessEqual},    {">", 3, 3, Op::kGreater},
    {">=", 3, 3, Op::kGreaterEqual}, {"and", 2, 2, Op::kAnd},         {"or", 1, 1, Op::kOr},
};

// Tried in this order before variables and single characters.
constexpr std::string_view kWords[] = {"<<", ">>", "..", "<>", "<=", ">=", "and", "or", "not"};

constexpr int kUnaryPriority = 12;

// Characters that continue a name: an operator word or a variable is not taken when one of
// these follows it, so "not_x" is a name and not "not" followed by "_x".
bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '!' || c == '$';
}

struct Token {
  enum Kind { kNumber, kSymbol, kEnd } kind = kEnd;
  double number = 0;
  std::string_view symbol;  // an operator word, or one character
};

class Evaluator {
 public:
  // The copy gives the literal reader the terminated string it wants; a zero byte ends the
  // expression.
  Evaluator(std::string_view expression, std::span<const EvalVariable> variables)
      : terminated_(expression.substr(0, expression.find('\0'))), text_(terminated_), variables_(variables) {}

  ErrorCode Run(double& result) {
    if (ErrorCode error = Advance()) return error;
    if (ErrorCode error = SubExpression(-1, result)) return error;
    return token_.kind == Token::kEnd ? ERR_NONE : ERR_SYNTAXERROR;
  }

 private:
  // Compares the text at pos with a word or name, without regard to case, and checks that no
  // name character follows.
  bool WordAt(size_t pos, std::string_view word) const {
    if (text_.size() - pos < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i) {
      if (Latin1ToUpper(text_[pos + i]) != Latin1ToUpper(word[i])) return false;
    }
    return pos + word.size() == text_.size() || !IsNameCharacter(text_[pos + word.size()]);
  }

  ErrorCode Advance() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    token_ = Token{};
    if (pos_ >= text_.size()) return ERR_NONE;
    char c = text_[pos_];
    if ((c >= '0' && c <= '9') || c == '$') {
      NumberLiteral literal = ParseNumberLiteral(terminated_.c_str() + pos_);
      if (literal.error) return literal.error;
      if (literal.count <= 0) return ERR_VALUEEXPECTED;
      token_ = {Token::kNumber, literal.value, {}};
      pos_ += static_cast<size_t>(literal.count);
      return ERR_NONE;
    }
    for (std::string_view word : kWords) {
      if (WordAt(pos_, word)) {
        token_ = {Token::kSymbol, 0, word};
        pos_ += word.size();
        return ERR_NONE;
      }
    }
    for (const EvalVariable& variable : variables_) {
      if (!variable.name.empty() && WordAt(pos_, variable.name)) {
        token_ = {Token::kNumber, variable.value, {}};
        pos_ += variable.name.size();
        return ERR_NONE;
      }
    }
    token_ = {Token::kSymbol, 0, text_.substr(pos_++, 1)};
    return ERR_NONE;
  }

  bool IsSymbol(std::string_view symbol) const { return token_.kind == Token::kSymbol && token_.symbol == symbol; }

  const BinaryOperator* CurrentBinaryOperator() const {
    if (token_.kind != Token::kSymbol) return nullptr;
    for (const BinaryOperator& candidate : kBinaryOperators) {
      if (candidate.text == token_.symbol) return &candidate;
    }
    return nullptr;
  }

  ErrorCode Primary(double& value) {
    if (token_.kind == Token::kNumber) {
      value = token_.number;
      return Advance();
    }
    if (IsSymbol("-") || IsSymbol("~") || IsSymbol("not")) {
      std::string_view unary = token_.symbol;
      if (ErrorCode error = Advance()) return error;
      if (ErrorCode error = SubExpression(kUnaryPriority, value)) return error;
      if (unary == "-") {
        value = -value;
      } else if (unary == "~") {
        value = ~TruncToLow32(value);
      } else {
        value = value == 0 ? 1 : 0;
      }
      return ERR_NONE;
    }
    if (IsSymbol("(")) {
      if (ErrorCode error = Advance()) return error;
      if (ErrorCode error = SubExpression(-1, value)) return error;
      if (!IsSymbol(")")) return ERR_UNMPARENTHESES;
      return Advance();
    }
    return ERR_VALUEEXPECTED;
  }

  ErrorCode SubExpression(int limit, double& value) {
    if (++depth_ > kMaxEvalDepth) return ERR_STACK;
    if (ErrorCode error = Primary(value)) return error;
    for (const BinaryOperator* op; (op = CurrentBinaryOperator()) && op->left > limit;) {
      if (ErrorCode error = Advance()) return error;
      double right = 0;
      if (ErrorCode error = SubExpression(op->right, right)) return error;
      if (ErrorCode error = Apply(op->op, value, right)) return error;
    }
    --depth_;
    return ERR_NONE;
  }

  static ErrorCode Apply(Op op, double& left, double right) {
    switch (op) {
      case Op::kPower: left = std::pow(left, right); break;
      case Op::kMultiply: left *= right; break;
      case Op::kDivide:
        if (right == 0) return ERR_ZERODIVISION;
        left /= right;
        break;
      case Op::kIntDivide:
      case Op::kRemainder: {
        // In 64 bits, so the most negative integer divided by -1 is an ordinary quotient.
        int64_t dividend = TruncToInt32(left);
        int64_t divisor = TruncToInt32(right);
        if (divisor == 0) return ERR_ZERODIVISION;
        left = static_cast<double>(op == Op::kIntDivide ? dividend / divisor : dividend % divisor);
        break;
      }
      case Op::kAdd: left += right; break;
      case Op::kSubtract: left -= right; break;
      case Op::kShiftLeft: left = math::ShiftLeft32(TruncToLow32(left), TruncToLow32(right)); break;
      case Op::kShiftRight: left = math::ShiftRight32(TruncToLow32(left), TruncToLow32(right)); break;
      case Op::kBitAnd: left = TruncToLow32(left) & TruncToLow32(right); break;
      case Op::kBitXor: left = TruncToLow32(left) ^ TruncToLow32(right); break;
      case Op::kBitOr: left = TruncToLow32(left) | TruncToLow32(right); break;
      case Op::kConcat: return ERR_WRONGOPCST;
      case Op::kEqual: left = left == right; break;
      case Op::kNotEqual: left = left != right; break;
      case Op::kLess: left = left < right; break;
      case Op::kLessEqual: left = left <= right; break;
      case Op::kGreater: left = left > right; break;
      case Op::kGreaterEqual: left = left >= right; break;
      case Op::kAnd: left = (left != 0 && right != 0) ? right : 0; break;
      case Op::kOr: left = left != 0 ? left : right; break;
    }
    return ERR_NONE;
  }

  std::string terminated_;
  std::string_view text_;
  std::span<const EvalVariable> variables_;
  size_t pos_ = 0;
  Token token_;
  int depth_ = 0;
};

}  // namespace

ErrorCode ValidateEvalVariableName(std::string_view name) {
  if (name.empty() || name.size() > 64) return ERR_WRONGUSAGE;
  char first = name[0];
  if (!((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z') || first == '_')) return ERR_WRONGUSAGE;
  for (char c : name) {
    if (!IsNameCharacter(c)) return ERR_WRONGUSAGE;
  }
  return ERR_NONE;
}

ErrorCode Eval(std::string_view expression, std::span<const EvalVariable> variables, double& result) {
  double value = 0;
  ErrorCode error = Evaluator(expression, variables).Run(value);
  if (error == ERR_NONE) result = value;
  return error;
}

}  // namespace tembrovia
