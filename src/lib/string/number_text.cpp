#include "lib/string/number_text.h"

#include <cctype>
#include <cstdio>

#include "common/number_literal.h"
#include "common/numeric_conversion.h"
#include "lib/math/data_width.h"
#include "lib/string/string_limits.h"

namespace tembrovia {

std::string NumberText(double value) {
  char text[32];
  int length = std::snprintf(text, sizeof text, "%.14g", value);
  return std::string(text, static_cast<size_t>(length));
}

std::string CutDecimals(std::string_view text, int64_t decimals) {
  size_t point = text.find('.');
  if (point == std::string_view::npos) return std::string(text);
  size_t mantissa_end = text.find_first_of("eE", point);
  if (mantissa_end == std::string_view::npos) mantissa_end = text.size();
  size_t digits = mantissa_end - point - 1;

  size_t keep_until;  // end of the kept mantissa
  if (decimals == 0) {
    keep_until = point;
  } else if (decimals < 0) {
    keep_until = point + 1;
  } else if (static_cast<uint64_t>(decimals) < digits) {
    keep_until = point + 1 + static_cast<size_t>(decimals);
  } else {
    return std::string(text);
  }
  std::string cut(text.substr(0, keep_until));
  cut.append(text.substr(mantissa_end));
  return cut;
}

std::string StrStr(double value, int64_t decimals) { return CutDecimals(NumberText(value), decimals); }

std::string HexStr(double value) {
  char text[16];
  int length = std::snprintf(text, sizeof text, "$%X", static_cast<unsigned>(TruncToLow32(value)));
  return std::string(text, static_cast<size_t>(length));
}

std::string BinStr(double value, int64_t width) {
  int bits = WidthBits(width);
  uint32_t pattern = TruncToLow32(value);
  std::string text;
  for (int bit = bits - 1; bit >= 0; --bit) text += (pattern >> bit & 1) ? '1' : '0';
  return text;
}

ErrorCode PadNum(double value, int64_t digits, std::string& out) {
  int64_t number = TruncToInt64(value);
  if (number < 0 || digits <= 0) return ERR_WRONGUSAGE;
  if (static_cast<uint64_t>(digits) > kMaxStringLength) return ERR_MEM;
  return CatchOutOfMemory([&] {
    std::string text = std::to_string(number);
    size_t width = static_cast<size_t>(digits);
    out = text.size() < width ? std::string(width - text.size(), '0') + text : text;
    return ERR_NONE;
  });
}

ErrorCode ToNumberInBase(std::string_view text, int64_t base, double& out) {
  if (base < 2 || base > 36) return ERR_WRONGUSAGE;
  std::string terminated(text);  // the reader wants a terminator; embedded zero bytes end it
  const char* begin = terminated.c_str();
  const char* end = begin;
  uint32_t value = StrToUint32(begin, &end, static_cast<int>(base));
  const char* rest = end;
  while (rest < begin + terminated.size() && std::isspace(static_cast<unsigned char>(*rest))) ++rest;
  bool clean = end != begin && rest == begin + terminated.size();
  out = clean ? value : 0;
  return ERR_NONE;
}

}  // namespace tembrovia
