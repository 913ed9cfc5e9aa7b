// Pattern, subject and replacement text from the input; every operation of the matcher runs
// over them. The poll hook ends searches whose backtracking would take exponential time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lib/pattern/pattern_ops.h"

namespace {

using namespace tembrovia;

class ValuesReplacement : public PatternReplacement {
 public:
  ErrorCode Append(const PatternMatcher& matcher, size_t start, size_t end, std::string& out) override {
    std::vector<PatternCaptureValue> values;
    if (ErrorCode error = matcher.MatchValues(start, end, values)) return error;
    for (const PatternCaptureValue& value : values) {
      if (value.is_position && value.position > matcher.subject().size() + 1) __builtin_trap();
      out.append(value.text);
    }
    return ERR_NONE;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // Byte 0: the pattern length; byte 1: the replacement length; then pattern, replacement, subject.
  std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);
  size_t pattern_size = std::min<size_t>(data[0] % 64, input.size());
  std::string_view pattern = input.substr(0, pattern_size);
  size_t repl_size = std::min<size_t>(data[1] % 16, input.size() - pattern_size);
  std::string_view repl = input.substr(pattern_size, repl_size);
  std::string_view subject = input.substr(pattern_size + repl_size);

  int polls = 0;
  PatternOptions options;
  options.poll = [&polls]() -> ErrorCode { return ++polls > 8 ? ERR_USERABORT : ERR_NONE; };

  size_t position = 0;
  for (size_t round = 0; round <= subject.size() + 1; ++round) {
    bool found = false;
    std::vector<PatternCaptureValue> values;
    if (PatternFindNext(subject, pattern, position, found, values, options) || !found) break;
    if (position > subject.size() + 1) __builtin_trap();
  }

  PatternReplacementString string_replacement(repl);
  ValuesReplacement values_replacement;
  std::string out;
  int64_t count = 0;
  PatternReplace(subject, pattern, string_replacement, static_cast<int64_t>(subject.size()) + 1, out, count, options);
  PatternReplace(subject, pattern, values_replacement, 3, out, count, options);
  return 0;
}
