// The math commands that are more than one C library call: rounding and integer conversion,
// 32-bit bit operations, clamping and wrapping, checked division, logarithms, random numbers.
// Arguments arrive as script numbers; each function applies the conversion its command uses:
// "low 32 bits" (truncation to 64 bits, low 32 kept) for bit patterns, "trunc" (signed 32-bit
// truncation) for counts, bit numbers and flags.
#pragma once

#include <cstdint>
#include <span>

#include "common/error_codes.h"
#include "common/rand48.h"

namespace tembrovia::math {

constexpr double kPi = 3.141592653589793;
constexpr double kRadiansPerDegree = 0.017453292519943295;

// Shifts of a 32-bit pattern; the count is taken modulo 32, so a negative one is defined.
constexpr uint32_t ShiftLeft32(uint32_t value, uint32_t count) { return value << (count & 31); }
constexpr uint32_t ShiftRight32(uint32_t value, uint32_t count) { return value >> (count & 31); }

// Round half to even, the low 32 bits of the rounded integer read as signed.
double Round(double x);
// Truncation toward zero to a signed 32-bit integer.
double Int(double x);

double Shl(double value, double count);  // unsigned result
double Shr(double value, double count);  // unsigned result
double Sar(double value, double count);  // signed result

double BitComplement(double value);
double BitXor(double a, double b);
// Bit numbers outside 0..31: ERR_WRONGUSAGE.
ErrorCode BitSet(double value, double bit, double& out);
ErrorCode BitClear(double value, double bit, double& out);
ErrorCode BitTest(double value, double bit, double& out);

// The low 32, 16 or 8 bits (width #INTEGER, #SHORT, #BYTE) read as signed or unsigned;
// another width: ERR_WRONGUSAGE.
ErrorCode Cast(double value, double is_signed, double width, double& out);
// Rotation within the width; the count is taken modulo the width in two's complement.
ErrorCode Rol(double value, double count, double width, double& out);
ErrorCode Ror(double value, double count, double width, double& out);

// low if x < low, else high if high < x, else x.
double Limit(double x, double low, double high);
// One wrap step into [low, high): a value more than a range width outside stays outside.
double Wrap(double x, double low, double high);

// Zero divisors: ERR_ZERODIVISION. Rt with a negative degree: ERR_WRONGUSAGE.
ErrorCode Div(double a, double b, double& out);
ErrorCode Mod(double a, double b, double& out);
ErrorCode Rt(double x, double n, double& out);

double Log(double x, double base);
double Ld(double x);
double Deg(double radians);
double Rad(double degrees);
double Sgn(double x);
double Frac(double x);
double LdExp(double mantissa, double exponent);

struct FrExpResult {
  double mantissa;
  int exponent;
};
FrExpResult FrExp(double x);

// The largest (smallest) value; on equal values the earlier one stays. `values` is not empty.
double Max(std::span<const double> values);
double Min(std::span<const double> values);

// A random integer 0 .. n-1 from one draw; a negative n: ERR_WRONGUSAGE.
ErrorCode Rnd(Rand48State& random, double n, double& out);

}  // namespace tembrovia::math
