// Any bytes as an expression, with a few variables whose names overlap the operator words.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lib/string/eval.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const tembrovia::EvalVariable kVariables[] = {
      {"x", 4}, {"not_x", -1}, {"a$b", 0.5}, {"y!", 1e300}, {"orange", -0.0}, {"_", 2147483648.0}};
  double result = 0;
  tembrovia::Eval(std::string_view(reinterpret_cast<const char*>(data), size), kVariables, result);
  return 0;
}
