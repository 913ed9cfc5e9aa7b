#include "lib/pattern/pattern_matcher.h"

#include <cctype>

namespace tembrovia {
namespace {

constexpr char kEscape = '%';

bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c != 0xF7);
}

}  // namespace

bool MatchPatternClass(unsigned char c, unsigned char letter) {
  bool result;
  switch (std::tolower(letter)) {
    case 'a': result = IsLetter(c); break;
    case 'c': result = std::iscntrl(c); break;
    case 'd': result = c >= '0' && c <= '9'; break;
    case 'l': result = c >= 'a' && c <= 'z'; break;
    case 'p': result = std::ispunct(c); break;
    case 's': result = std::isspace(c); break;
    case 'u': result = c >= 'A' && c <= 'Z'; break;
    case 'w': result = IsLetter(c) || (c >= '0' && c <= '9'); break;
    case 'x': result = std::isxdigit(c); break;
    case 'z': result = c == 0; break;
    default: return letter == c;
  }
  return (letter >= 'A' && letter <= 'Z') ? !result : result;
}

PatternMatcher::PatternMatcher(std::string_view subject, std::string_view pattern, PatternOptions options)
    : subject_(subject), pattern_(pattern), options_(std::move(options)) {}

ErrorCode PatternMatcher::MatchAt(size_t at, size_t pattern_start, bool& matched, size_t& end) {
  matched = false;
  level_ = 0;
  depth_ = 0;
  if (at > subject_.size()) return ERR_NONE;
  try {
    size_t result = Match(at, pattern_start);
    matched = result != kNoMatch;
    if (matched) end = result;
  } catch (const Failure& failure) {
    level_ = 0;
    return failure.code;
  }
  return ERR_NONE;
}

ErrorCode PatternMatcher::Capture(int index, PatternCaptureValue& value) const {
  if (index < 0 || index >= level_) return ERR_INVCAPIDX;
  const CaptureSlot& slot = captures_[index];
  if (slot.length == kOpen) return ERR_UNFINISHEDCAPTURE;
  if (slot.length == kPosition) {
    value = {true, slot.start + 1, {}};
  } else {
    value = {false, 0, subject_.substr(slot.start, static_cast<size_t>(slot.length))};
  }
  return ERR_NONE;
}

ErrorCode PatternMatcher::MatchValues(size_t start, size_t end, std::vector<PatternCaptureValue>& values) const {
  values.clear();
  if (level_ == 0) {
    values.push_back({false, 0, subject_.substr(start, end - start)});
    return ERR_NONE;
  }
  values.resize(level_);
  for (int i = 0; i < level_; ++i) {
    if (ErrorCode error = Capture(i, values[i])) return error;
  }
  return ERR_NONE;
}

void PatternMatcher::Step() {
  if (++steps_ % kPollInterval == 0 && options_.poll) {
    if (ErrorCode error = options_.poll()) throw Failure{error};
  }
}

// The offset behind the single-byte item at p (a class, an escape or a set).
size_t PatternMatcher::ClassEnd(size_t p) const {
  char c = pattern_[p++];
  if (c == kEscape) {
    if (p >= pattern_.size()) throw Failure{ERR_MALFORMPAT1};
    return p + 1;
  }
  if (c == '[') {
    if (p < pattern_.size() && pattern_[p] == '^') ++p;
    // The first member is taken as it is, so a "]" right after "[" or "[^" belongs to the set.
    do {
      if (p >= pattern_.size()) throw Failure{ERR_MALFORMPAT2};
      if (pattern_[p++] == kEscape && p < pattern_.size()) ++p;
    } while (p >= pattern_.size() || pattern_[p] != ']');
    return p + 1;
  }
  return p;
}

// p is the "[", ec the closing "]".
bool PatternMatcher::MatchSet(unsigned char c, size_t p, size_t ec) const {
  bool member = true;
  if (pattern_[p + 1] == '^') {
    member = false;
    ++p;
  }
  while (++p < ec) {
    unsigned char item = static_cast<unsigned char>(pattern_[p]);
    if (item == kEscape) {
      ++p;
      if (MatchPatternClass(c, static_cast<unsigned char>(pattern_[p]))) return member;
    } else if (p + 2 < ec && pattern_[p + 1] == '-') {
      unsigned char last = static_cast<unsigned char>(pattern_[p + 2]);
      p += 2;
      if (item <= c && c <= last) return member;
    } else if (item == c) {
      return member;
    }
  }
  return !member;
}

bool PatternMatcher::SingleMatch(size_t s, size_t p, size_t ep) const {
  if (s >= subject_.size()) return false;
  unsigned char c = static_cast<unsigned char>(subject_[s]);
  switch (pattern_[p]) {
    case '.': return true;
    case kEscape: return MatchPatternClass(c, static_cast<unsigned char>(pattern_[p + 1]));
    case '[': return MatchSet(c, p, ep - 1);
    default: return static_cast<unsigned char>(pattern_[p]) == c;
  }
}

size_t PatternMatcher::Match(size_t s, size_t p) {
  if (++depth_ > options_.max_depth) throw Failure{ERR_STACK};
  size_t result = MatchItem(s, p);
  --depth_;
  return result;
}

// Matches from item p on. Plain single items advance in the loop; only captures, repetitions
// and optional items go one level deeper.
size_t PatternMatcher::MatchItem(size_t s, size_t p) {
  for (;;) {
    Step();
    if (p >= pattern_.size()) return s;
    char c = pattern_[p];
    if (c == '(') {
      if (p + 1 < pattern_.size() && pattern_[p + 1] == ')') return StartCapture(s, p + 2, kPosition);
      return StartCapture(s, p + 1, kOpen);
    }
    if (c == ')') return EndCapture(s, p + 1);
    if (c == '$' && p + 1 == pattern_.size()) return s == subject_.size() ? s : kNoMatch;
    if (c == kEscape && p + 1 < pattern_.size()) {
      char next = pattern_[p + 1];
      if (next == 'b') {
        s = MatchBalance(s, p + 2);
        if (s == kNoMatch) return kNoMatch;
        p += 4;
        continue;
      }
      if (next == 'f') {
        p += 2;
        if (p >= pattern_.size() || pattern_[p] != '[') throw Failure{ERR_MISSINGOPBRACK};
        size_t ep = ClassEnd(p);
        unsigned char previous = s == 0 ? 0 : static_cast<unsigned char>(subject_[s - 1]);
        unsigned char current = s < subject_.size() ? static_cast<unsigned char>(subject_[s]) : 0;
        if (MatchSet(previous, p, ep - 1) || !MatchSet(current, p, ep - 1)) return kNoMatch;
        p = ep;
        continue;
      }
      if (next >= '1' && next <= '9') {
        s = MatchBackReference(s, next - '0');
        if (s == kNoMatch) return kNoMatch;
        p += 2;
        continue;
      }
    }

    size_t ep = ClassEnd(p);
    bool matches = SingleMatch(s, p, ep);
    char suffix = ep < pattern_.size() ? pattern_[ep] : '\0';
    switch (suffix) {
      case '?': {
        if (matches) {
          size_t result = Match(s + 1, ep + 1);
          if (result != kNoMatch) return result;
        }
        p = ep + 1;
        continue;
      }
      case '*': return MaxExpand(s, p, ep);
      case '+': return matches ? MaxExpand(s + 1, p, ep) : kNoMatch;
      case '-': return MinExpand(s, p, ep);
      default:
        if (!matches) return kNoMatch;
        ++s;
        p = ep;
    }
  }
}

size_t PatternMatcher::StartCapture(size_t s, size_t p, int64_t what) {
  if (level_ >= kMaxPatternCaptures) throw Failure{ERR_TOOMANYCAPTURES};
  captures_[level_] = {s, what};
  ++level_;
  size_t result = Match(s, p);
  if (result == kNoMatch) --level_;
  return result;
}

size_t PatternMatcher::EndCapture(size_t s, size_t p) {
  int open = level_ - 1;
  while (open >= 0 && captures_[open].length != kOpen) --open;
  if (open < 0) throw Failure{ERR_INVPATCAP};
  captures_[open].length = static_cast<int64_t>(s - captures_[open].start);
  size_t result = Match(s, p);
  if (result == kNoMatch) captures_[open].length = kOpen;
  return result;
}

// p is behind "%b": the two delimiters follow.
size_t PatternMatcher::MatchBalance(size_t s, size_t p) {
  if (p + 1 >= pattern_.size()) throw Failure{ERR_UNBALANCEDPAT};
  if (s >= subject_.size() || subject_[s] != pattern_[p]) return kNoMatch;
  char open = pattern_[p], close = pattern_[p + 1];
  size_t depth = 1;
  for (size_t at = s + 1; at < subject_.size(); ++at) {
    if (subject_[at] == close) {
      if (--depth == 0) return at + 1;
    } else if (subject_[at] == open) {
      ++depth;
    }
  }
  return kNoMatch;
}

size_t PatternMatcher::MatchBackReference(size_t s, int digit) {
  int index = digit - 1;
  // A position capture has no text to repeat.
  if (index >= level_ || captures_[index].length < 0) throw Failure{ERR_INVCAPIDX};
  size_t length = static_cast<size_t>(captures_[index].length);
  if (subject_.size() - s < length) return kNoMatch;
  if (subject_.compare(s, length, subject_.substr(captures_[index].start, length)) != 0) return kNoMatch;
  return s + length;
}

size_t PatternMatcher::MaxExpand(size_t s, size_t p, size_t ep) {
  size_t count = 0;
  while (SingleMatch(s + count, p, ep)) {
    ++count;
    Step();
  }
  // Longest first, giving back one byte at a time.
  for (size_t taken = count + 1; taken-- > 0;) {
    size_t result = Match(s + taken, ep + 1);
    if (result != kNoMatch) return result;
  }
  return kNoMatch;
}

size_t PatternMatcher::MinExpand(size_t s, size_t p, size_t ep) {
  for (;;) {
    size_t result = Match(s, ep + 1);
    if (result != kNoMatch) return result;
    if (!SingleMatch(s, p, ep)) return kNoMatch;
    ++s;
  }
}

}  // namespace tembrovia
