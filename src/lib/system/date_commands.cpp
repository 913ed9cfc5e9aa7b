// GetDate, GetTime, GetWeekday, GetDateNum and CompareDates. Each reads the local time once.
#include "lib/core/arguments.h"
#include "lib/math/integer_arguments.h"
#include "lib/system/date_time.h"
#include "lib/system/system_commands.h"
#include "lib/system/system_data.h"
#include "platform/clock.h"

namespace tembrovia {
namespace {

std::tm Now() { return LocalTime(PlatformClock().CalendarSeconds()); }

}  // namespace

int CmdGetDate(VMState* state) {
  CheckArgCount(state, 0, 1);
  const bool long_form = OptFlag(state, 1, false);
  const std::tm now = Now();
  if (long_form) {
    PushStringView(state, LongDateText(now));
  } else {
    PushStringView(state, SystemLibrary(state).Locale().ShortDate(now));
  }
  return 1;
}

int CmdGetTime(VMState* state) {
  CheckArgCount(state, 0, 1);
  const bool with_seconds = OptFlag(state, 1, false);
  PushStringView(state, TimeText(Now(), with_seconds));
  return 1;
}

int CmdGetWeekday(VMState* state) {
  CheckArgCount(state, 0, 0);
  PushStringView(state, SystemLibrary(state).Locale().WeekdayName(Now()));
  return 1;
}

int CmdGetDateNum(VMState* state) {
  CheckArgCount(state, 1, 1);
  PushNumber(state, DateNumber(Now(), CheckInt64(state, 1)));
  return 1;
}

int CmdCompareDates(VMState* state) {
  CheckArgCount(state, 2, 3);
  const std::string_view a = CheckString(state, 1);
  const std::string_view b = CheckString(state, 2);
  int result = 0;
  if (ErrorCode error = CompareDates(a, b, OptFlag(state, 3, false), result)) return error;
  PushNumber(state, result);
  return 1;
}

}  // namespace tembrovia
