// The order Sort uses for two strings when the script gives no comparison function: byte by
// byte after mapping both through the Latin-1 upper-case table; a proper prefix comes first.
#pragma once

#include <string_view>

namespace tembrovia {

bool Latin1LessNoCase(std::string_view a, std::string_view b);

}  // namespace tembrovia
