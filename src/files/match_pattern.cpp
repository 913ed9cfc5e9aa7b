#include "files/match_pattern.h"

#include <cstdint>

namespace tembrovia {
namespace {

// Length of the set starting with "[" at pattern[0] through its closing "]", or 0 when it
// is not closed.
size_t SetLength(std::string_view pattern) {
  size_t i = 1;
  if (i < pattern.size() && pattern[i] == '!') ++i;
  if (i < pattern.size() && pattern[i] == ']') ++i;  // a leading "]" is a member
  while (i < pattern.size() && pattern[i] != ']') ++i;
  return i < pattern.size() ? i + 1 : 0;
}

bool SetContains(std::string_view set, unsigned char c) {
  // set: the text between "[" and "]".
  bool complement = !set.empty() && set[0] == '!';
  if (complement) set.remove_prefix(1);
  bool member = false;
  for (size_t i = 0; i < set.size(); ++i) {
    auto low = static_cast<unsigned char>(set[i]);
    if (i + 2 < set.size() && set[i + 1] == '-' && low < static_cast<unsigned char>(set[i + 2])) {
      auto high = static_cast<unsigned char>(set[i + 2]);
      if (c >= low && c <= high) member = true;
      i += 2;
    } else if (c == low) {
      member = true;
    }
  }
  return member != complement;
}

// Matches one pattern element (everything but "*") at the start of `pattern` against c;
// `length` receives the element's length in the pattern.
bool MatchElement(std::string_view pattern, unsigned char c, size_t& length) {
  length = 1;
  switch (pattern[0]) {
    case '?':
      return true;
    case '#':
      return c >= '0' && c <= '9';
    case '[': {
      size_t setLength = SetLength(pattern);
      if (setLength == 0) return c == '[';
      length = setLength;
      return SetContains(pattern.substr(1, setLength - 2), c);
    }
    default:
      return c == static_cast<unsigned char>(pattern[0]);
  }
}

// Every element but "*" matches exactly one character, so the classic greedy scan with one
// backtracking point (the last "*") decides the match.
bool MatchAlternative(std::string_view text, std::string_view pattern) {
  size_t t = 0, p = 0;
  size_t starPattern = std::string_view::npos, starText = 0;
  while (t < text.size()) {
    size_t length = 0;
    if (p < pattern.size() && pattern[p] == '*') {
      starPattern = ++p;
      starText = t;
    } else if (p < pattern.size() && MatchElement(pattern.substr(p), static_cast<unsigned char>(text[t]), length)) {
      p += length;
      ++t;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchPattern(std::string_view text, std::string_view pattern) {
  size_t start = 0;
  while (true) {
    size_t end = pattern.find(';', start);
    std::string_view alternative = pattern.substr(start, end == std::string_view::npos ? end : end - start);
    if (MatchAlternative(text, alternative)) return true;
    if (end == std::string_view::npos) return false;
    start = end + 1;
  }
}

}  // namespace tembrovia
