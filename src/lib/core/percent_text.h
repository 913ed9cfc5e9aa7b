// The text form of sizes and positions that may be percentages: a decimal number, optionally
// followed by "%" ("50", "12.5%", "-3").
#pragma once

#include <optional>
#include <string_view>

namespace tembrovia {

struct PercentText {
  double value = 0;
  bool percent = false;
};

// The whole text must be the number (sign, digits, optional fraction and exponent) and an
// optional "%"; nullopt otherwise.
std::optional<PercentText> ParsePercentText(std::string_view text);

}  // namespace tembrovia
