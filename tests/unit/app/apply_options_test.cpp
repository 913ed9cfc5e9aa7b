#include "app/options/apply_options.h"

#include <gtest/gtest.h>

#include <set>

#include "app/options/command_line.h"

namespace tembrovia {
namespace {

struct Applied {
  ErrorCode error = ERR_NONE;
  PlayerConfig config;
  DisplayConfig display;
};

Applied ApplyLine(const std::string& options) {
  Applied result;
  OptionValues values;
  result.error = ParseCommandLine(options + " game.vxa", values, result.config);
  if (result.error == ERR_NONE) result.error = ApplyOptions(values, result.config, result.display);
  return result;
}

TEST(OptionTable, EverySlotHasOneOptionThatAppliesIt) {
  EXPECT_EQ(kOptionTable.size(), 55u);
  std::set<std::string> names;
  std::vector<int> applying(kOptionSlotCount, 0);
  for (const OptionSpec& option : kOptionTable) {
    EXPECT_TRUE(names.insert(option.name).second) << option.name;
    if (option.action != OptionAction::kIgnored || option.slot == kOptPrivate3) {
      ++applying[option.slot];
    }
    EXPECT_EQ(FindOption(option.name), &option);
  }
  for (int slot = 0; slot < kOptionSlotCount; ++slot) EXPECT_EQ(applying[slot], 1) << slot;
  EXPECT_EQ(FindOption("fullscreen")->slot, kOptFullScreen);
  EXPECT_EQ(FindOption("FULL"), nullptr);
}

TEST(OptionTable, HelpListsEveryOptionWithItsValue) {
  std::string help = OptionHelpText();
  EXPECT_NE(help.find("-WINDOW"), std::string::npos);
  EXPECT_NE(help.find("open script in a window (default)"), std::string::npos);
  EXPECT_NE(help.find("-SCRWIDTH <width>"), std::string::npos);
  EXPECT_EQ(std::count(help.begin(), help.end(), '\n'), 55);
}

struct ModeCase {
  const char* options;
  ErrorCode error;
  int32_t mode;
};

class ModeOrderTest : public ::testing::TestWithParam<ModeCase> {};

// The mode options apply in a fixed order, not in command-line order.
TEST_P(ModeOrderTest, Mode) {
  Applied applied = ApplyLine(GetParam().options);
  EXPECT_EQ(applied.error, GetParam().error) << GetParam().options;
  if (GetParam().error == ERR_NONE) {
    EXPECT_EQ(applied.display.mode, GetParam().mode);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModeOrderTest,
    ::testing::Values(ModeCase{"", ERR_NONE, kDisplayModeNotSet},
                      ModeCase{"-WINDOW", ERR_NONE, kDisplayModeWindow},
                      ModeCase{"-WINDOW -FULLSCREEN", ERR_NONE, kDisplayModeFullScreen},
                      ModeCase{"-FULLSCREEN -WINDOW", ERR_NONE, kDisplayModeFullScreen},
                      ModeCase{"-OWNSCREEN -WINDOW", ERR_NONE, kDisplayModeOwnScreen},
                      ModeCase{"-FAKEFULLSCREEN -WINDOW", ERR_NONE, kDisplayModeFakeFullScreen},
                      ModeCase{"-FULLSCREEN -FAKEFULLSCREEN", ERR_ARGS, 0},
                      ModeCase{"-OWNSCREEN -FULLSCREEN", ERR_ARGS, 0},
                      ModeCase{"-FAKEFULLSCREEN -OWNSCREEN", ERR_ARGS, 0}));

struct ErrorCase {
  const char* options;
  ErrorCode error;
};

class ApplyErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ApplyErrorTest, Error) {
  EXPECT_EQ(ApplyLine(GetParam().options).error, GetParam().error) << GetParam().options;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ApplyErrorTest,
    ::testing::Values(
        ErrorCase{"-AUTOSCALE -LAYERSCALE", ERR_ARGS},
        ErrorCase{"-SCALEWIDTH 320", ERR_ARGS},
        ErrorCase{"-SMOOTHSCALE", ERR_ARGS},
        ErrorCase{"-AUTOSCALE -SMOOTHSCALE -SCALEWIDTH 50%", ERR_NONE},
        ErrorCase{"-BACKFILL stripes", ERR_BACKFILL},
        ErrorCase{"-BACKFILL RAINBOW", ERR_NONE},
        ErrorCase{"-BRUSHFILE a.png -BRUSH 2", ERR_BACKFILL},
        ErrorCase{"-SCRWIDTH wide", ERR_VALUEEXPECTED},
        ErrorCase{"-SCRWIDTH $", ERR_SYNTAXERROR},
        ErrorCase{"-STARTCOLOR 0x", ERR_SYNTAXERROR},
        ErrorCase{"-EXETYPE win32+beos", ERR_EXETYPE},
        ErrorCase{"-EXETYPE win32+", ERR_EXETYPE},
        // The first error in application order wins: backfill comes before EXETYPE.
        ErrorCase{"-EXETYPE beos -BACKFILL stripes", ERR_BACKFILL},
        ErrorCase{"-FULLSCREEN -OWNSCREEN -SCRWIDTH x", ERR_ARGS}));

TEST(ApplyOptions, NumbersColoursAndPercentages) {
  Applied a = ApplyLine(
      "-SCRWIDTH $280 -SCRHEIGHT 0x1E0 -DEPTH %11000 -LAYERSCALE -SCALEWIDTH 50% "
      "-SCALEHEIGHT 200 -STARTCOLOR $FF8800 -ENDCOLOR $FFFFFFFF -PICXPOS 12.9 "
      "-PICTRANS $-1 -BACKFILL Picture -BRUSH 7 -SCALEPICTURE -HIDETITLEBAR");
  ASSERT_EQ(a.error, ERR_NONE);
  EXPECT_EQ(a.display.screenWidth, 640);
  EXPECT_EQ(a.display.screenHeight, 480);
  EXPECT_EQ(a.display.screenDepth, 24);
  EXPECT_EQ(a.display.scaleWidth, -50);
  EXPECT_EQ(a.display.scaleHeight, 200);
  EXPECT_EQ(a.display.styleFlags, kDisplayLayerScale);
  EXPECT_EQ(a.display.backfill.mode, kBackfillPicture);
  EXPECT_EQ(a.display.backfill.startColor, 0xFF8800);
  EXPECT_EQ(a.display.backfill.endColor, -1);
  EXPECT_EQ(a.display.backfill.pictureX, 12);
  EXPECT_EQ(a.display.backfill.pictureY, kPositionCentered);
  EXPECT_EQ(a.display.backfill.transparentColor, -1);
  EXPECT_EQ(a.display.backfill.brushId, 7);
  EXPECT_TRUE(a.display.backfill.scalePicture);
  EXPECT_EQ(a.display.hideTitleBar, 1);
}

TEST(ApplyOptions, StyleFlagsAreMarkedAsGiven) {
  Applied a = ApplyLine("-BORDERLESS -SIZEABLE -FIXED -NOHIDE -HIDEPOINTER -NOMODESWITCH "
                        "-KEEPPROPORTIONS -FITSCALE -AUTOSCALE -SMOOTHSCALE");
  ASSERT_EQ(a.error, ERR_NONE);
  int32_t expected = kDisplayBorderless | kDisplaySizeable | kDisplayFixed | kDisplayNoMinimize |
                     kDisplayHidePointer | kDisplayNoModeSwitch | kDisplayKeepProportions |
                     kDisplayFitScale | kDisplayAutoScale | kDisplaySmoothScale;
  EXPECT_EQ(a.display.styleFlags, expected);
  EXPECT_EQ(a.display.givenStyleFlags, expected);
}

TEST(ApplyOptions, PlayerSettings) {
  Applied a = ApplyLine(
      "-QUIET -NOSOUND -EXETYPE Win32+linux+IOS -EXPORTCOMMANDS c.txt -PRIVATE2 k.txt "
      "-EXPORTPLUGINS p.txt -SKIPPLUGINS a.vxp||b.vxp -SCRIPTALIAS Demo -DEBUGDEVICE "
      "::file/tmp/d -ICON48X48 i48.png -COMPRESS -OVERWRITE -LOCKSETTINGS -LINKFILES db "
      "-LINKFONTS fdb -PRIVATE3 x");
  ASSERT_EQ(a.error, ERR_NONE);
  EXPECT_TRUE(a.config.quiet);
  EXPECT_TRUE(a.config.noSound);
  EXPECT_EQ(a.config.executableTypes, (1u << 7) | (1u << 9) | (1u << 14));
  EXPECT_EQ(a.config.exportCommands, "c.txt");
  EXPECT_EQ(a.config.exportConstants, "k.txt");
  EXPECT_EQ(a.config.exportPlugins, "p.txt");
  EXPECT_EQ(a.config.skipPlugins, (std::vector<std::string>{"a.vxp", "b.vxp"}));
  EXPECT_EQ(a.config.scriptAlias, "Demo");
  EXPECT_EQ(a.config.debugDevice, "::file/tmp/d");
  EXPECT_EQ(a.config.iconFiles[3], "i48.png");
  EXPECT_TRUE(a.config.compress && a.config.overwrite && a.config.lockSettings);
  EXPECT_EQ(a.config.linkFiles, "db");
  EXPECT_EQ(a.config.linkFonts, "fdb");
  EXPECT_FALSE(a.config.compileRequested);
}

TEST(ApplyOptions, CompileIsOnlyRecorded) {
  Applied a = ApplyLine("-COMPILE /out/game");
  ASSERT_EQ(a.error, ERR_NONE);
  EXPECT_TRUE(a.config.compileRequested);
  EXPECT_EQ(a.config.compileOutput, "/out/game");
}

TEST(ParseOptionNumber, NumberRuleAndPercent) {
  OptionNumber n = ParseOptionNumber("-$10%");
  EXPECT_EQ(n.error, ERR_NONE);
  EXPECT_EQ(n.value, -16);
  EXPECT_TRUE(n.percent);
  EXPECT_FALSE(ParseOptionNumber("%101").percent);
  EXPECT_EQ(ParseOptionNumber("%101").value, 5);
  EXPECT_EQ(ParseOptionNumber("").error, ERR_VALUEEXPECTED);
}

TEST(ForceQuiet, OnlyADebugDeviceWithoutAppendedAppletShowsStartUpOutput) {
  PlayerConfig config;
  ForceQuietWhereNeeded(config);
  EXPECT_TRUE(config.quiet);

  config = {};
  config.debugDevice = "::file/tmp/x";
  ForceQuietWhereNeeded(config);
  EXPECT_FALSE(config.quiet);

  config.appendedAppletOffset = 1234;
  ForceQuietWhereNeeded(config);
  EXPECT_TRUE(config.quiet);
}

}  // namespace
}  // namespace tembrovia
