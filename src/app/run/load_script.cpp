#include "app/run/load_script.h"

#include <string>

#include "app/run/quit_request.h"
#include "common/messages.h"
#include "lib/core/engine_attributes.h"

namespace tembrovia {

ErrorCode LoadScript(VMState* state, const std::vector<uint8_t>& chunk, std::string_view chunkName,
                     StartupOutput& output) {
  output.Begin(MessageText(kMsgCompilingScript));
  const std::string name(chunkName);
  SetEngineAttribute(state, kAttrScriptLoaded, 1);
  ErrorCode error = LoadBuffer(state, chunk.data(), chunk.size(), name.c_str());
  SetEngineAttribute(state, kAttrScriptLoaded, 0);
  if (error) return error;
  InstallScriptLineHook(state);
  output.Done();
  return ERR_NONE;
}

}  // namespace tembrovia
