#include "app/options/option_table.h"

#include "app/config/display_config.h"
#include "common/latin1_case.h"

namespace tembrovia {

using A = OptionAction;

const std::array<OptionSpec, kOptionCount> kOptionTable = {{
    {.name = "WINDOW", .slot = kOptWindow, .help = "open script in a window (default)",
     .action = A::kMode, .param = kDisplayModeWindow},
    {.name = "BORDERLESS", .slot = kOptBorderless, .help = "open a window without border",
     .action = A::kStyleFlag, .param = kDisplayBorderless},
    {.name = "SIZEABLE", .slot = kOptSizeable, .help = "make the window resizable",
     .action = A::kStyleFlag, .param = kDisplaySizeable},
    {.name = "FIXED", .slot = kOptFixed, .help = "the window cannot be dragged",
     .action = A::kStyleFlag, .param = kDisplayFixed},
    {.name = "NOHIDE", .slot = kOptNoHide, .help = "the window has no minimize button",
     .action = A::kStyleFlag, .param = kDisplayNoMinimize},
    {.name = "HIDEPOINTER", .slot = kOptHidePointer, .help = "hide the pointer in full screen",
     .action = A::kStyleFlag, .param = kDisplayHidePointer},
    {.name = "NOMODESWITCH", .slot = kOptNoModeSwitch,
     .help = "disable the hotkey that switches between window and full screen",
     .action = A::kStyleFlag, .param = kDisplayNoModeSwitch},
    {.name = "HIDETITLEBAR", .slot = kOptHideTitleBar, .help = "open the window without title bar",
     .action = A::kHideTitleBar},
    {.name = "KEEPPROPORTIONS", .slot = kOptKeepProportions,
     .help = "keep the proportions when scaling", .action = A::kStyleFlag,
     .param = kDisplayKeepProportions},
    {.name = "FITSCALE", .slot = kOptFitScale, .help = "fit the scaled display to the desktop",
     .action = A::kStyleFlag, .param = kDisplayFitScale},
    {.name = "AUTOSCALE", .slot = kOptAutoScale, .help = "scale the display automatically",
     .action = A::kStyleFlag, .param = kDisplayAutoScale},
    {.name = "LAYERSCALE", .slot = kOptLayerScale, .help = "scale the display by its layers",
     .action = A::kStyleFlag, .param = kDisplayLayerScale},
    {.name = "SMOOTHSCALE", .slot = kOptSmoothScale, .help = "scale with interpolation",
     .action = A::kStyleFlag, .param = kDisplaySmoothScale},
    {.name = "SCALEWIDTH", .slot = kOptScaleWidth, .takesValue = true, .placeholder = "width",
     .help = "width of the scaled display, in pixels or n%", .action = A::kScaleSize, .param = 0},
    {.name = "SCALEHEIGHT", .slot = kOptScaleHeight, .takesValue = true, .placeholder = "height",
     .help = "height of the scaled display, in pixels or n%", .action = A::kScaleSize,
     .param = 1},
    {.name = "OWNSCREEN", .slot = kOptOwnScreen, .help = "open a screen of a custom size",
     .action = A::kMode, .param = kDisplayModeOwnScreen},
    {.name = "SCRWIDTH", .slot = kOptScrWidth, .takesValue = true, .placeholder = "width",
     .help = "width of the full screen", .action = A::kScreenSize, .param = 0},
    {.name = "SCRHEIGHT", .slot = kOptScrHeight, .takesValue = true, .placeholder = "height",
     .help = "height of the full screen", .action = A::kScreenSize, .param = 1},
    {.name = "DEPTH", .slot = kOptDepth, .takesValue = true, .placeholder = "depth",
     .help = "colour depth of the full screen", .action = A::kScreenSize, .param = 2},
    {.name = "BACKFILL", .slot = kOptBackfill, .takesValue = true, .placeholder = "type",
     .valueList = "color|gradient|rainbow|texture|picture", .help = "fill the screen behind the display",
     .action = A::kBackfill},
    {.name = "STARTCOLOR", .slot = kOptStartColor, .takesValue = true, .placeholder = "$RRGGBB",
     .help = "backfill colour or start colour of the gradient", .action = A::kBackfillColor,
     .param = 0},
    {.name = "ENDCOLOR", .slot = kOptEndColor, .takesValue = true, .placeholder = "$RRGGBB",
     .help = "end colour of the backfill gradient", .action = A::kBackfillColor, .param = 1},
    {.name = "BRUSHFILE", .slot = kOptBrushFile, .takesValue = true, .placeholder = "file",
     .help = "image of the backfill texture or picture", .action = A::kBackfillImage},
    {.name = "BRUSH", .slot = kOptBrush, .takesValue = true, .placeholder = "id",
     .help = "brush of the backfill texture or picture", .action = A::kBackfillBrush},
    {.name = "SCALEPICTURE", .slot = kOptScalePicture, .help = "scale the backfill picture",
     .action = A::kBackfillScale},
    {.name = "PICXPOS", .slot = kOptPicXPos, .takesValue = true, .placeholder = "x",
     .help = "x position of the backfill picture", .action = A::kBackfillPosition, .param = 0},
    {.name = "PICYPOS", .slot = kOptPicYPos, .takesValue = true, .placeholder = "y",
     .help = "y position of the backfill picture", .action = A::kBackfillPosition, .param = 1},
    {.name = "PICTRANS", .slot = kOptPicTrans, .takesValue = true, .placeholder = "$RRGGBB",
     .help = "transparent colour of the backfill picture", .action = A::kBackfillTransparent},
    {.name = "QUIET", .slot = kOptQuiet, .help = "no start-up output", .action = A::kPlayerFlag,
     .flag = &PlayerConfig::quiet},
    {.name = "NOSOUND", .slot = kOptNoSound, .help = "disable sound output",
     .action = A::kPlayerFlag, .flag = &PlayerConfig::noSound},
    {.name = "EXETYPE", .slot = kOptExeType, .takesValue = true, .placeholder = "types",
     .valueList = "CLASSIC|CLASSIC881|MORPHOS|WARPOS|AMIGAOS4|AROS|APPLET|WIN32|WIN32CONSOLE|"
                  "LINUX|LINUXPPC|MACOS|MACOS86|ANDROID|IOS",
     .help = "executable types, joined by +", .action = A::kExeType},
    {.name = "EXPORTCOMMANDS", .slot = kOptExportCommands, .takesValue = true,
     .placeholder = "file", .help = "write the list of commands and stop",
     .action = A::kPlayerText, .text = &PlayerConfig::exportCommands},
    {.name = "EXPORTCONSTANTS", .slot = kOptExportConstants, .takesValue = true,
     .placeholder = "file", .help = "write the list of constants and stop",
     .action = A::kPlayerText, .text = &PlayerConfig::exportConstants},
    {.name = "EXPORTPLUGINS", .slot = kOptExportPlugins, .takesValue = true,
     .placeholder = "file", .help = "write the list of plugins and stop",
     .action = A::kPlayerText, .text = &PlayerConfig::exportPlugins},
    {.name = "PRIVATE1", .slot = kOptExportCommands, .takesValue = true, .placeholder = "file",
     .help = "internal", .action = A::kIgnored},
    {.name = "PRIVATE2", .slot = kOptExportConstants, .takesValue = true, .placeholder = "file",
     .help = "internal", .action = A::kIgnored},
    {.name = "SKIPPLUGINS", .slot = kOptSkipPlugins, .takesValue = true, .placeholder = "list",
     .help = "plugins not to load, separated by |", .action = A::kSkipPlugins},
    {.name = "SCRIPTALIAS", .slot = kOptScriptAlias, .takesValue = true, .placeholder = "name",
     .help = "name shown instead of the file name", .action = A::kPlayerText,
     .text = &PlayerConfig::scriptAlias},
    {.name = "DEBUGDEVICE", .slot = kOptDebugDevice, .takesValue = true, .placeholder = "device",
     .valueList = "::file<path>|::hwnd<handle>|console", .help = "debug output channel",
     .action = A::kPlayerText, .text = &PlayerConfig::debugDevice},
    {.name = "ICON16X16", .slot = kOptIcon16, .takesValue = true, .placeholder = "file",
     .help = "16x16 icon for the compiler", .action = A::kIcon, .param = 0},
    {.name = "ICON24X24", .slot = kOptIcon24, .takesValue = true, .placeholder = "file",
     .help = "24x24 icon for the compiler", .action = A::kIcon, .param = 1},
    {.name = "ICON32X32", .slot = kOptIcon32, .takesValue = true, .placeholder = "file",
     .help = "32x32 icon for the compiler", .action = A::kIcon, .param = 2},
    {.name = "ICON48X48", .slot = kOptIcon48, .takesValue = true, .placeholder = "file",
     .help = "48x48 icon for the compiler", .action = A::kIcon, .param = 3},
    {.name = "ICON128X128", .slot = kOptIcon128, .takesValue = true, .placeholder = "file",
     .help = "128x128 icon for the compiler", .action = A::kIcon, .param = 4},
    {.name = "ICON256X256", .slot = kOptIcon256, .takesValue = true, .placeholder = "file",
     .help = "256x256 icon for the compiler", .action = A::kIcon, .param = 5},
    {.name = "ICON512X512", .slot = kOptIcon512, .takesValue = true, .placeholder = "file",
     .help = "512x512 icon for the compiler", .action = A::kIcon, .param = 6},
    {.name = "COMPILE", .slot = kOptCompile, .takesValue = true, .placeholder = "file",
     .help = "compile the script (not possible with the player)", .action = A::kCompile},
    {.name = "LINKFILES", .slot = kOptLinkFiles, .takesValue = true, .placeholder = "database",
     .help = "files to link when compiling", .action = A::kPlayerText,
     .text = &PlayerConfig::linkFiles},
    {.name = "LINKFONTS", .slot = kOptLinkFonts, .takesValue = true, .placeholder = "database",
     .help = "fonts to link when compiling", .action = A::kPlayerText,
     .text = &PlayerConfig::linkFonts},
    {.name = "COMPRESS", .slot = kOptCompress, .help = "compress the compiled applet",
     .action = A::kPlayerFlag, .flag = &PlayerConfig::compress},
    {.name = "OVERWRITE", .slot = kOptOverwrite, .help = "overwrite the output file",
     .action = A::kPlayerFlag, .flag = &PlayerConfig::overwrite},
    {.name = "LOCKSETTINGS", .slot = kOptLockSettings,
     .help = "the compiled applet ignores display options", .action = A::kPlayerFlag,
     .flag = &PlayerConfig::lockSettings},
    {.name = "PRIVATE3", .slot = kOptPrivate3, .takesValue = true, .placeholder = "text",
     .help = "internal", .action = A::kIgnored},
    {.name = "FAKEFULLSCREEN", .slot = kOptFakeFullScreen,
     .help = "a borderless window that covers the desktop", .action = A::kMode,
     .param = kDisplayModeFakeFullScreen},
    {.name = "FULLSCREEN", .slot = kOptFullScreen, .help = "open script in full screen",
     .action = A::kMode, .param = kDisplayModeFullScreen},
}};

const std::array<const char*, kExecutableTypeCount> kExecutableTypeNames = {
    "CLASSIC", "CLASSIC881", "MORPHOS", "WARPOS", "AMIGAOS4", "AROS", "APPLET", "WIN32",
    "WIN32CONSOLE", "LINUX", "LINUXPPC", "MACOS", "MACOS86", "ANDROID", "IOS"};

const OptionSpec* FindOption(std::string_view name) {
  for (const OptionSpec& option : kOptionTable) {
    if (Latin1EqualNoCase(option.name, name)) return &option;
  }
  return nullptr;
}

std::string OptionHelpText() {
  std::string text;
  for (const OptionSpec& option : kOptionTable) {
    std::string usage = std::string("-") + option.name;
    if (option.takesValue) usage += std::string(" <") + option.placeholder + ">";
    text += usage;
    text.append(usage.size() < 28 ? 28 - usage.size() : 1, ' ');
    text += option.help;
    if (*option.valueList) text += std::string(" (") + option.valueList + ")";
    text += '\n';
  }
  return text;
}

}  // namespace tembrovia
