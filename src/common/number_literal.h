// Number literals as scripts, the command line and the text library write them:
// "$" hexadecimal, "%" binary, "0x" hexadecimal, or a decimal floating-point literal,
// each after an optional "-".
#pragma once

#include <cstdint>

#include "common/error_codes.h"

namespace tembrovia {

struct NumberLiteral {
  double value = 0;
  int count = 0;          // characters consumed from the start of the input
  ErrorCode error = ERR_NONE;
};

// Reads a literal at the start of a zero-terminated string.
NumberLiteral ParseNumberLiteral(const char* text);

// The C library's strtoul in 32 bits, whatever the width of long on the host: leading white
// space, an optional sign (a "-" negates modulo 2^32), an optional "0x" prefix for base 16,
// and saturation at 4294967295 on overflow. *end is set behind the last digit read, or to
// text when no digit was read. Bases 2..36.
uint32_t StrToUint32(const char* text, const char** end, int base);

// strtod in the "C" locale, whatever locale the process runs in.
double StrToDouble(const char* text, const char** end);

}  // namespace tembrovia
