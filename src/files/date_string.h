// The date strings of file dates: "%.2d-%s-%d %.2d:%.2d:%.2d" in local time, with the
// English month abbreviation, for example "05-Mar-2012 14:07:09".
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace tembrovia {

std::string FormatDateString(std::time_t time);

// Accepts exactly the form FormatDateString writes with a four-digit year: "-" at positions
// 2 and 6, ":" at 14 and 17, a space at 11, digits elsewhere, a day 1..31, a month matched
// without regard to case, hours up to 23, minutes and seconds below 60. nullopt otherwise
// (ERR_INVALIDDATE). The result is the local time it names.
std::optional<std::time_t> ParseDateString(std::string_view text);

}  // namespace tembrovia
