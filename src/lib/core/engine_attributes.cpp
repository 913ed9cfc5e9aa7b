#include "lib/core/engine_attributes.h"

#include "lib/core/out_of_memory.h"
#include "lib/core/runtime.h"

namespace tembrovia {
namespace {

bool IsCoreStored(int id) { return id == kAttrCore1 || id == kAttrCore2 || id == kAttrCore6; }

}  // namespace

ErrorCode EngineAttributes::AddSetHandler(SetAttributeHandler handler) {
  return AppendOrMemError(set_handlers_, handler);
}

ErrorCode EngineAttributes::AddGetHandler(GetAttributeHandler handler) {
  return AppendOrMemError(get_handlers_, handler);
}

bool EngineAttributes::Set(VMState* state, int id, intptr_t value) {
  switch (id) {
    case kAttrCallbackDepth:
      SetCallbackDepth(state, static_cast<int>(value));
      return true;
    case kAttrExitOnError:
      SetExitOnError(state, value != 0);
      return true;
    case kAttrScriptLoaded:
      script_loaded_ = value != 0;
      return true;
    default:
      break;
  }
  if (IsCoreStored(id)) {
    core_values_[id] = value;
    return true;
  }
  for (SetAttributeHandler handler : set_handlers_) {
    if (handler(state, id, value)) return true;
  }
  return false;
}

std::optional<intptr_t> EngineAttributes::Get(VMState* state, int id) {
  switch (id) {
    case kAttrCallbackDepth:
      return GetCallbackDepth(state);
    case kAttrExitOnError:
      return GetExitOnError(state) ? 1 : 0;
    default:
      break;
  }
  if (IsCoreStored(id)) {
    auto it = core_values_.find(id);
    return it == core_values_.end() ? 0 : it->second;
  }
  for (GetAttributeHandler handler : get_handlers_) {
    intptr_t value = 0;
    if (handler(state, id, &value)) return value;
  }
  return std::nullopt;
}

bool SetEngineAttribute(VMState* state, int id, intptr_t value) {
  return Runtime(state).attributes().Set(state, id, value);
}

std::optional<intptr_t> GetEngineAttribute(VMState* state, int id) {
  return Runtime(state).attributes().Get(state, id);
}

}  // namespace tembrovia
