// The English month abbreviations of the date strings that scripts read and write.
#pragma once

#include <array>
#include <string_view>

namespace tembrovia {

inline constexpr std::array<std::string_view, 12> kMonthAbbreviations = {
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace tembrovia
