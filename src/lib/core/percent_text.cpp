#include "lib/core/percent_text.h"

#include <cctype>
#include <charconv>

namespace tembrovia {
namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The length of the decimal number at the start of text (0 when there is none): optional
// sign, digits with an optional fraction (at least one digit), optional exponent.
size_t DecimalLength(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  return i;
}

}  // namespace

std::optional<PercentText> ParsePercentText(std::string_view text) {
  const size_t length = DecimalLength(text);
  if (length == 0) return std::nullopt;
  const std::string_view rest = text.substr(length);
  if (!rest.empty() && rest != "%") return std::nullopt;

  std::string_view number = text.substr(0, length);
  bool negative = false;
  if (number.front() == '+' || number.front() == '-') {
    negative = number.front() == '-';
    number.remove_prefix(1);
  }
  PercentText result;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), result.value);
  // Out of range means an overflowing exponent: such a text is no size either.
  if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
  if (negative) result.value = -result.value;
  result.percent = !rest.empty();
  return result;
}

}  // namespace tembrovia
