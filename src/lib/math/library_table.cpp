// The "math" library: 48 commands and #PI.
#include <cmath>

#include "lib/core/library_table.h"
#include "lib/math/command_shapes.h"
#include "lib/math/math_commands.h"
#include "lib/math/math_ops.h"

namespace tembrovia {
namespace {

using math::BinaryCommand;
using math::CheckedBinaryCommand;
using math::TernaryCommand;
using math::UnaryCommand;

// The C library functions the commands hand their numbers to, as plain functions.
double Abs(double x) { return std::fabs(x); }
double ACos(double x) { return std::acos(x); }
double ASin(double x) { return std::asin(x); }
double ATan(double x) { return std::atan(x); }
double ATan2(double y, double x) { return std::atan2(y, x); }
double Ceil(double x) { return std::ceil(x); }
double Floor(double x) { return std::floor(x); }
double Cos(double x) { return std::cos(x); }
double Sin(double x) { return std::sin(x); }
double Tan(double x) { return std::tan(x); }
double Exp(double x) { return std::exp(x); }
double Hypot(double x, double y) { return std::hypot(x, y); }
double Ln(double x) { return std::log(x); }
double Pow(double x, double y) { return std::pow(x, y); }
double Sqrt(double x) { return std::sqrt(x); }
double Add(double a, double b) { return a + b; }
double Sub(double a, double b) { return a - b; }
double Mul(double a, double b) { return a * b; }

constexpr CommandEntry kMathCommands[] = {
    {"Abs", UnaryCommand<Abs>},
    {"ACos", UnaryCommand<ACos>},
    {"Add", BinaryCommand<Add>},
    {"ASin", UnaryCommand<ASin>},
    {"ATan", UnaryCommand<ATan>},
    {"ATan2", BinaryCommand<ATan2>},
    {"BitClear", CheckedBinaryCommand<math::BitClear>},
    {"BitComplement", UnaryCommand<math::BitComplement>},
    {"BitSet", CheckedBinaryCommand<math::BitSet>},
    {"BitTest", CheckedBinaryCommand<math::BitTest>},
    {"BitXor", BinaryCommand<math::BitXor>},
    {"Cast", CmdCast},
    {"Ceil", UnaryCommand<Ceil>},
    {"Cos", UnaryCommand<Cos>},
    {"Deg", UnaryCommand<math::Deg>},
    {"Div", CheckedBinaryCommand<math::Div>},
    {"Exp", UnaryCommand<Exp>},
    {"Floor", UnaryCommand<Floor>},
    {"Frac", UnaryCommand<math::Frac>},
    {"FrExp", CmdFrExp},
    {"Hypot", BinaryCommand<Hypot>},
    {"Int", UnaryCommand<math::Int>},
    {"Ld", UnaryCommand<math::Ld>},
    {"LdExp", BinaryCommand<math::LdExp>},
    {"Limit", TernaryCommand<math::Limit>},
    {"Ln", UnaryCommand<Ln>},
    {"Log", BinaryCommand<math::Log>},
    {"Max", CmdMax},
    {"Min", CmdMin},
    {"Mod", CheckedBinaryCommand<math::Mod>},
    {"Mul", BinaryCommand<Mul>},
    {"Pow", BinaryCommand<Pow>},
    {"Rad", UnaryCommand<math::Rad>},
    {"Rnd", CmdRnd},
    {"RndF", CmdRndF},
    {"Rol", CmdRol},
    {"Ror", CmdRor},
    {"Round", UnaryCommand<math::Round>},
    {"Rt", CheckedBinaryCommand<math::Rt>},
    {"Sar", BinaryCommand<math::Sar>},
    {"Sgn", UnaryCommand<math::Sgn>},
    {"Shl", BinaryCommand<math::Shl>},
    {"Shr", BinaryCommand<math::Shr>},
    {"Sin", UnaryCommand<Sin>},
    {"Sqrt", UnaryCommand<Sqrt>},
    {"Sub", BinaryCommand<Sub>},
    {"Tan", UnaryCommand<Tan>},
    {"Wrap", TernaryCommand<math::Wrap>},
};

constexpr ConstantEntry kMathConstants[] = {
    {"PI", nullptr, math::kPi},
};

}  // namespace

const LibraryTable kMathLibrary{"math", kMathCommands, kMathConstants, InitMath};

}  // namespace tembrovia
