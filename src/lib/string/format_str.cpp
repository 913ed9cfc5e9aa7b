#include "lib/string/format_str.h"

#include <cstdio>
#include <cstring>

#include "common/numeric_conversion.h"
#include "lib/string/string_limits.h"

namespace tembrovia {
namespace {

constexpr size_t kMaxConversionLength = 20;
constexpr size_t kLongStringLength = 100;  // a string this long without precision goes in whole

struct Conversion {
  std::string text;  // "%" to the letter, both included, ready for the C library
  char letter = 0;
  bool has_precision = false;
};

bool IsFlag(char c) { return c != 0 && std::strchr("-+ #0", c) != nullptr; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the conversion that starts at the "%" at format[at]; `at` ends behind its letter.
ErrorCode ParseConversion(std::string_view format, size_t& at, Conversion& conversion) {
  auto peek = [&](size_t offset) { return at + offset < format.size() ? format[at + offset] : '\0'; };
  size_t start = at++;
  while (IsFlag(peek(0))) ++at;
  for (int digits = 0; IsDigit(peek(0)); ++digits, ++at) {
    if (digits == 2) return ERR_WRONGUSAGE;
  }
  if (peek(0) == '.') {
    conversion.has_precision = true;
    ++at;
    for (int digits = 0; IsDigit(peek(0)); ++digits, ++at) {
      if (digits == 2) return ERR_WRONGUSAGE;
    }
  }
  conversion.letter = peek(0);
  if (conversion.letter == 0 || !std::strchr("eEfgGdicouxXsq", conversion.letter)) return ERR_WRONGUSAGE;
  ++at;
  if (at - start > kMaxConversionLength) return ERR_WRONGUSAGE;
  conversion.text.assign(format.substr(start, at - start));
  return ERR_NONE;
}

// snprintf into a buffer of the size the C library asks for, so no width or precision can
// overrun it.
template <class Value>
void AppendFormatted(std::string& out, const std::string& spec, Value value) {
  int length = std::snprintf(nullptr, 0, spec.c_str(), value);
  if (length <= 0) return;
  size_t old_size = out.size();
  out.resize(old_size + static_cast<size_t>(length) + 1);
  std::snprintf(out.data() + old_size, static_cast<size_t>(length) + 1, spec.c_str(), value);
  out.resize(old_size + static_cast<size_t>(length));
}

ErrorCode AppendConversion(const Conversion& conversion, int index, FormatArguments& args,
                           std::string& out) {
  switch (conversion.letter) {
    case 's':
    case 'q': {
      std::string text;
      if (ErrorCode error = args.String(index, text)) return error;
      if (conversion.letter == 'q') {
        out += FormatQuotedString(text);
      } else if (!conversion.has_precision && text.size() >= kLongStringLength) {
        out += text;
      } else {
        AppendFormatted(out, conversion.text, text.c_str());
      }
      return ERR_NONE;
    }
    default: {
      double number = 0;
      if (ErrorCode error = args.Number(index, number)) return error;
      switch (conversion.letter) {
        case 'd':
        case 'i':
        case 'c': AppendFormatted(out, conversion.text, static_cast<int>(TruncToInt32(number))); break;
        case 'o':
        case 'u':
        case 'x':
        case 'X': AppendFormatted(out, conversion.text, static_cast<unsigned>(TruncToLow32(number))); break;
        default: AppendFormatted(out, conversion.text, number); break;
      }
      return ERR_NONE;
    }
  }
}

}  // namespace

std::string FormatQuotedString(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\' || c == '\n') {
      quoted += '\\';
      quoted += c;
    } else if (c == '\0') {
      quoted += "\\000";
    } else {
      quoted += c;
    }
  }
  quoted += '"';
  return quoted;
}

ErrorCode FormatStr(std::string_view format, FormatArguments& args, std::string& out) {
  return CatchOutOfMemory([&]() -> ErrorCode {
    out.clear();
    int index = 0;
    for (size_t at = 0; at < format.size();) {
      size_t percent = format.find('%', at);
      out.append(format.substr(at, percent - at));
      if (percent == std::string_view::npos) break;
      if (percent + 1 < format.size() && format[percent + 1] == '%') {
        out += '%';
        at = percent + 2;
        continue;
      }
      at = percent;
      Conversion conversion;
      if (ErrorCode error = ParseConversion(format, at, conversion)) return error;
      if (ErrorCode error = AppendConversion(conversion, index++, args, out)) return error;
      if (out.size() > kMaxStringLength) return ERR_MEM;
    }
    return ERR_NONE;
  });
}

}  // namespace tembrovia
