#include "vm/conversion.h"

#include <cctype>
#include <cstdio>

#include "common/number_literal.h"
#include "vm/string_table.h"

namespace tembrovia {
namespace {

bool OnlySpaceFollows(const char* p, const char* end) {
  while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
  return p == end;
}

bool StartsDecimal(const char* p, const char* end) {
  while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
  if (p < end && (*p == '+' || *p == '-')) ++p;
  if (p + 1 < end && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return false;
  if (p < end && std::isdigit(static_cast<unsigned char>(*p))) return true;
  return p + 1 < end && p[0] == '.' && std::isdigit(static_cast<unsigned char>(p[1]));
}

}  // namespace

bool StringToNumber(const char* text, size_t length, double* result) {
  // The text is NUL-terminated (interned strings are); an embedded NUL ends the digits and
  // then fails the "only white space follows" test.
  const char* end = text + length;
  const char* stop = text;
  if (length == 0) return false;
  if (text[0] == '$') {
    uint32_t value = StrToUint32(text + 1, &stop, 16);
    if (stop == text + 1) return false;
    *result = value;
  } else if (length > 2 && text[0] == '0' && text[1] == 'x') {
    uint32_t value = StrToUint32(text, &stop, 16);
    if (stop == text) return false;
    *result = value;
  } else {
    // Only decimal literals: the C library would also take hexadecimal floats, "inf" and
    // "nan", which scripts never wrote as numbers.
    if (!StartsDecimal(text, end)) return false;
    double value = StrToDouble(text, &stop);
    if (stop == text) return false;
    *result = value;
  }
  return OnlySpaceFollows(stop, end);
}

bool StringValueToNumber(const Value& v, double* result) {
  const InternedString* s = AsString(v);
  return StringToNumber(s->data(), s->length, result);
}

std::string FormatNumber(double n) {
  char buffer[64];
  int count = std::snprintf(buffer, sizeof buffer, "%.14g", n);
  return std::string(buffer, count > 0 ? static_cast<size_t>(count) : 0);
}

bool ToStringInPlace(VMState* L, Value* v) {
  if (v->tag == TagNumber) {
    char buffer[64];
    int count = std::snprintf(buffer, sizeof buffer, "%.14g", v->n);
    SetString(v, InternString(L, buffer, static_cast<size_t>(count)));
    return true;
  }
  if (v->tag == TagNil) {
    SetString(v, InternString(L, "", 0));
    return true;
  }
  return v->tag == TagString;
}

}  // namespace tembrovia
