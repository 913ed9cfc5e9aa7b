#include "app/run/information_mode.h"

#include "lib/core/exports.h"

namespace tembrovia {

bool IsInformationMode(const PlayerConfig& config) {
  return config.exportCommands || config.exportConstants || config.exportPlugins;
}

ErrorCode WriteInformationExports(VMState* state, const PlayerConfig& config) {
  if (config.exportCommands) {
    if (ErrorCode error =
            WriteExportFile(*config.exportCommands, CommandExport(Runtime(state).commands()))) {
      return error;
    }
  }
  if (config.exportConstants) {
    if (ErrorCode error = WriteExportFile(*config.exportConstants, ConstantExport(state))) {
      return error;
    }
  }
  if (config.exportPlugins) {
    // Plugins are not loaded by this build, so the list holds none.
    return WriteExportFile(*config.exportPlugins, PluginExport({}));
  }
  return ERR_NONE;
}

}  // namespace tembrovia
