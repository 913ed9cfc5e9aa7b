// The math commands of irregular shape, and the shared random generator.
#include <cstdlib>
#include <span>
#include <vector>

#include "lib/core/arguments.h"
#include "lib/math/data_width.h"
#include "lib/math/math_commands.h"
#include "lib/math/math_ops.h"
#include "lib/math/shared_random.h"
#include "platform/clock.h"

namespace tembrovia {
namespace {

struct MathData : LibraryData {
  Rand48State random;
};

using Rotation = ErrorCode (*)(double, double, double, double&);

// (v, count, width = #INTEGER)
int RotateCommand(VMState* state, Rotation rotate) {
  CheckArgCount(state, 2, 3);
  const double value = CheckNumber(state, 1);
  const double count = CheckNumber(state, 2);
  const double width = OptNumber(state, 3, kWidthInteger);
  double out = 0;
  if (ErrorCode error = rotate(value, count, width, out)) return error;
  PushNumber(state, out);
  return 1;
}

using Extreme = double (*)(std::span<const double>);

// (x1, x2, ...): every argument is checked before the first is compared.
int ExtremeCommand(VMState* state, Extreme extreme) {
  CheckArgCount(state, 2, 0);
  std::vector<double> values(static_cast<size_t>(GetTop(state)));
  for (size_t i = 0; i < values.size(); ++i) values[i] = CheckNumber(state, static_cast<int>(i) + 1);
  PushNumber(state, extreme(values));
  return 1;
}

}  // namespace

Rand48State& SharedRandom(VMState* state) { return Runtime(state).Data<MathData>().random; }

ErrorCode InitMath(VMState*, LibraryRuntime& runtime) {
  const std::time_t now = PlatformClock().CalendarSeconds();
  runtime.Data<MathData>().random.Seed(static_cast<uint32_t>(now));
  std::srand(static_cast<unsigned>(now));
  return ERR_NONE;
}

int CmdCast(VMState* state) {
  CheckArgCount(state, 3, 3);
  const double value = CheckNumber(state, 1);
  const double is_signed = CheckNumber(state, 2);
  double out = 0;
  if (ErrorCode error = math::Cast(value, is_signed, CheckNumber(state, 3), out)) return error;
  PushNumber(state, out);
  return 1;
}

int CmdRol(VMState* state) { return RotateCommand(state, math::Rol); }
int CmdRor(VMState* state) { return RotateCommand(state, math::Ror); }

int CmdFrExp(VMState* state) {
  CheckArgCount(state, 1, 1);
  const math::FrExpResult result = math::FrExp(CheckNumber(state, 1));
  PushNumber(state, result.mantissa);
  PushNumber(state, result.exponent);
  return 2;
}

int CmdMax(VMState* state) { return ExtremeCommand(state, math::Max); }
int CmdMin(VMState* state) { return ExtremeCommand(state, math::Min); }

int CmdRnd(VMState* state) {
  CheckArgCount(state, 1, 1);
  double out = 0;
  if (ErrorCode error = math::Rnd(SharedRandom(state), CheckNumber(state, 1), out)) return error;
  PushNumber(state, out);
  return 1;
}

int CmdRndF(VMState* state) {
  CheckArgCount(state, 0, 0);
  PushNumber(state, SharedRandom(state).Next());
  return 1;
}

}  // namespace tembrovia
