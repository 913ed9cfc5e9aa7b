// Numbers as text and text as numbers, for the string commands that format or read them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

// The script's number-to-text rule, "%.14g".
std::string NumberText(double value);

// Cuts the digits behind the decimal point of a "%.14g" text to `decimals`: 0 removes the
// point as well, a negative count keeps the bare point. An exponent stays: only the mantissa
// is cut. Texts without a point, or with no more digits than asked, are returned unchanged.
std::string CutDecimals(std::string_view text, int64_t decimals);

// NumberText cut with CutDecimals.
std::string StrStr(double value, int64_t decimals);

// "$" and the upper-case hexadecimal digits of the low 32 bits of the value.
std::string HexStr(double value);

// All binary digits of the low 32, 16 or 8 bits for the width constants #INTEGER, #SHORT and
// #BYTE; the empty string for any other width.
std::string BinStr(double value, int64_t width);

// The truncated value in decimal, left-padded with "0" to at least `digits` characters.
// A negative value or digits <= 0: ERR_WRONGUSAGE; too long a result: ERR_MEM.
ErrorCode PadNum(double value, int64_t digits, std::string& out);

// The text read as an unsigned 32-bit integer in base 2..36 (strtoul rules, saturating);
// 0 when no digit is read or anything but white space follows. Other bases: ERR_WRONGUSAGE.
ErrorCode ToNumberInBase(std::string_view text, int64_t base, double& out);

}  // namespace tembrovia
