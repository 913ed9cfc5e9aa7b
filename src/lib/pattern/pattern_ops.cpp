#include "lib/pattern/pattern_ops.h"

#include "lib/string/string_limits.h"

namespace tembrovia {

ErrorCode PatternFindNext(std::string_view subject, std::string_view pattern, size_t& position,
                          bool& found, std::vector<PatternCaptureValue>& values,
                          const PatternOptions& options) {
  found = false;
  PatternMatcher matcher(subject, pattern, options);
  for (size_t at = position; at <= subject.size(); ++at) {
    size_t end = 0;
    if (ErrorCode error = matcher.MatchAt(at, 0, found, end)) return error;
    if (found) {
      position = end > at ? end : at + 1;
      return matcher.MatchValues(at, end, values);
    }
  }
  return ERR_NONE;
}

ErrorCode PatternReplacementString::Append(const PatternMatcher& matcher, size_t, size_t, std::string& out) {
  for (size_t i = 0; i < text_.size(); ++i) {
    char c = text_[i];
    if (c != '%' || i + 1 == text_.size()) {
      out += c;
      continue;
    }
    char next = text_[++i];
    if (next < '0' || next > '9') {
      out += next;
      continue;
    }
    PatternCaptureValue value;
    ErrorCode error = next == '0' ? ERR_INVCAPIDX : matcher.Capture(next - '1', value);
    if (error) return error == ERR_UNFINISHEDCAPTURE ? ERR_INVCAPIDX : error;
    if (value.is_position) {
      out += std::to_string(value.position);
    } else {
      out.append(value.text);
    }
  }
  return ERR_NONE;
}

ErrorCode PatternReplace(std::string_view subject, std::string_view pattern, PatternReplacement& replacement,
                         int64_t max, std::string& out, int64_t& count, const PatternOptions& options) {
  bool anchored = !pattern.empty() && pattern[0] == '^';
  PatternMatcher matcher(subject, pattern, options);
  count = 0;
  return CatchOutOfMemory([&]() -> ErrorCode {
    out.clear();
    size_t at = 0;
    while (count < max) {
      bool matched = false;
      size_t end = 0;
      if (ErrorCode error = matcher.MatchAt(at, anchored ? 1 : 0, matched, end)) return error;
      if (matched) {
        ++count;
        if (ErrorCode error = replacement.Append(matcher, at, end, out)) return error;
      }
      if (matched && end > at) {
        at = end;
      } else if (at < subject.size()) {
        out += subject[at++];
      } else {
        break;
      }
      if (out.size() > kMaxStringLength) return ERR_MEM;
      if (anchored) break;
    }
    if (out.size() + (subject.size() - at) > kMaxStringLength) return ERR_MEM;
    out.append(subject.substr(at));
    return ERR_NONE;
  });
}

}  // namespace tembrovia
