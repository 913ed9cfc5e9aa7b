// The system library's state for one run: the stopwatch timers, the script's catalog, the
// user's locale for date texts, and where DebugPrompt reads its lines.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>

#include "common/error_codes.h"
#include "lib/core/object_list.h"
#include "lib/core/runtime.h"
#include "lib/system/catalog.h"
#include "lib/system/date_time.h"
#include "lib/system/stopwatch.h"

namespace tembrovia {

struct TimerRecord : ObjectRecord {
  Stopwatch watch;
};

struct SystemData : LibraryData {
  ObjectList<TimerRecord> timers{kTypeTimer, ERR_FINDTIMER};
  std::optional<Catalog> catalog;  // the script's, from OpenCatalog
  std::unique_ptr<SystemLocale> locale;  // made on first use
  std::FILE* console = stdin;

  const SystemLocale& Locale();
};

inline SystemData& SystemLibrary(VMState* state) { return Runtime(state).Data<SystemData>(); }

// The library's start-up: registers the timer list and lets GetLastError read the code of
// the command before it.
ErrorCode InitSystem(VMState* state, LibraryRuntime& runtime);

}  // namespace tembrovia
