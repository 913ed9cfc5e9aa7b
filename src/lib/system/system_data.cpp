#include "lib/system/system_data.h"

#include "lib/core/object_registry.h"
#include "lib/system/system_commands.h"

namespace tembrovia {

const SystemLocale& SystemData::Locale() {
  if (!locale) locale = std::make_unique<SystemLocale>();
  return *locale;
}

ErrorCode InitSystem(VMState* state, LibraryRuntime& runtime) {
  SetLastErrorReader(state, CmdGetLastError);
  return RegisterObjectList(state, runtime.Data<SystemData>().timers);
}

}  // namespace tembrovia
