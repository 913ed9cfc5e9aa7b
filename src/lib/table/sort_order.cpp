#include "lib/table/sort_order.h"

#include <algorithm>

#include "common/latin1_case.h"

namespace tembrovia {

bool Latin1LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Latin1ToUpper(x)) < static_cast<unsigned char>(Latin1ToUpper(y));
  });
}

}  // namespace tembrovia
