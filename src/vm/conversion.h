// Numbers and strings: the conversions of values that the arithmetic, concatenation and the
// embedding interface share.
#pragma once

#include <string>

#include "vm/state.h"

namespace tembrovia {

// Converts a string to a number by the script rule ("$" or "0x" hexadecimal, or a decimal
// literal, with white space around); false when it does not convert.
bool StringToNumber(const char* text, size_t length, double* result);

// nil is 0, numbers are themselves, strings convert by StringToNumber; false otherwise.
inline bool ValueToNumber(const Value& v, double* result);
bool StringValueToNumber(const Value& v, double* result);

inline bool ValueToNumber(const Value& v, double* result) {
  if (v.tag == TagNumber) {
    *result = v.n;
    return true;
  }
  if (v.tag == TagNil) {
    *result = 0;
    return true;
  }
  return v.tag == TagString && StringValueToNumber(v, result);
}

// "%.14g".
std::string FormatNumber(double n);

// Replaces a number or nil by its string; false for any other type.
bool ToStringInPlace(VMState* L, Value* v);

}  // namespace tembrovia
