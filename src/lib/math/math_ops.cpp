#include "lib/math/math_ops.h"

#include <cmath>

#include "common/numeric_conversion.h"
#include "lib/math/data_width.h"

namespace tembrovia::math {
namespace {

ErrorCode ReadBitNumber(double bit, uint32_t& mask) {
  int32_t number = TruncToInt32(bit);
  if (number < 0 || number > 31) return ERR_WRONGUSAGE;
  mask = 1u << number;
  return ERR_NONE;
}

uint32_t WidthMask(int bits) { return bits == 32 ? 0xFFFFFFFFu : (1u << bits) - 1; }

uint32_t RotateLeft(uint32_t value, uint32_t count, int bits) {
  uint32_t mask = WidthMask(bits);
  value &= mask;
  count &= static_cast<uint32_t>(bits - 1);
  if (count == 0) return value;
  return ((value << count) | (value >> (bits - count))) & mask;
}

}  // namespace

double Round(double x) {
  // Rounding follows the current mode, nearest-even by default; no magic-constant trick, so
  // values beyond 2^51 still give the low bits of the rounded integer.
  return TruncToLow32Signed(std::nearbyint(x));
}

double Int(double x) { return TruncToInt32(x); }

double Shl(double value, double count) {
  return ShiftLeft32(TruncToLow32(value), static_cast<uint32_t>(TruncToInt32(count)));
}

double Shr(double value, double count) {
  return ShiftRight32(TruncToLow32(value), static_cast<uint32_t>(TruncToInt32(count)));
}

double Sar(double value, double count) {
  return static_cast<int32_t>(TruncToLow32(value)) >> (TruncToInt32(count) & 31);
}

double BitComplement(double value) { return ~TruncToLow32(value); }

double BitXor(double a, double b) { return TruncToLow32(a) ^ TruncToLow32(b); }

ErrorCode BitSet(double value, double bit, double& out) {
  uint32_t mask = 0;
  if (ErrorCode error = ReadBitNumber(bit, mask)) return error;
  out = TruncToLow32(value) | mask;
  return ERR_NONE;
}

ErrorCode BitClear(double value, double bit, double& out) {
  uint32_t mask = 0;
  if (ErrorCode error = ReadBitNumber(bit, mask)) return error;
  out = TruncToLow32(value) & ~mask;
  return ERR_NONE;
}

ErrorCode BitTest(double value, double bit, double& out) {
  uint32_t mask = 0;
  if (ErrorCode error = ReadBitNumber(bit, mask)) return error;
  out = (TruncToLow32(value) & mask) ? 1 : 0;
  return ERR_NONE;
}

ErrorCode Cast(double value, double is_signed, double width, double& out) {
  int bits = WidthBits(TruncToInt32(width));
  if (bits == 0) return ERR_WRONGUSAGE;
  uint32_t pattern = TruncToLow32(value) & WidthMask(bits);
  bool negative = TruncToInt32(is_signed) != 0 && (pattern >> (bits - 1)) != 0;
  out = negative ? static_cast<double>(static_cast<int64_t>(pattern) - (int64_t{1} << bits)) : pattern;
  return ERR_NONE;
}

ErrorCode Rol(double value, double count, double width, double& out) {
  int bits = WidthBits(TruncToInt32(width));
  if (bits == 0) return ERR_WRONGUSAGE;
  out = RotateLeft(TruncToLow32(value), static_cast<uint32_t>(TruncToInt32(count)), bits);
  return ERR_NONE;
}

ErrorCode Ror(double value, double count, double width, double& out) {
  int bits = WidthBits(TruncToInt32(width));
  if (bits == 0) return ERR_WRONGUSAGE;
  // A right rotation by c is a left rotation by -c modulo the width.
  out = RotateLeft(TruncToLow32(value), 0u - static_cast<uint32_t>(TruncToInt32(count)), bits);
  return ERR_NONE;
}

double Limit(double x, double low, double high) {
  if (x < low) return low;
  if (high < x) return high;
  return x;
}

double Wrap(double x, double low, double high) {
  if (x < low) return high + (x - low);
  if (x >= high) return low + (x - high);
  return x;
}

ErrorCode Div(double a, double b, double& out) {
  if (b == 0) return ERR_ZERODIVISION;
  out = a / b;
  return ERR_NONE;
}

ErrorCode Mod(double a, double b, double& out) {
  if (b == 0) return ERR_ZERODIVISION;
  out = std::fmod(a, b);
  return ERR_NONE;
}

ErrorCode Rt(double x, double n, double& out) {
  if (n == 0) return ERR_ZERODIVISION;
  if (n < 0) return ERR_WRONGUSAGE;
  out = std::pow(x, 1 / n);
  return ERR_NONE;
}

double Log(double x, double base) { return std::log10(x) / std::log10(base); }
double Ld(double x) { return std::log10(x) / std::log10(2.0); }
double Deg(double radians) { return radians / kRadiansPerDegree; }
double Rad(double degrees) { return degrees * kRadiansPerDegree; }
double Sgn(double x) { return x > 0 ? 1 : (x < 0 ? -1 : 0); }

double Frac(double x) {
  double whole = 0;
  return std::modf(x, &whole);
}

double LdExp(double mantissa, double exponent) { return std::ldexp(mantissa, TruncToInt32(exponent)); }

FrExpResult FrExp(double x) {
  FrExpResult result{0, 0};
  result.mantissa = std::frexp(x, &result.exponent);
  return result;
}

double Max(std::span<const double> values) {
  double best = values.front();
  for (double v : values.subspan(1)) {
    if (v > best) best = v;
  }
  return best;
}

double Min(std::span<const double> values) {
  double best = values.front();
  for (double v : values.subspan(1)) {
    if (v < best) best = v;
  }
  return best;
}

ErrorCode Rnd(Rand48State& random, double n, double& out) {
  int32_t range = TruncToInt32(n);
  if (range < 0) return ERR_WRONGUSAGE;
  out = TruncToInt32(random.Next() * range);
  return ERR_NONE;
}

}  // namespace tembrovia::math
