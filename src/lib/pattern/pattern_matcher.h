// The backtracking pattern matcher: single-byte classes and sets with repetition, captures
// and position captures, back-references, balanced runs and frontiers. Errors in the pattern
// are found as matching reaches them. Recursion is bounded: a pattern that would nest deeper
// than the limit fails with ERR_STACK instead of exhausting the native stack.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "common/error_codes.h"

namespace tembrovia {

constexpr int kMaxPatternCaptures = 32;

// What a capture hands on: its text, or for a position capture the 1-based position.
struct PatternCaptureValue {
  bool is_position = false;
  size_t position = 0;
  std::string_view text;
};

struct PatternOptions {
  // Nesting of the matcher (captures and repetition items each add a level).
  int max_depth = 500;
  // Called every kPollInterval matching steps; a non-zero result ends the match with that
  // error, so a long backtracking search can be interrupted.
  std::function<ErrorCode()> poll;
};

class PatternMatcher {
 public:
  static constexpr uint32_t kPollInterval = 1u << 16;

  PatternMatcher(std::string_view subject, std::string_view pattern, PatternOptions options = {});

  // Tries the pattern, read from byte `pattern_start` on (1 to skip an anchor), at subject
  // offset `at`. On a match, `end` is the offset behind it and the captures are kept.
  ErrorCode MatchAt(size_t at, size_t pattern_start, bool& matched, size_t& end);

  // The captures of the last match: how many were opened, and each one's value
  // (ERR_UNFINISHEDCAPTURE for one still open when the match ended).
  int capture_count() const { return level_; }
  ErrorCode Capture(int index, PatternCaptureValue& value) const;

  // The values a match passes on: every capture, or the whole match when there is none.
  ErrorCode MatchValues(size_t start, size_t end, std::vector<PatternCaptureValue>& values) const;

  std::string_view subject() const { return subject_; }

 private:
  static constexpr int64_t kOpen = -1;
  static constexpr int64_t kPosition = -2;
  struct CaptureSlot {
    size_t start = 0;
    int64_t length = 0;  // kOpen, kPosition or the length of the text
  };
  struct Failure {
    ErrorCode code;
  };

  // Each returns the end offset of a match of the pattern from p at s, or kNoMatch.
  static constexpr size_t kNoMatch = SIZE_MAX;
  size_t Match(size_t s, size_t p);
  size_t MatchItem(size_t s, size_t p);
  size_t StartCapture(size_t s, size_t p, int64_t what);
  size_t EndCapture(size_t s, size_t p);
  size_t MatchBalance(size_t s, size_t p);
  size_t MatchBackReference(size_t s, int digit);
  size_t MaxExpand(size_t s, size_t p, size_t ep);
  size_t MinExpand(size_t s, size_t p, size_t ep);

  size_t ClassEnd(size_t p) const;
  bool SingleMatch(size_t s, size_t p, size_t ep) const;
  bool MatchSet(unsigned char c, size_t p, size_t ec) const;
  void Step();

  std::string_view subject_;
  std::string_view pattern_;
  PatternOptions options_;
  int depth_ = 0;
  uint32_t steps_ = 0;
  int level_ = 0;
  std::array<CaptureSlot, kMaxPatternCaptures> captures_{};
};

// The class tests of the matcher: %a letters (ASCII and Latin-1 0xC0..0xFF but 0xF7), %w
// those and digits, the others ASCII only. `letter` is the class letter; an upper-case one
// complements; a letter that names no class matches itself.
bool MatchPatternClass(unsigned char c, unsigned char letter);

}  // namespace tembrovia
