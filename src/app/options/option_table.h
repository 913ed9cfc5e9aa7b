// The 55 options of the command line and the settings file: one table from which parsing,
// application and the help text derive. Rows are in the order the options are applied.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/config/player_config.h"

namespace tembrovia {

// One slot per distinct option; PRIVATE1 and PRIVATE2 share the slots of EXPORTCOMMANDS and
// EXPORTCONSTANTS.
enum OptionSlot : uint8_t {
  kOptWindow,
  kOptBorderless, kOptSizeable, kOptFixed, kOptNoHide, kOptHidePointer, kOptNoModeSwitch,
  kOptHideTitleBar, kOptKeepProportions, kOptFitScale,
  kOptAutoScale, kOptLayerScale, kOptSmoothScale, kOptScaleWidth, kOptScaleHeight,
  kOptOwnScreen,
  kOptScrWidth, kOptScrHeight, kOptDepth,
  kOptBackfill, kOptStartColor, kOptEndColor, kOptBrushFile, kOptBrush, kOptScalePicture,
  kOptPicXPos, kOptPicYPos, kOptPicTrans,
  kOptQuiet, kOptNoSound, kOptExeType,
  kOptExportCommands, kOptExportConstants, kOptExportPlugins,
  kOptSkipPlugins, kOptScriptAlias, kOptDebugDevice,
  kOptIcon16, kOptIcon24, kOptIcon32, kOptIcon48, kOptIcon128, kOptIcon256, kOptIcon512,
  kOptCompile, kOptLinkFiles, kOptLinkFonts, kOptCompress, kOptOverwrite, kOptLockSettings,
  kOptPrivate3,
  kOptFakeFullScreen, kOptFullScreen,
  kOptionSlotCount
};

enum class OptionAction : uint8_t {
  kMode,                // param: display mode
  kStyleFlag,           // param: style bit
  kHideTitleBar,
  kScaleSize,           // param: 0 width, 1 height; pixels or n%
  kScreenSize,          // param: 0 width, 1 height, 2 depth
  kBackfill,            // the backfill kind by name
  kBackfillColor,       // param: 0 start, 1 end
  kBackfillImage,
  kBackfillBrush,
  kBackfillScale,
  kBackfillPosition,    // param: 0 x, 1 y
  kBackfillTransparent,
  kPlayerFlag,          // flag: the PlayerConfig member
  kPlayerText,          // text: the PlayerConfig member
  kExeType,
  kSkipPlugins,
  kIcon,                // param: icon index
  kCompile,
  kIgnored,
};

struct OptionSpec {
  const char* name;
  OptionSlot slot;
  bool takesValue = false;
  const char* placeholder = "";  // how help shows the value
  const char* valueList = "";    // the accepted words, when the value is one of a list
  const char* help = "";
  OptionAction action = OptionAction::kIgnored;
  int32_t param = 0;
  bool PlayerConfig::*flag = nullptr;
  std::optional<std::string> PlayerConfig::*text = nullptr;
};

constexpr size_t kOptionCount = 55;
extern const std::array<OptionSpec, kOptionCount> kOptionTable;

// The option of that name, matched case-insensitively; null when there is none.
const OptionSpec* FindOption(std::string_view name);

// The options as a help listing, one line per option.
std::string OptionHelpText();

// The executable types of EXETYPE in the order of their mask bits.
constexpr size_t kExecutableTypeCount = 15;
extern const std::array<const char*, kExecutableTypeCount> kExecutableTypeNames;

}  // namespace tembrovia
