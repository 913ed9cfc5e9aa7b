// MatchPattern on arbitrary text and pattern (split at the first zero byte).
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/match_pattern.h"

using namespace tembrovia;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  size_t split = input.find('\0');
  std::string_view text = input.substr(0, split);
  std::string_view pattern = split == std::string_view::npos ? std::string_view{} : input.substr(split + 1);
  bool matches = MatchPattern(text, pattern);
  // A text always matches itself when it holds no wildcard characters.
  if (pattern.empty() && text.find_first_of("?#*[;") == std::string_view::npos && !MatchPattern(text, text)) {
    std::abort();
  }
  // "*" before any alternative can only widen the match.
  if (matches && pattern.find(';') == std::string_view::npos && !MatchPattern(text, std::string("*") + std::string(pattern))) {
    std::abort();
  }
  return 0;
}
