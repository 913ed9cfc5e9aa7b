// The driver's steps on a real VM state with the command framework: the preload's calls,
// the error locations of the final report, the line hook, the script thread and the main
// loop, the player's catalog, and the run without memory for its state.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/run/applet_registration.h"
#include "app/run/final_report.h"
#include "app/run/main_loop.h"
#include "app/run/player_catalog.h"
#include "app/run/preload_objects.h"
#include "app/run/protected_step.h"
#include "app/run/quit_request.h"
#include "app/run/script_session.h"
#include "app/run/script_thread.h"
#include "app/run_player.h"
#include "asm/assembler.h"
#include "common/error_state.h"
#include "common/format_error.h"
#include "common/messages.h"
#include "lib/core/constants.h"
#include "lib/core/engine_attributes.h"
#include "lib/core/registration.h"

namespace tembrovia {
namespace {

// What the fake commands saw: one line per call, "Name arg arg ..." with tables spelled
// {key=value,...} in key order.
std::vector<std::string>& CallLog() {
  static std::vector<std::string> log;
  return log;
}

std::string Describe(VMState* state, int index) {
  if (index < 0) index = GetTop(state) + index + 1;
  switch (Type(state, index)) {
    case TagNumber:
    case TagString:
      return ToString(state, index);
    case TagTable: {
      std::vector<std::string> fields;
      PushNil(state);
      while (Next(state, index) != 0) {
        PushValue(state, -2);
        fields.push_back(Describe(state, -1) + "=" + Describe(state, -2) + ",");
        Pop(state, 2);
      }
      std::sort(fields.begin(), fields.end());
      std::string text = "{";
      for (const std::string& field : fields) text += field;
      return text + "}";
    }
    default:
      return TypeName(Type(state, index));
  }
}

template <const char* kName>
int LogCall(VMState* state) {
  std::string line = kName;
  for (int i = 1; i <= GetTop(state); ++i) line += " " + Describe(state, i);
  CallLog().push_back(line);
  return 0;
}

constexpr char kLoadBrush[] = "LoadBrush";
constexpr char kOpenFile[] = "OpenFile";
constexpr char kCreateDisplay[] = "CreateDisplay";

// OpenMusic fails the way a loader does: the error text is the file name.
int FailingOpenMusic(VMState* state) {
  SetErrorText(ToString(state, 2));
  return ERR_READFILE;
}

// OpenVideo raises an argument error from inside the command.
int RaisingOpenVideo(VMState* state) {
  RaiseError(state, ERR_NUMEXPECTED);
}

constexpr CommandEntry kFakeCommands[] = {
    {"LoadBrush", LogCall<kLoadBrush>},
    {"OpenFile", LogCall<kOpenFile>},
    {"OpenMusic", FailingOpenMusic},
    {"OpenVideo", RaisingOpenVideo},
};
constexpr CommandEntry kFakeDisplayCommands[] = {{"CreateDisplay", LogCall<kCreateDisplay>}};

class DriverStepsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CallLog().clear();
    session_ = ScriptSession::Create();
    ASSERT_TRUE(session_);
    ASSERT_EQ(RegisterLibrary(state(), kFakeCommands, "fake", {}), ERR_NONE);
    output_.SetQuiet(true);
  }

  VMState* state() const { return session_->state(); }

  static AppletObject Object(uint8_t type, int32_t id, std::string name, int32_t line) {
    AppletObject object;
    object.type = type;
    object.id = id;
    object.name = std::move(name);
    object.extra = -1;
    object.sourceLine = line;
    return object;
  }

  PreloadOutcome Preload(const AppletRecords& records) {
    return PreloadObjects(state(), records, DisplayConfig{}, true, "game.vxa", output_);
  }

  std::unique_ptr<ScriptSession> session_;
  StartupOutput output_;  // when not quiet, standard output (no debug device)
};

TEST_F(DriverStepsTest, ObjectsAreMadeInOrderWithTablesAmongTheArguments) {
  AppletRecords records;
  AppletObject brush = Object(kObjectBrush, 3, "ball.png", 4);
  brush.width = 16;
  records.objects = {brush, Object(kObjectFile, 2, "levels.txt", 5)};
  output_.SetQuiet(false);
  testing::internal::CaptureStdout();
  PreloadOutcome outcome = Preload(records);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Loading applet game.vxa...done\n");
  ASSERT_EQ(outcome.error, ERR_NONE);
  EXPECT_EQ(CallLog(), (std::vector<std::string>{"LoadBrush 3 ball.png {width=16,}",
                                                 "OpenFile 2 levels.txt 1005"}));
}

TEST_F(DriverStepsTest, DisplaysAreSkippedUntilCreateDisplayExistsAndCalledAfterIt) {
  AppletRecords records;  // no display: display 1 is added
  ASSERT_EQ(Preload(records).error, ERR_NONE);
  EXPECT_TRUE(CallLog().empty());

  ASSERT_EQ(RegisterLibrary(state(), kFakeDisplayCommands, "display", {}), ERR_NONE);
  ASSERT_EQ(Preload(records).error, ERR_NONE);
  ASSERT_EQ(CallLog().size(), 1u);
  EXPECT_EQ(CallLog()[0],
            "CreateDisplay 1 {active=1,color=0,fillstyle=1,height=480,title=Tembrovia,width=640,"
            "x=-100000,y=-100000,}");
}

TEST_F(DriverStepsTest, TheFirstFailureEndsThePreloadWithItsCommandAndLine) {
  struct Case {
    AppletObject object;
    ErrorCode error;
    std::string message;
    std::string command;
  };
  const Case cases[] = {
      {Object(kObjectMusic, 1, "tune.mod", 7), ERR_READFILE, "Cannot read file tune.mod !",
       "OpenMusic"},
      {Object(kObjectVideo, 1, "clip.avi", 8), ERR_NUMEXPECTED, "Number expected in argument 0!",
       "OpenVideo"},
      {Object(kObjectSample, 1, "boom.wav", 9), ERR_FUNCDECLA,
       "Function LoadSample() not found!", "LoadSample"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    CallLog().clear();
    SetErrorNumber(0);
    AppletRecords records;
    records.objects = {c.object, Object(kObjectBrush, 2, "after.png", 20)};
    PreloadOutcome outcome = Preload(records);
    EXPECT_EQ(outcome.error, c.error);
    EXPECT_EQ(FormatError(outcome.error), c.message);
    EXPECT_EQ(outcome.location.name, c.command);
    EXPECT_EQ(outcome.location.line, c.object.sourceLine);
    EXPECT_TRUE(CallLog().empty());  // nothing after the failure
    EXPECT_EQ(GetTop(state()), 0);
    EXPECT_TRUE(session_->runtime().attributes().script_loaded());
  }
}

TEST_F(DriverStepsTest, AMissingPluginEndsThePreloadBeforeAnyObject) {
  AppletRecords records;
  AppletObject plugin = Object(kObjectPluginRequirement, 1, "jpegxl", 2);
  plugin.extra = 1;
  plugin.flag = 3;
  records.objects = {Object(kObjectBrush, 1, "a.png", 1), plugin};
  PreloadOutcome outcome = Preload(records);
  EXPECT_EQ(outcome.error, ERR_REQUIREPLUGIN);
  EXPECT_EQ(ProcessErrorState().Arguments().text, "jpegxl 1.3");
  EXPECT_TRUE(CallLog().empty());
}

TEST_F(DriverStepsTest, TheAppletRecordsReachTheRegistryAndTheFileLayer) {
  AppletRecords records;
  records.containerPath = "/games/player";
  records.appletOffset = 2000000;  // appended to a program
  records.labels = {{"start", 4}, {"Loop", 9}};
  records.userConstants = {{"SPEED", false, "", 2.5}, {"Greeting", true, "hi", 0}};
  records.linkedFiles = {{"gfx/Ball.png", 1000, 500}};
  FileNamespace files;
  ASSERT_EQ(RunProtected(state(), [&](VMState* s) {
              RegisterAppletRecords(s, records, files);
              return ERR_NONE;
            }),
            ERR_NONE);

  GetField(state(), kRegistryIndex, kLabelsTable);
  GetField(state(), -1, "Loop");
  EXPECT_EQ(ToNumber(state(), -1), 9);
  Pop(state(), 2);
  ConstantValue value;
  size_t consumed = 0;
  ASSERT_EQ(LookupConstant(state(), "#speed", &value, &consumed), ERR_NONE);
  EXPECT_EQ(value.number, 2.5);
  ASSERT_EQ(LookupConstant(state(), "#GREETING", &value, &consumed), ERR_NONE);
  EXPECT_EQ(value.text, "hi");
  EXPECT_EQ(GetRegistryString(state(), "script"), ":none:");
  // The data's offset counts from the program's first byte.
  EXPECT_EQ(files.LinkedFileName("gfx/ball.png"), ":::chunk2001000:500*Ball.png//games/player");
}

TEST(FinalReportLocation, TheContextIsMappedThroughTheLineMap) {
  ErrorContext context;
  context.name = "ToString";
  context.line = 12;
  context.script = "@main.vxs";
  ErrorLocation location = LocationFromContext(context);
  EXPECT_EQ(location.script_name, "main.vxs");
  EXPECT_EQ(location.name, "ToString");

  std::vector<LineMapEntry> map = {{1, 9, 1, "header.tvs", ""}, {10, 20, 100, "game.tvs", ""}};
  ErrorLocation mapped = MapThroughLineMap(location, map);
  EXPECT_EQ(mapped.script_name, "game.tvs");
  EXPECT_EQ(mapped.line, 102);
  EXPECT_EQ(mapped.name, "ToString");

  // Not covered, or no line known: as it was.
  location.line = 30;
  EXPECT_EQ(MapThroughLineMap(location, map).script_name, "main.vxs");
  location.line = -1;
  EXPECT_EQ(MapThroughLineMap(location, map).line, -1);
  // No script frame: the name stays unknown and the report uses its short form.
  EXPECT_FALSE(LocationFromContext(ErrorContext{}).HasScriptName());
}

// A session with a script that never ends by itself loaded and the line hook installed.
std::unique_ptr<ScriptSession> EndlessScript() {
  std::unique_ptr<ScriptSession> session = ScriptSession::Create();
  AssemblyResult result = Assemble(
      ".function main\n"
      "  .line 1\n"
      "  top: jump top\n"
      "        return r0, 1\n"
      ".end\n");
  EXPECT_TRUE(result.ok()) << result.error;
  EXPECT_EQ(LoadBuffer(session->state(), result.chunk.data(), result.chunk.size(), "=endless"),
            ERR_NONE);
  InstallScriptLineHook(session->state());
  return session;
}

TEST(ScriptLineHook, AQuitRequestStopsTheScript) {
  std::unique_ptr<ScriptSession> session = EndlessScript();
  VMState* state = session->state();
  ProcessQuitRequest().Request();
  EXPECT_EQ(ProtectedCall(state, 0, 0), ERR_NONE);
  EXPECT_TRUE(GetStopFlag(state));
  ProcessQuitRequest().Clear();
}

TEST(MainLoop, AnInterruptBecomesTheQuitRequestAndTheScriptThreadEnds) {
  std::unique_ptr<ScriptSession> session = EndlessScript();
  VMState* state = session->state();

  QuitRequest& quit = ProcessQuitRequest();
  quit.Clear();
  MainLoop loop(quit);
  ScriptThread script;
  ASSERT_EQ(script.Start(state, [&loop] { loop.NotifyScriptEnded(); }), ERR_NONE);
  std::thread interrupter([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ::kill(::getpid(), SIGINT);
  });
  loop.Run();
  interrupter.join();
  EXPECT_EQ(script.Join(), ERR_NONE);
  EXPECT_TRUE(quit.Pending());
  EXPECT_TRUE(GetStopFlag(state));
  quit.Clear();
  // The loop's handlers are gone again: SIGINT has its earlier disposition.
  struct sigaction now {};
  sigaction(SIGINT, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST(PlayerCatalog, MessagesComeFromTheCatalogWhileItIsOpen) {
  // A text catalog: one line per id from 0; lines 95 and 97 replace "done" and the
  // opening message, the others are empty in the file and so translated to "".
  std::string text;
  for (int id = 0; id < 95; ++id) text += "\n";
  text += "fertig\n\nOeffne Skript %s\n";
  std::optional<Catalog> file = Catalog::FromBytes(text);
  ASSERT_TRUE(file);
  PlayerCatalog catalog;
  catalog.Install(*file);
  EXPECT_STREQ(MessageText(kMsgDone), "fertig");
  EXPECT_STREQ(MessageText(kMsgOpeningScript), "Oeffne Skript %s");
  EXPECT_STREQ(MessageText(kMsgCompilingScript), "Compiling script");  // beyond its last line
  catalog.Close();
  EXPECT_STREQ(MessageText(kMsgDone), "done");
}

TEST(RunPlayer, WithoutAStateTheRunEndsWithNotEnoughMemory) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(RunPlayer("game.vxa", nullptr), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Not enough memory.\n");
}

}  // namespace
}  // namespace tembrovia
