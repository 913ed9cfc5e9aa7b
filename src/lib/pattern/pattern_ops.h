// The two operations built on the matcher: stepping through the matches of a subject (the
// iterator of PatternFindStr) and replacing them (PatternReplaceStr).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/error_codes.h"
#include "lib/pattern/pattern_matcher.h"

namespace tembrovia {

// One call of the iterator: tries the pattern at `position` and at each following offset up
// to and including the end of the subject. A "^" is an ordinary character here. On a match,
// `values` holds its captures (or the whole match) and `position` moves to its end, or one
// past it when the match was empty; otherwise `found` is false.
ErrorCode PatternFindNext(std::string_view subject, std::string_view pattern, size_t& position,
                          bool& found, std::vector<PatternCaptureValue>& values,
                          const PatternOptions& options = {});

// What replaces one match. The caller of PatternReplace supplies it: a replacement string
// (PatternReplacementString) or, for instance, a script function called with the values.
class PatternReplacement {
 public:
  virtual ~PatternReplacement() = default;
  // Appends the replacement of the match [start, end) to `out`; the matcher holds its captures.
  virtual ErrorCode Append(const PatternMatcher& matcher, size_t start, size_t end, std::string& out) = 0;
};

// A replacement text with "%" as escape: "%1".."%9" insert a capture (its text, or its
// position in decimal); "%0", a capture that does not exist or is still open fail with
// ERR_INVCAPIDX; "%" before any other byte inserts that byte; a final lone "%" stays "%".
class PatternReplacementString : public PatternReplacement {
 public:
  explicit PatternReplacementString(std::string_view text) : text_(text) {}
  ErrorCode Append(const PatternMatcher& matcher, size_t start, size_t end, std::string& out) override;

 private:
  std::string_view text_;
};

// Replaces up to `max` matches from the start of the subject (none when max <= 0). A "^" at
// the start of the pattern anchors it: only the first position is tried. A result beyond the
// string limit fails with ERR_MEM.
ErrorCode PatternReplace(std::string_view subject, std::string_view pattern, PatternReplacement& replacement,
                         int64_t max, std::string& out, int64_t& count, const PatternOptions& options = {});

}  // namespace tembrovia
