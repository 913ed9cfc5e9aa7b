// Slicing and editing of byte strings: the position and length rules of the string commands.
// Positions are 0-based; lengths and positions arrive already truncated toward zero.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/error_codes.h"

namespace tembrovia {

// The first (last) n bytes; all of s when n exceeds its length, empty when n <= 0.
std::string_view LeftStr(std::string_view s, int64_t n);
std::string_view RightStr(std::string_view s, int64_t n);

// len bytes from pos, cut at the end of s. A negative pos is refused (ERR_WRONGUSAGE).
ErrorCode MidStr(std::string_view s, int64_t pos, int64_t len, std::string_view& out);

// s without its last (first) n bytes; negative n: ERR_WRONGUSAGE.
ErrorCode UnleftStr(std::string_view s, int64_t n, std::string_view& out);
ErrorCode UnrightStr(std::string_view s, int64_t n, std::string_view& out);

// s without the len bytes from pos; negative pos or len: ERR_WRONGUSAGE.
ErrorCode UnmidStr(std::string_view s, int64_t pos, int64_t len, std::string& out);

// ins inserted before pos (clipped to the length of s), or written over s from pos.
ErrorCode InsertStr(std::string_view s, std::string_view ins, int64_t pos, bool overwrite,
                    std::string& out);

// s without its leading (or trailing) run of the one byte in `ch`.
ErrorCode TrimStr(std::string_view s, std::string_view ch, bool from_right, std::string_view& out);

// The pieces between occurrences of the one-byte separator; empty pieces count.
ErrorCode SplitStr(std::string_view s, std::string_view sep, std::vector<std::string_view>& pieces);

// s repeated count times; count <= 0: ERR_WRONGUSAGE; a result too long: ERR_MEM.
ErrorCode RepeatStr(std::string_view s, int64_t count, std::string& out);

// A one-byte string for 1..255, the empty string for 0, ERR_WRONGUSAGE outside 0..255.
ErrorCode Chr(int64_t code, std::string& out);

// The first byte, 0 for the empty string.
int Asc(std::string_view s);

}  // namespace tembrovia
