#include "app/run_player.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/container/applet_writer.h"
#include "asm/assembler.h"
#include "manifest.h"

namespace tembrovia {
namespace {

TEST(ConfigureRun, NoAppletNamedEndsSilentlyUnlessAListIsExported) {
  PlayerRun silent;
  EXPECT_EQ(ConfigureRun("-QUIET", silent), ERR_USERABORT);

  PlayerRun exporting;
  ASSERT_EQ(ConfigureRun("-EXPORTCOMMANDS cmds.txt", exporting), ERR_NONE);
  EXPECT_EQ(exporting.config.exportCommands, "cmds.txt");
  EXPECT_TRUE(exporting.config.appletPath.empty());
  EXPECT_TRUE(exporting.config.quiet);  // no debug device: no start-up output
}

TEST(ConfigureRun, ErrorsOfTheCommandLineAndOfTheOptions) {
  PlayerRun run;
  EXPECT_EQ(ConfigureRun("game.vxa -SCRWIDTH", run), ERR_ARGS);
  PlayerRun conflict;
  EXPECT_EQ(ConfigureRun("-FULLSCREEN -FAKEFULLSCREEN game.vxa", conflict), ERR_ARGS);
  // The mode options are applied in a fixed order: full screen whatever the order.
  for (const char* line : {"-FULLSCREEN -WINDOW \"my game.vxa\"", "-WINDOW -FULLSCREEN \"my game.vxa\""}) {
    PlayerRun ok;
    ASSERT_EQ(ConfigureRun(line, ok), ERR_NONE) << line;
    EXPECT_EQ(ok.display.mode, kDisplayModeFullScreen) << line;
    EXPECT_EQ(ok.config.appletPath, "my game.vxa");
    EXPECT_FALSE(ok.config.appendedAppletOffset);  // the test program carries no applet
  }
}

// A whole run of an applet named by a relative path from another directory: the path is
// made absolute before the applet's directory becomes the current one.
TEST(RunPlayer, AnAppletInAnotherDirectoryByARelativePath) {
  namespace fs = std::filesystem;
  const fs::path top = fs::temp_directory_path() / ("tembrovia-run-" + std::to_string(::getpid()));
  fs::create_directories(top / "games");
  AssemblyResult script = Assemble(
      ".function main\n  call FileToString, \"notes.txt\" => r0\n  call DebugPrint, r0\n"
      "  return r0, 1\n.end\n");
  ASSERT_TRUE(script.ok()) << script.error;
  std::ofstream(top / "games" / "notes.txt") << "found beside the applet";
  ManifestOutcome packed = BuildContainerFromManifest(
      "", ".", std::vector<uint8_t>(script.chunk.begin(), script.chunk.end()));
  ASSERT_EQ(packed.error, "");
  std::ofstream(top / "games" / "game.vxa", std::ios::binary)
      .write(reinterpret_cast<const char*>(packed.container.data()),
             static_cast<std::streamsize>(packed.container.size()));

  const fs::path before = fs::current_path();
  fs::current_path(top);
  const std::string debug = (top / "debug.txt").string();
  EXPECT_EQ(RunPlayer("-QUIET -DEBUGDEVICE ::file" + debug + " games/game.vxa"), 0);
  fs::current_path(before);
  std::ifstream in(debug);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "found beside the applet\n");
  fs::remove_all(top);
}

}  // namespace
}  // namespace tembrovia
