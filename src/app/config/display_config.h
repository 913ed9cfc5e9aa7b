// The start-up display settings. The same record is the applet record: the applet's own
// display settings and text fields are read into it, and native code reaches it through the
// registry field "applet".
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tembrovia {

// Display modes of the first display.
enum DisplayMode : int32_t {
  kDisplayModeNotSet = 0,
  kDisplayModeWindow = 1,
  kDisplayModeFullScreen = 2,
  kDisplayModeOwnScreen = 5,
  kDisplayModeFakeFullScreen = 6,
};

// Style and state bits, shared by the start-up settings and the display records.
enum DisplayFlag : int32_t {
  kDisplayBorderless = 0x1,
  kDisplaySizeable = 0x2,
  kDisplayFixed = 0x4,
  kDisplayNoModeSwitch = 0x8,
  kDisplayHidePointer = 0x10,
  kDisplayNoMinimize = 0x20,
  kDisplayAutoScale = 0x40,
  kDisplaySmoothScale = 0x80,
  kDisplayLayerScale = 0x100,
  kDisplayUseBGPic = 0x200,
  kDisplayActive = 0x400,
  kDisplayHidden = 0x800,
  kDisplayLayers = 0x1000,
  kDisplayUseQuartz = 0x2000,
  kDisplayNoClose = 0x4000,
  kDisplayKeepProportions = 0x8000,
  kDisplayFitScale = 0x10000,
  kDisplayKeepScreenOn = 0x40000,
};

enum BackfillMode : int32_t {
  kBackfillNone = 0,
  kBackfillColor = 1,
  kBackfillGradient = 2,
  kBackfillTexture = 3,
  kBackfillPicture = 4,
};

constexpr int32_t kPositionCentered = -100000;
constexpr int kApplicationTextCount = 5;
// Text fields of the applet hold at most this many characters.
constexpr size_t kMaxTextField = 255;

struct BackfillConfig {
  int32_t mode = kBackfillNone;
  int32_t startColor = -1;
  int32_t endColor = -1;
  std::string imageFile;       // BRUSHFILE
  int32_t brushId = -1;        // BRUSH, or the brush stored by the applet
  int32_t pictureX = kPositionCentered;
  int32_t pictureY = kPositionCentered;
  int32_t transparentColor = -1;
  bool scalePicture = false;
};

struct DisplayConfig {
  int32_t mode = kDisplayModeNotSet;
  int32_t styleFlags = 0;
  // Style bits that the command line or the settings file set: merged into the applet's
  // display records where a record did not set them itself.
  int32_t givenStyleFlags = 0;
  int32_t hideTitleBar = -1;
  int32_t screenWidth = -1;
  int32_t screenHeight = -1;
  int32_t screenDepth = -1;
  int32_t scaleWidth = 0;   // 0 not set; -n means n percent
  int32_t scaleHeight = 0;
  BackfillConfig backfill;

  // Applet settings beyond the display.
  std::array<std::string, kApplicationTextCount> applicationTexts;
  // Set by the applet: display options of the command line are then ignored.
  bool locked = false;

  // Back to the start-up defaults of every display setting; the text fields stay.
  void ResetDisplaySettings();
};

}  // namespace tembrovia
