#include "common/number_literal.h"

#include <locale.h>
#include <stdlib.h>

#include <cctype>

namespace tembrovia {
namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

locale_t CLocale() {
  static locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return locale;
}

}  // namespace

uint32_t StrToUint32(const char* text, const char** end, int base) {
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  if (base == 16 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && DigitValue(p[2]) < 16) p += 2;

  uint64_t value = 0;
  bool overflow = false;
  const char* digits = p;
  for (int d; (d = DigitValue(*p)) < base; ++p) {
    value = value * base + d;
    if (value > 0xFFFFFFFFULL) {
      overflow = true;
      value = 0xFFFFFFFFULL;
    }
  }
  if (p == digits) {
    if (end) *end = text;
    return 0;
  }
  if (end) *end = p;
  if (overflow) return 0xFFFFFFFFU;
  uint32_t result = static_cast<uint32_t>(value);
  return negative ? 0U - result : result;
}

double StrToDouble(const char* text, const char** end) {
  char* stop = nullptr;
  double value = strtod_l(text, &stop, CLocale());
  if (end) *end = stop;
  return value;
}

NumberLiteral ParseNumberLiteral(const char* text) {
  NumberLiteral result;
  const char* p = text;
  bool negative = false;
  if (*p == '-') {
    negative = true;
    ++p;
  }

  const char* stop = p;
  double magnitude = 0;
  auto read_unsigned = [&](const char* digits, int base) {
    magnitude = StrToUint32(digits, &stop, base);
    return stop != digits;
  };

  if (*p == '$') {
    const char* digits = p + 1;
    if (*digits == '-') {
      negative = true;
      ++digits;
    }
    if (!read_unsigned(digits, 16)) {
      result.error = ERR_SYNTAXERROR;
      return result;
    }
  } else if (*p == '%') {
    if (!read_unsigned(p + 1, 2)) stop = p + 1;  // no digits: 0, counting the "%"
  } else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    if (!read_unsigned(p + 2, 16)) {
      result.error = ERR_SYNTAXERROR;
      return result;
    }
  } else if (std::isdigit(static_cast<unsigned char>(p[0])) ||
             (p[0] == '.' && std::isdigit(static_cast<unsigned char>(p[1])))) {
    magnitude = StrToDouble(p, &stop);
  } else {
    result.error = ERR_VALUEEXPECTED;
    return result;
  }

  result.value = negative ? -magnitude : magnitude;
  result.count = static_cast<int>(stop - text);
  return result;
}

}  // namespace tembrovia
