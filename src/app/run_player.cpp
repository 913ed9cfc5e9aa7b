#include "app/run_player.h"

#include <cstdio>

#include "app/banner.h"
#include "app/container/applet_open.h"
#include "app/embedded_marker.h"
#include "app/executable_path.h"
#include "app/options/apply_options.h"
#include "app/options/command_line.h"
#include "app/options/settings_file.h"
#include "common/debug_output.h"
#include "common/error_report.h"
#include "common/error_state.h"
#include "common/format_error.h"
#include "common/messages.h"

namespace tembrovia {
namespace {

constexpr int kMessageDone = 95;
constexpr int kMessageOpeningScript = 97;

void StartupOutput(const PlayerConfig& config, const std::string& text) {
  if (!config.quiet) DebugWriteText(text);
}

}  // namespace

ErrorCode ConfigureRun(std::string_view commandLine, PlayerRun& run) {
  PlayerConfig& config = run.config;
  config.appendedAppletOffset = AppendedAppletOffset(CopyEmbeddedMarker());
  config.executablePath = OwnExecutablePath();

  OptionValues options;
  ErrorCode error = ParseCommandLine(commandLine, options, config);
  if (error == ERR_CONFIG) {
    if (!config.appendedAppletOffset) return ERR_USERABORT;
    config.appletPath = config.executablePath;
  } else if (error) {
    return error;
  }
  if ((error = ReadSettingsFile(config.appletPath, options, config))) return error;
  if ((error = ApplyOptions(options, config, run.display))) return error;
  if (config.debugDevice) {
    if ((error = OpenDebugDevice(*config.debugDevice))) return error;
  }
  ForceQuietWhereNeeded(config);
  StartupOutput(config, BannerText());
  return ERR_NONE;
}

ErrorCode OpenApplet(PlayerRun& run) {
  const PlayerConfig& config = run.config;
  std::string shownName = config.scriptAlias
                              ? *config.scriptAlias
                              : std::string(LastPathComponent(config.appletPath));
  StartupOutput(config, FillMessage(MessageText(kMessageOpeningScript), shownName) + "...");
  AppletStatus status = OpenAppletContainer(config.appletPath,
                                            config.appendedAppletOffset.value_or(0),
                                            run.temporaries, run.applet, run.display);
  if (status) {
    SetErrorText(status.text);
    return status.code;
  }
  run.config.isApplet = true;
  StartupOutput(config, std::string(MessageText(kMessageDone)) + "\n");
  return ERR_NONE;
}

int RunPlayer(std::string_view commandLine) {
  PlayerRun run;
  ErrorCode error = ConfigureRun(commandLine, run);
  if (error == ERR_NONE) error = OpenApplet(run);
  if (error == ERR_NONE) {
    // Running the script needs the virtual machine and the command libraries.
    std::fputs("This build cannot run applets yet.\n", stderr);
  }
  ReportFinalError(error, ErrorLocation{}, false);
  run.temporaries.RemoveAll();
  return 0;
}

}  // namespace tembrovia
