// The system library's commands of this folder through the VM: timers and waiting on the
// virtual clock, dates, catalogs, program information, error control and debug output.
#include <stdio.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/config/player_config.h"
#include "common/format_error.h"
#include "files/file_namespace.h"
#include "lib/core/object_record.h"
#include "lib/system/quit_check.h"
#include "lib/system/system_data.h"
#include "platform/headless/virtual_clock.h"
#include "string/tool_output.h"
#include "support/command_fixture.h"
#include "system/scoped_environment.h"

namespace tembrovia {
namespace {

constexpr std::time_t kWednesdayMorning = 1796799909;  // 2026-12-09 07:05:09 UTC

// Makes a clock the platform's for as long as it lives.
class ClockInPlace {
 public:
  explicit ClockInPlace(Clock* clock) { SetPlatformClock(clock); }
  ~ClockInPlace() { SetPlatformClock(nullptr); }
  ClockInPlace(const ClockInPlace&) = delete;
  ClockInPlace& operator=(const ClockInPlace&) = delete;
};

class SystemCommandsTest : public ::testing::Test {
 protected:
  double Number(const char* command, std::vector<Arg> args = {}) {
    const CallResult r = fx.Call(command, std::move(args));
    EXPECT_TRUE(r.ok()) << command << ": " << r.message;
    return r.count() > 0 ? r.number(0) : -1;
  }
  bool Ok(const char* command, std::vector<Arg> args = {}) {
    const CallResult r = fx.Call(command, std::move(args));
    EXPECT_TRUE(r.ok()) << command << ": " << r.message;
    return r.ok();
  }
  int64_t ElapsedMs() const { return clock.PeekUs() / 1000; }

  VirtualClock clock{kWednesdayMorning};
  ClockInPlace in_place{&clock};
  CommandFixture fx;
};

// ---- timers and waiting ------------------------------------------------------------------

TEST_F(SystemCommandsTest, TimersCountPauseAndReset) {
  const ScriptValue t = fx.Call("StartTimer", {kNil}).value(0);
  ASSERT_EQ(t.type, TagLightUserdata);
  EXPECT_LE(Number("GetTimer", {t}), 1);
  Ok("Wait", {250, 1});
  EXPECT_EQ(Number("GetTimer", {t, "ignored"}), 250);
  Ok("PauseTimer", {t});
  const double paused = Number("GetTimer", {t});
  Ok("Wait", {500, 1});
  EXPECT_EQ(Number("GetTimer", {t}), paused);
  Ok("PauseTimer", {t});  // already paused: nothing changes
  Ok("ResumeTimer", {t});
  Ok("Wait", {100, 1});
  EXPECT_EQ(Number("GetTimer", {t}), paused + 100);
  Ok("ResetTimer", {t, 1500});
  EXPECT_EQ(Number("GetTimer", {t}), 1500);
  Ok("Wait", {1, 0});
  EXPECT_EQ(Number("GetTimer", {t}), 2500);
  Ok("ResetTimer", {t});
  EXPECT_EQ(Number("GetTimer", {t}), 0);
}

TEST_F(SystemCommandsTest, WaitUnits) {
  struct Case {
    std::vector<Arg> args;
    int64_t ms;
  };
  const Case cases[] = {
      {{50}, 1000},         {{2, 0}, 2000},   {{300, 1}, 300}, {{7, 99}, 7}, {{0}, 0},
      {{-5}, 0},            {{10, 0}, 10000}, {{"3", 2}, 60},
  };
  for (const Case& c : cases) {
    const int64_t before = ElapsedMs();
    ASSERT_TRUE(Ok("Wait", c.args));
    EXPECT_EQ(ElapsedMs() - before, c.ms);
  }
}

TEST_F(SystemCommandsTest, TimersCountBeyond32Bits) {
  const ScriptValue t = fx.Call("StartTimer", {kNil}).value(0);
  Ok("Wait", {5e9, 1});  // about two months
  EXPECT_EQ(Number("GetTimer", {t}), 5e9);
  Ok("ResetTimer", {t, 6e12});
  EXPECT_EQ(Number("GetTimer", {t}), 6e12);
}

TEST_F(SystemCommandsTest, WaitTimerKeepsAPace) {
  Ok("StartTimer", {1});
  Ok("Wait", {150, 1});
  const int64_t before = ElapsedMs();
  Ok("WaitTimer", {1, 100});  // already past: at once, and restarted
  EXPECT_EQ(ElapsedMs(), before);
  EXPECT_EQ(Number("GetTimer", {1}), 0);
  // A loop body of 15 ms paced at 40 ms a round.
  const int64_t start = ElapsedMs();
  for (int round = 0; round < 3; ++round) {
    Ok("Wait", {15, 1});
    Ok("WaitTimer", {1, 40});
  }
  EXPECT_NEAR(ElapsedMs() - start, 120, 2);  // each reading of the clock moves it a little
  Ok("Wait", {10, 1});
  Ok("WaitTimer", {1, 30, 0});  // without restarting
  EXPECT_EQ(Number("GetTimer", {1}), 30);
}

TEST_F(SystemCommandsTest, TimerErrors) {
  const CallResult missing = fx.Call("GetTimer", {99});
  EXPECT_EQ(missing.error, ERR_FINDTIMER);
  EXPECT_EQ(missing.message, "Could not find timer 99!");
  const ScriptValue t = fx.Call("StartTimer", {kNil}).value(0);
  Ok("StopTimer", {t});
  EXPECT_EQ(fx.Call("GetTimer", {t}).error, ERR_FINDARRAY);
  EXPECT_EQ(fx.Call("StopTimer", {3}).error, ERR_FINDTIMER);
  Ok("StartTimer", {3});
  Ok("PauseTimer", {3});
  EXPECT_EQ(fx.Call("WaitTimer", {3, 10}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("StartTimer", {}).error, ERR_MISSINGPARAMTR);
  EXPECT_EQ(fx.Call("Wait", {"x"}).error, ERR_NUMEXPECTED);
}

TEST_F(SystemCommandsTest, StartingATimerAgainKeepsItsPlaceAndDropsItsData) {
  Ok("StartTimer", {1});
  Ok("StartTimer", {2});
  Ok("SetObjectData", {kTypeTimer, 1, "tag", "old"});
  Ok("Wait", {40, 1});
  Ok("StartTimer", {1});
  EXPECT_EQ(Number("GetTimer", {1}), 0);
  EXPECT_EQ(fx.Call("GetObjectData", {kTypeTimer, 1, "tag"}).error, ERR_FINDOBJECTDATA);
  const CallResult list = fx.Call("GetObjects", {kTypeTimer});
  EXPECT_EQ(list.value(0).Item(0)->number, 1);
  EXPECT_EQ(list.value(0).Item(1)->number, 2);
  EXPECT_EQ(fx.Call("GetConstant", {"#TIMER"}).number(0), kTypeTimer);
}

TEST_F(SystemCommandsTest, AWaitWokenForTheEndOfTheRunFails) {
  // A wake-up alone does not end the wait.
  clock.Wake();
  int64_t before = ElapsedMs();
  Ok("Wait", {100, 1});
  EXPECT_EQ(ElapsedMs() - before, 100);
  // With the quit request pending it does.
  SetQuitRequestCheck([] { return true; });
  clock.Wake();
  before = ElapsedMs();
  EXPECT_EQ(fx.Call("Wait", {100, 1}).error, ERR_USERABORT);
  Ok("StartTimer", {1});
  clock.Wake();
  EXPECT_EQ(fx.Call("WaitTimer", {1, 100}).error, ERR_USERABORT);
  SetQuitRequestCheck(nullptr);
  EXPECT_EQ(ElapsedMs(), before);
}

// ---- dates -------------------------------------------------------------------------------

TEST_F(SystemCommandsTest, DatesOfTheClock) {
  testing::ScopedEnvironment environment;
  environment.Set("TZ", "UTC0");
  EXPECT_EQ(fx.Call("GetDate", {1}).string(0), "09-Dec-2026 07:05:09");
  EXPECT_EQ(fx.Call("GetTime", {}).string(0), "07:05");
  EXPECT_EQ(fx.Call("GetTime", {1}).string(0), "07:05:09");
  EXPECT_EQ(Number("GetDateNum", {3}), 70509);
  EXPECT_EQ(Number("GetDateNum", {0}), 2026);
  EXPECT_EQ(Number("GetDateNum", {1}), 12);
  EXPECT_EQ(Number("GetDateNum", {2}), 9);
  EXPECT_EQ(Number("GetDateNum", {99}), 0);
  EXPECT_FALSE(fx.Call("GetDate").string(0).empty());
  EXPECT_FALSE(fx.Call("GetWeekday").string(0).empty());
  // Waiting moves the calendar on.
  Ok("Wait", {2, 0});
  EXPECT_EQ(fx.Call("GetTime", {1}).string(0), "07:05:11");
}

TEST_F(SystemCommandsTest, CompareDates) {
  struct Case {
    std::vector<Arg> args;
    double result;
  };
  const Case cases[] = {
      {{"01-Jan-2021 00:00:00", "31-Dec-2020 23:59:59"}, 1},
      {{"31-Dec-2020 23:59:59", "01-Jan-2021 00:00:00"}, 2},
      {{"01-Jan-2021 00:00:00", "01-Jan-2021 00:00:00"}, 0},
      {{"01-jan-2021", "01-JAN-2021", 1}, 0},
      {{"02-Feb-2021", "01-Mar-2021", 1}, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(Number("CompareDates", c.args), c.result);
  EXPECT_EQ(fx.Call("CompareDates", {"01-Jan-2021 00:00:0", "01-Jan-2021 00:00:00"}).error, ERR_INVALIDDATE);
  EXPECT_EQ(fx.Call("CompareDates", {"01-Foo-2021", "01-Jan-2021", 1}).error, ERR_INVALIDDATE);
  EXPECT_EQ(fx.Call("CompareDates", {"01-Jan-2021 00:00:00", "01-Jan-2021 00:00:00", 1}).error,
            ERR_INVALIDDATE);
}

// ---- catalogs, language, country, memory ---------------------------------------------------

TEST_F(SystemCommandsTest, CatalogsForTheUsersLanguage) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "catalog_program";
  std::filesystem::create_directories(dir / "Catalogs" / "german");
  std::ofstream(dir / "Catalogs" / "german" / "demo.catalog", std::ios::binary) << "A\nB\\tC";
  FileNamespace& files = DefaultFileNamespace();
  const std::string old_program_dir = files.ProgramDirectory();
  files.SetProgramDirectory(dir.string());
  testing::ScopedEnvironment environment;
  environment.Set("LANGUAGE", "de");

  EXPECT_EQ(fx.Call("GetCatalogString", {0, "none"}).string(0), "none");
  Ok("OpenCatalog", {"demo.catalog", 2});
  EXPECT_EQ(fx.Call("GetCatalogString", {0, "x"}).string(0), "A");
  EXPECT_EQ(fx.Call("GetCatalogString", {-3, "x"}).string(0), "A");
  EXPECT_EQ(fx.Call("GetCatalogString", {1, "x"}).string(0), "B\tC");
  EXPECT_EQ(fx.Call("GetCatalogString", {2, "x"}).string(0), "x");
  Ok("OpenCatalog", {"missing.catalog"});  // no error, and no catalog
  EXPECT_EQ(fx.Call("GetCatalogString", {0, "x"}).string(0), "x");
  Ok("OpenCatalog", {"demo.catalog"});
  Ok("CloseCatalog");
  EXPECT_EQ(fx.Call("GetCatalogString", {0, "x"}).string(0), "x");
  // English needs no catalog.
  environment.Set("LANGUAGE", "en");
  Ok("OpenCatalog", {"demo.catalog"});
  EXPECT_EQ(fx.Call("GetCatalogString", {0, "x"}).string(0), "x");

  files.SetProgramDirectory(old_program_dir);
  std::filesystem::remove_all(dir);
}

TEST_F(SystemCommandsTest, LanguageCountryAndMemory) {
  testing::ScopedEnvironment environment;
  environment.Set("LANGUAGE", nullptr);
  environment.Set("LC_ALL", "fr_CH.UTF-8");
  EXPECT_EQ(Number("GetSystemLanguage"), 4);
  EXPECT_EQ(Number("GetSystemCountry"), 29);
  environment.Set("LC_ALL", "xx_YY");
  EXPECT_EQ(Number("GetSystemLanguage"), fx.Call("GetConstant", {"#LANGUAGE_UNKNOWN"}).number(0));
  EXPECT_EQ(Number("GetSystemCountry"), fx.Call("GetConstant", {"#COUNTRY_UNKNOWN"}).number(0));
  EXPECT_GT(Number("GetMemoryInfo", {1}), 0);
  EXPECT_EQ(Number("GetMemoryInfo", {0}) > 0, true);
  EXPECT_EQ(fx.Call("GetMemoryInfo", {2}).error, ERR_WRONGUSAGE);
}

// ---- the program -------------------------------------------------------------------------

TEST_F(SystemCommandsTest, GetVersionDescribesThePlayerAndTheHost) {
  const ScriptValue version = fx.Call("GetVersion", {}).value(0);
  EXPECT_EQ(version.Field("application")->text, "TembroviaPlayer");
  EXPECT_EQ(version.Field("version")->text, "5.2");
  EXPECT_EQ(version.Field("version_date")->text, "12.11.12");
  EXPECT_EQ(version.Field("kernel")->text, "5.2");
  EXPECT_EQ(version.Field("kernel_date")->text, "12.11.12");
  EXPECT_EQ(version.Field("beta")->number, 0);
  EXPECT_EQ(version.Field("plugins")->type, TagTable);
  std::string system, machine;
  ASSERT_TRUE(testing::RunTool("uname -s", system));
  ASSERT_TRUE(testing::RunTool("uname -m", machine));
  EXPECT_EQ(version.Field("platform")->text + "\n", system);
  EXPECT_EQ(version.Field("cpu")->text + "\n", machine);
  EXPECT_TRUE(fx.Call("GetVersion", {1}).ok());
}

TEST_F(SystemCommandsTest, TheCommandLine) {
  // Without the driver's record: nothing.
  const CallResult none = fx.Call("GetCommandLine");
  ASSERT_EQ(none.count(), 3u);
  EXPECT_TRUE(none.value(0).keys.empty());
  EXPECT_EQ(none.number(1), 0);
  EXPECT_EQ(none.number(2), 0);
  EXPECT_EQ(fx.Call("GetFileArgument").string(0), "");

  PlayerConfig config;
  config.userArguments = {{"level", "3", true}, {"fast", "", false}};
  config.fileArgument = "demo.vxa";
  config.appletPath = "/apps/demo.vxa";
  config.executablePath = "/bin/tembrovia";
  config.isApplet = true;
  SetRegistryPointer(fx.state(), "clargs", &config);

  const CallResult line = fx.Call("GetCommandLine");
  ASSERT_EQ(line.count(), 3u);
  EXPECT_EQ(line.number(1), 2);
  EXPECT_EQ(line.value(0).Item(0)->Field("arg")->text, "level");
  EXPECT_EQ(line.value(0).Item(0)->Field("param")->text, "3");
  EXPECT_EQ(line.value(0).Item(1)->Field("arg")->text, "fast");
  EXPECT_EQ(line.value(0).Item(1)->Field("param")->text, "");
  EXPECT_EQ(fx.Call("GetFileArgument").string(0), "demo.vxa");

  CallResult info = fx.Call("GetProgramInfo");
  ASSERT_EQ(info.count(), 3u);
  EXPECT_EQ(info.number(0), 1);
  EXPECT_EQ(info.string(1), "/apps/demo.vxa");
  EXPECT_EQ(info.string(2), "/bin/tembrovia");
  config.isApplet = false;
  EXPECT_EQ(fx.Call("GetProgramInfo").number(0), 0);
  config.appendedAppletOffset = 4096;
  info = fx.Call("GetProgramInfo");
  ASSERT_EQ(info.count(), 2u);
  EXPECT_EQ(info.number(0), 2);
  EXPECT_EQ(info.string(1), "/bin/tembrovia");
  SetRegistryPointer(fx.state(), "clargs", nullptr);
}

TEST(SystemCommands, EndStopsTheScript) {
  CommandFixture fx;
  const CallResult r = fx.Run(R"(
        call End
        call DebugPrint, "not reached"
        return r0, 1
  )");
  EXPECT_TRUE(GetStopFlag(fx.state()));
  EXPECT_EQ(fx.TakeDebugOutput(), "");
  EXPECT_EQ(r.error, ERR_NONE);
}

// ---- errors ------------------------------------------------------------------------------

TEST_F(SystemCommandsTest, ErrorAndAssert) {
  const CallResult error = fx.Call("Error", {"Disk %d is full"});
  EXPECT_EQ(error.error, ERR_ERRORCALLED);
  EXPECT_EQ(error.message, "Disk %d is full");
  EXPECT_EQ(fx.Call("Assert", {0}).error, ERR_ASSERTFAILED);
  EXPECT_EQ(fx.Call("Assert", {kNil}).message, "Assertion failed!");
  EXPECT_EQ(fx.Call("Assert", {"0"}).string(0), "0");
  EXPECT_EQ(fx.Call("Assert", {-1}).number(0), -1);
  EXPECT_EQ(fx.Call("GetErrorName", {ERR_MEM}).string(0), FormatError(ERR_MEM));
  EXPECT_EQ(fx.Call("GetErrorName", {ERR_ASSERTFAILED}).string(0), "Assertion failed!");
}

TEST(SystemCommands, WithoutExitOnErrorTheLastErrorIsKept) {
  CommandFixture fx;
  const CallResult r = fx.Run(R"(
        call ExitOnError, 0
        call Chr, 300
        call GetLastError => r0
        call StrLen, "x"
        call GetLastError => r1
        call ExitOnError, 1
        return r0, 3
  )");
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_EQ(r.number(0), ERR_WRONGUSAGE);
  EXPECT_EQ(r.number(1), 0);
}

TEST(SystemCommands, RaiseOnErrorHandsFailuresToTheScript) {
  CommandFixture fx;
  const CallResult r = fx.Run(R"(
        makeclosure r0, handler
        call RaiseOnError, r0
    .line 7
        call Chr, 300
        loadconst r1, "went on"
        return r1, 2
    .function handler
        .params 4
        writeglobal r0, "code"
        writeglobal r1, "message"
        writeglobal r2, "name"
        writeglobal r3, "line"
        return r0, 1
    .end
  )");
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_EQ(r.string(0), "went on");
  EXPECT_EQ(fx.Global("code").number, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Global("message").text, FormatError(ERR_WRONGUSAGE));
  EXPECT_EQ(fx.Global("name").text, "Chr");
  EXPECT_EQ(fx.Global("line").number, 7);
}

double g_handled_code = 0;

int RecordCode(VMState* state) {
  g_handled_code = ToNumber(state, 1);
  return 0;
}

TEST_F(SystemCommandsTest, TheHandlerNeedsExitOnError) {
  Ok("RaiseOnError", {Arg::Function(RecordCode)});
  EXPECT_NE(GetErrorHandlerRef(fx.state()), kNoRef);
  // The refusal goes to the handler, which takes care of it.
  g_handled_code = 0;
  Ok("ExitOnError", {0});
  EXPECT_EQ(g_handled_code, ERR_WRONGUSAGE);
  EXPECT_TRUE(GetExitOnError(fx.state()));
  Ok("RaiseOnError", {kNil});  // removes it
  EXPECT_EQ(GetErrorHandlerRef(fx.state()), kNoRef);
  Ok("ExitOnError", {0});
  EXPECT_FALSE(GetExitOnError(fx.state()));
  EXPECT_EQ(fx.Call("RaiseOnError", {Arg::Function(RecordCode)}).error, ERR_WRONGUSAGE);
  Ok("ExitOnError", {1});
  EXPECT_TRUE(GetExitOnError(fx.state()));
}

// ---- debugging and the collector ---------------------------------------------------------

TEST_F(SystemCommandsTest, DebugOutputTracesCommandCalls) {
  Ok("DebugOutput", {1});
  Ok("StrLen", {"abc"});
  Ok("DebugOutput", {0});
  Ok("StrLen", {"abc"});
  EXPECT_EQ(fx.TakeDebugOutput(),
            "Now calling StrLen() with arguments #1=(STRING)\"abc\" \n"
            "Now calling DebugOutput() with arguments #1=(NUMBER)0 \n");
}

TEST_F(SystemCommandsTest, DebugPromptReadsALineFromTheConsole) {
  char input[] = "first answer\r\nsecond\n";
  FILE* console = fmemopen(input, sizeof input - 1, "r");
  ASSERT_NE(console, nullptr);
  SystemLibrary(fx.state()).console = console;
  EXPECT_EQ(fx.Call("DebugPrompt", {"Name? %d "}).string(0), "first answer");
  EXPECT_EQ(fx.TakeDebugOutput(), "Name? %d ");
  EXPECT_EQ(fx.Call("DebugPrompt", {""}).string(0), "second");
  EXPECT_EQ(fx.Call("DebugPrompt", {""}).string(0), "");
  EXPECT_EQ(fx.TakeDebugOutput(), "");
  SystemLibrary(fx.state()).console = stdin;
  fclose(console);
}

TEST_F(SystemCommandsTest, CollectorFigures) {
  const CallResult info = fx.Call("GCInfo");
  ASSERT_EQ(info.count(), 2u);
  EXPECT_GT(info.number(0), 0);
  Ok("CollectGarbage", {4000});
  EXPECT_EQ(fx.Call("GCInfo").number(1), 4000);
  Ok("CollectGarbage");
  EXPECT_GE(fx.Call("GCInfo").number(1), fx.Call("GCInfo").number(0));
}

TEST_F(SystemCommandsTest, Constants) {
  const std::pair<const char*, double> constants[] = {
      {"#SECONDS", 0},           {"#MILLISECONDS", 1},    {"#TICKS", 2},         {"#DATETIME", 3},
      {"#FASTMEMORY", 1},        {"#PRGTYPE_PROGRAM", 2}, {"#LANGUAGE_CZECH", 14},
      {"#COUNTRY_UKRAINE", 37},  {"#NIL", 0},             {"#THREAD", 10},       {"#INTEGER", 1},
      {"#LONG", 1},              {"#FLOAT", 1},           {"#WORD", 6},          {"#BYTE", 7},
      {"#ERR_MEM", ERR_MEM},
  };
  for (const auto& [name, value] : constants) {
    EXPECT_EQ(fx.Call("GetConstant", {name}).number(0), value) << name;
  }
}

}  // namespace
}  // namespace tembrovia
