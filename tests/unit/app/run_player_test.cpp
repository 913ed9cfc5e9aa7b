#include "app/run_player.h"

#include <gtest/gtest.h>

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
  PlayerRun ok;
  ASSERT_EQ(ConfigureRun("-FULLSCREEN -WINDOW \"my game.vxa\"", ok), ERR_NONE);
  EXPECT_EQ(ok.display.mode, kDisplayModeFullScreen);
  EXPECT_EQ(ok.config.appletPath, "my game.vxa");
  EXPECT_FALSE(ok.config.appendedAppletOffset);  // the test program carries no applet
}

}  // namespace
}  // namespace tembrovia
