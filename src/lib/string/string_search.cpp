#include "lib/string/string_search.h"

#include <algorithm>

#include "common/latin1_case.h"
#include "lib/string/string_limits.h"

namespace tembrovia {
namespace {

bool MatchesAt(std::string_view s, size_t at, std::string_view sub, bool case_sensitive) {
  if (case_sensitive) return s.compare(at, sub.size(), sub) == 0;
  for (size_t k = 0; k < sub.size(); ++k) {
    if (Latin1ToLower(s[at + k]) != Latin1ToLower(sub[k])) return false;
  }
  return true;
}

size_t StartOffset(int64_t start, size_t size) {
  return static_cast<uint64_t>(start) < size ? static_cast<size_t>(start) : size;
}

}  // namespace

int64_t FindSubstring(std::string_view s, std::string_view sub, bool case_sensitive, size_t from) {
  if (sub.empty() || sub.size() > s.size()) return -1;
  for (size_t at = from; at <= s.size() - sub.size(); ++at) {
    if (MatchesAt(s, at, sub, case_sensitive)) return static_cast<int64_t>(at);
  }
  return -1;
}

ErrorCode FindStr(std::string_view s, std::string_view sub, bool case_sensitive, int64_t start,
                  int64_t& position) {
  if (start < 0) return ERR_WRONGUSAGE;
  position = FindSubstring(s, sub, case_sensitive, StartOffset(start, s.size()));
  return ERR_NONE;
}

ErrorCode CountStr(std::string_view s, std::string_view sub, bool case_sensitive, int64_t start,
                   int64_t& count) {
  if (start < 0) return ERR_WRONGUSAGE;
  count = 0;
  for (int64_t at = FindSubstring(s, sub, case_sensitive, StartOffset(start, s.size())); at >= 0;
       at = FindSubstring(s, sub, case_sensitive, static_cast<size_t>(at) + sub.size())) {
    ++count;
  }
  return ERR_NONE;
}

ErrorCode ReplaceStr(std::string_view s, std::string_view find, std::string_view repl,
                     bool case_sensitive, int64_t start, std::string& out) {
  if (start < 0) return ERR_WRONGUSAGE;
  size_t copied = StartOffset(start, s.size());
  int64_t count = 0;
  CountStr(s, find, case_sensitive, static_cast<int64_t>(copied), count);
  // The result size is known before anything is built: refuse it rather than run out midway.
  uint64_t matches = static_cast<uint64_t>(count);
  uint64_t result_size = s.size() - matches * find.size() + matches * repl.size();
  if (result_size > kMaxStringLength) return ERR_MEM;
  return CatchOutOfMemory([&] {
    out.assign(s.substr(0, copied));
    out.reserve(result_size);
    for (int64_t at = FindSubstring(s, find, case_sensitive, copied); at >= 0;
         at = FindSubstring(s, find, case_sensitive, copied)) {
      size_t match = static_cast<size_t>(at);
      out.append(s.substr(copied, match - copied));
      out.append(repl);
      copied = match + find.size();
    }
    out.append(s.substr(copied));
    return ERR_NONE;
  });
}

}  // namespace tembrovia
