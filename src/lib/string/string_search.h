// Substring search, counting and replacement: a left-to-right scan where the first full match
// wins and, after a match, the scan resumes behind it, so occurrences never overlap.
// Case-insensitive mode compares bytes through the Latin-1 lower-case table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

// The first occurrence of sub at or after `from`, lying wholly inside s; -1 when there is none
// or when s or sub is empty.
int64_t FindSubstring(std::string_view s, std::string_view sub, bool case_sensitive, size_t from);

// Negative start: ERR_WRONGUSAGE.
ErrorCode FindStr(std::string_view s, std::string_view sub, bool case_sensitive, int64_t start,
                  int64_t& position);
ErrorCode CountStr(std::string_view s, std::string_view sub, bool case_sensitive, int64_t start,
                   int64_t& count);

// Every occurrence of find at or after start (clipped to the length) replaced by repl; the
// text before start is kept. An empty find leaves s unchanged. Too long a result: ERR_MEM.
ErrorCode ReplaceStr(std::string_view s, std::string_view find, std::string_view repl,
                     bool case_sensitive, int64_t start, std::string& out);

}  // namespace tembrovia
