#include "app/run_player.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/banner.h"
#include "app/container/applet_open.h"
#include "app/embedded_marker.h"
#include "app/executable_path.h"
#include "app/options/apply_options.h"
#include "app/options/command_line.h"
#include "app/options/option_values.h"
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

bool InformationMode(const OptionValues& options) {
  return options[kOptExportCommands].set || options[kOptExportConstants].set ||
         options[kOptExportPlugins].set;
}

}  // namespace

ErrorCode ConfigureRun(std::string_view commandLine, PlayerRun& run) {
  PlayerConfig& config = run.config;
  config.appendedAppletOffset = AppendedAppletOffset(CopyEmbeddedMarker());
  config.executablePath = OwnExecutablePath();

  OptionValues options;
  ErrorCode error = ParseCommandLine(commandLine, options, config);
  if (error != ERR_NONE && error != ERR_CONFIG) return error;
  if (config.appendedAppletOffset) {
    // A stand-alone program always runs its own applet; a word on its command line is
    // only the file argument for the script.
    config.appletPath = config.executablePath;
  } else if (error == ERR_CONFIG && !InformationMode(options)) {
    return ERR_USERABORT;
  }
  if (!config.appletPath.empty()) {
    if ((error = ReadSettingsFile(config.appletPath, options, config))) return error;
  }
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
  // Files the applet names relative to itself are found from its directory.
  std::error_code ignored;
  std::filesystem::path directory = std::filesystem::absolute(config.appletPath, ignored).parent_path();
  std::filesystem::current_path(directory, ignored);

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
  bool exporting = run.config.exportCommands || run.config.exportConstants ||
                   run.config.exportPlugins;
  if (error == ERR_NONE && exporting) {
    // The lists come from the registered command libraries.
    std::fputs("This build cannot export the command lists yet.\n", stderr);
  } else if (error == ERR_NONE) {
    error = OpenApplet(run);
    // The player compiles nothing; it says so once the applet has been opened.
    if (error == ERR_NONE && run.config.compileRequested) error = ERR_PLAYERCOMP;
    // Running the script needs the virtual machine and the command libraries.
    if (error == ERR_NONE) std::fputs("This build cannot run applets yet.\n", stderr);
  }
  ReportFinalError(error, ErrorLocation{}, false);
  run.temporaries.RemoveAll();
  return 0;
}

}  // namespace tembrovia
