// Engine attributes: numeric settings that libraries set and read on each other without
// knowing each other. The core answers a few ids itself; every other id is offered to the
// libraries' handlers in registration order until one takes it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "common/error_codes.h"
#include "lib/core/library_table.h"

namespace tembrovia {

enum EngineAttribute : int {
  // Kept by the core. Ids 1, 2 and 6 belong to the core as well; it stores and returns
  // whatever is set for them.
  kAttrCore1 = 1,
  kAttrCore2 = 2,
  kAttrCore6 = 6,
  kAttrCallbackDepth = 11,  // the VM's callback depth
  kAttrExitOnError = 12,    // the VM's exit-on-error setting
  kAttrScriptLoaded = 23,   // set once the script is loaded: file and line in error reports
  // Answered by libraries.
  kAttrNoSound = 3,
  kAttrHostDisplayWidth = 14,
  kAttrHostDisplayHeight = 15,
};

class EngineAttributes {
 public:
  ErrorCode AddSetHandler(SetAttributeHandler handler);
  ErrorCode AddGetHandler(GetAttributeHandler handler);

  // True when the core or a handler took the id.
  bool Set(VMState* state, int id, intptr_t value);
  std::optional<intptr_t> Get(VMState* state, int id);

  // Whether attribute 23 has been set to a value other than 0.
  bool script_loaded() const { return script_loaded_; }

 private:
  std::vector<SetAttributeHandler> set_handlers_;
  std::vector<GetAttributeHandler> get_handlers_;
  std::map<int, intptr_t> core_values_;
  bool script_loaded_ = false;
};

// The same on the runtime of state.
bool SetEngineAttribute(VMState* state, int id, intptr_t value);
std::optional<intptr_t> GetEngineAttribute(VMState* state, int id);

}  // namespace tembrovia
