// The whole run of the player, from the command line to the final report.
#pragma once

#include <string>
#include <string_view>

#include "app/config/display_config.h"
#include "app/config/player_config.h"
#include "app/container/applet_records.h"
#include "app/container/temporary_files.h"
#include "common/error_codes.h"

namespace tembrovia {

// Everything one run owns. The driver's steps fill it in order.
struct PlayerRun {
  PlayerConfig config;
  DisplayConfig display;
  AppletRecords applet;
  TemporaryFiles temporaries;
};

// Steps up to the banner: marker, command line, settings file, options, debug device.
// ERR_USERABORT when the run ends silently (no applet named and none appended).
ErrorCode ConfigureRun(std::string_view commandLine, PlayerRun& run);

// Locates and reads the applet container into run.applet and run.display. On failure the
// error text is in the process-wide error state.
ErrorCode OpenApplet(PlayerRun& run);

// The process exit status, which is 0 whatever happened (errors are reported).
int RunPlayer(std::string_view commandLine);

}  // namespace tembrovia
