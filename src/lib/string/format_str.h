// The printf-like formatter of the string library. The format is copied to the result; "%%"
// gives one "%", and every other "%" starts a conversion that consumes the next argument:
// flags from "-+ #0", a width and a precision of at most two digits each, and one of the
// letters e E f g G (double), d i c (signed 32-bit), o u x X (low 32 bits), s (string) or
// q (quoted string).
#pragma once

#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

// Where the formatter takes its arguments from; index 0 is the argument of the first
// conversion. The caller decides how a value of the other kind converts and which error a
// missing or unconvertible argument gives.
class FormatArguments {
 public:
  virtual ~FormatArguments() = default;
  virtual ErrorCode Number(int index, double& value) = 0;
  virtual ErrorCode String(int index, std::string& value) = 0;
};

// A bad conversion (unknown letter, a third width or precision digit, a conversion text of
// more than 20 characters): ERR_WRONGUSAGE. Errors of the arguments are passed on.
ErrorCode FormatStr(std::string_view format, FormatArguments& args, std::string& out);

// The "q" conversion: between double quotes, with a backslash before every double quote,
// backslash and newline, and every zero byte written as backslash and "000".
std::string FormatQuotedString(std::string_view text);

}  // namespace tembrovia
