// The whole run of the player, from the command line to the final report.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/config/display_config.h"
#include "app/config/player_config.h"
#include "app/container/applet_records.h"
#include "app/run/player_catalog.h"
#include "app/run/script_session.h"
#include "app/run/startup_output.h"
#include "common/error_codes.h"
#include "common/error_state.h"

namespace tembrovia {

// Everything one run owns. The driver's steps fill it in order.
struct PlayerRun {
  PlayerConfig config;
  DisplayConfig display;
  AppletRecords applet;
  StartupOutput output;
  PlayerCatalog catalog;
  std::unique_ptr<ScriptSession> session;

  // The error that ended the run and where it happened, for the final report.
  ErrorCode result = ERR_NONE;
  ErrorLocation location;
};

// Steps up to the banner: marker, command line, settings file, options, debug device.
// ERR_USERABORT when the run ends silently (no applet named and none appended).
ErrorCode ConfigureRun(std::string_view commandLine, PlayerRun& run);

// Locates and reads the applet container into run.applet and run.display, with the start-up
// output around it. On failure the error text is in the process-wide error state.
ErrorCode OpenApplet(PlayerRun& run);

// The process exit status, which is 0 whatever happened (errors are reported).
int RunPlayer(std::string_view commandLine);

// The same with the session made elsewhere (tests); without one the run ends at once with
// "Not enough memory." on standard output, as when the state cannot be made.
int RunPlayer(std::string_view commandLine, std::unique_ptr<ScriptSession> session);

}  // namespace tembrovia
