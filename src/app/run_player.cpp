#include "app/run_player.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "app/banner.h"
#include "app/container/applet_open.h"
#include "app/embedded_marker.h"
#include "app/executable_path.h"
#include "app/options/apply_options.h"
#include "app/options/command_line.h"
#include "app/options/option_values.h"
#include "app/options/settings_file.h"
#include "app/run/applet_registration.h"
#include "app/run/final_report.h"
#include "app/run/information_mode.h"
#include "app/run/load_script.h"
#include "app/run/main_loop.h"
#include "app/run/preload_objects.h"
#include "app/run/protected_step.h"
#include "app/run/quit_request.h"
#include "app/run/script_thread.h"
#include "common/debug_output.h"
#include "common/error_report.h"
#include "common/format_error.h"
#include "common/messages.h"
#include "files/file_namespace.h"
#include "files/temporary_files.h"
#include "lib/core/engine_attributes.h"
#include "lib/core/registration.h"
#include "lib/system/quit_check.h"

namespace tembrovia {
namespace {

bool InformationMode(const OptionValues& options) {
  return options[kOptExportCommands].set || options[kOptExportConstants].set ||
         options[kOptExportPlugins].set;
}

std::string AppletFileName(const PlayerConfig& config) {
  return std::string(LastPathComponent(config.appletPath));
}

// Step 14: the script on its thread, the main thread in its loop until the script ends.
ErrorCode RunScript(PlayerRun& run) {
  VMState* state = run.session->state();
  QuitRequest& quit = ProcessQuitRequest();
  quit.Clear();
  // Commands that wait or search for long look at the request themselves.
  SetQuitRequestCheck([] { return ProcessQuitRequest().Pending(); });
  MainLoop loop(quit);
  ScriptThread script;
  if (ErrorCode error = script.Start(state, [&loop] { loop.NotifyScriptEnded(); })) return error;
  loop.Run();
  ErrorCode status = script.Join();
  SetQuitRequestCheck(nullptr);
  if (status) {
    run.location = MapThroughLineMap(LocationFromContext(GetErrorContext(state)), run.applet.lineMap);
  }
  return status;
}

// Step 13: plugins (none in this build), the applet, its script, the preload, then the run.
ErrorCode OpenLoadAndRun(PlayerRun& run) {
  VMState* state = run.session->state();
  if (ErrorCode error = OpenApplet(run)) return error;
  ErrorCode error = RunProtected(state, [&run](VMState* s) {
    RegisterAppletRecords(s, run.applet, DefaultFileNamespace());
    return ERR_NONE;
  });
  if (error) return error;

  if ((error = LoadScript(state, run.applet.chunk, "@" + AppletFileName(run.config), run.output))) {
    return error;
  }
  run.applet.chunk = {};
  // The player compiles nothing; it says so once the applet is open and loaded.
  if (run.config.compileRequested) return ERR_PLAYERCOMP;

  PreloadOutcome preload = PreloadObjects(state, run.applet, run.display, run.config.isApplet,
                                          AppletFileName(run.config), run.output);
  if (preload.error) {
    run.location = MapThroughLineMap(preload.location, run.applet.lineMap);
    return preload.error;
  }
  SetEngineAttribute(state, kAttrScriptLoaded, 1);
  return RunScript(run);
}

// Steps 10 to 14, once the run is configured.
ErrorCode StartAndRun(PlayerRun& run) {
  VMState* state = run.session->state();
  // The script-name buffer starts as "?" until a script frame has run.
  ProcessErrorState().SetContext(ErrorLocation{});

  if (ErrorCode error = StartLibraries(state, &run.display, &run.config)) return error;
  // Without a sound library nobody takes the attribute yet.
  SetEngineAttribute(state, kAttrNoSound, run.config.noSound ? 1 : 0);

  if (IsInformationMode(run.config)) {
    return RunProtected(state, [&run](VMState* s) { return WriteInformationExports(s, run.config); });
  }
  return OpenLoadAndRun(run);
}

// Step 15, on every path: objects and subsystems first, then the report, then the state,
// the temporary files, the catalog and the debug channel.
void ShutDown(PlayerRun& run) {
  const bool scriptLoaded = run.session->runtime().attributes().script_loaded();
  run.session->ReleaseObjects();
  run.output.CloseLine();
  ReportFinalError(run.result, run.location, scriptLoaded);
  run.session->Close();
  DefaultTemporaryFiles().DeleteAll();
  DefaultFileNamespace().ClearLinkedFiles();
  run.catalog.Close();
  CloseDebugDevice();
}

}  // namespace

ErrorCode ConfigureRun(std::string_view commandLine, PlayerRun& run) {
  PlayerConfig& config = run.config;
  config.appendedAppletOffset = AppendedAppletOffset(CopyEmbeddedMarker());
  config.executablePath = OwnExecutablePath();

  OptionValues options;
  // A start that fails still reports on the debug device when one was asked for, so that
  // a tool reading the device learns why.
  auto fail = [&options](ErrorCode error) {
    if (options[kOptDebugDevice].set && !DebugDeviceGiven()) {
      OpenDebugDevice(options[kOptDebugDevice].value);
    }
    return error;
  };
  ErrorCode error = ParseCommandLine(commandLine, options, config);
  if (error != ERR_NONE && error != ERR_CONFIG) return fail(error);
  if (config.appendedAppletOffset) {
    // A stand-alone program always runs its own applet; a word on its command line is
    // only the file argument for the script.
    config.appletPath = config.executablePath;
  } else if (error == ERR_CONFIG && !InformationMode(options)) {
    return ERR_USERABORT;
  }
  if (!config.appletPath.empty()) {
    if ((error = ReadSettingsFile(config.appletPath, options, config))) return fail(error);
  }
  if ((error = ApplyOptions(options, config, run.display))) return fail(error);
  if (config.debugDevice) {
    if ((error = OpenDebugDevice(*config.debugDevice))) return error;
  }
  ForceQuietWhereNeeded(config);
  run.output.SetQuiet(config.quiet);
  run.output.Write(BannerText());
  return ERR_NONE;
}

ErrorCode OpenApplet(PlayerRun& run) {
  PlayerConfig& config = run.config;
  std::string shownName = config.scriptAlias ? *config.scriptAlias : AppletFileName(config);
  // The path is made absolute first: files the applet names relative to itself are then
  // found from its directory, which becomes the current one.
  std::error_code ignored;
  std::filesystem::path absolute = std::filesystem::absolute(config.appletPath, ignored);
  if (!absolute.empty()) config.appletPath = absolute.lexically_normal().string();
  std::filesystem::current_path(absolute.parent_path(), ignored);

  run.output.Begin(FillMessage(MessageText(kMsgOpeningScript), shownName));
  AppletStatus status = OpenAppletContainer(config.appletPath,
                                            config.appendedAppletOffset.value_or(0),
                                            DefaultTemporaryFiles(), run.applet, run.display);
  if (status) {
    SetErrorText(status.text);
    return status.code;
  }
  config.isApplet = true;
  run.output.Done();
  return ERR_NONE;
}

int RunPlayer(std::string_view commandLine) { return RunPlayer(commandLine, ScriptSession::Create()); }

int RunPlayer(std::string_view commandLine, std::unique_ptr<ScriptSession> session) {
  if (!session) {
    std::fputs("Not enough memory.\n", stdout);
    std::fflush(stdout);
    return 0;
  }
  PlayerRun run;
  run.session = std::move(session);
  DefaultFileNamespace().SetProgramDirectory(ExecutableDirectory());
  run.catalog.Open();

  run.result = ConfigureRun(commandLine, run);
  if (run.result == ERR_NONE) run.result = StartAndRun(run);
  ShutDown(run);
  return 0;
}

}  // namespace tembrovia
