// The start-up records: what reading a container yields, as plain data. The driver hands
// them on: the chunk to the virtual machine, the labels and user constants to the registry,
// the linked files to the file layer, the objects to the preload, the line map to the error
// report.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/container/applet_format.h"

namespace tembrovia {

// Fractions are stored in millionths.
struct GradientRecord {
  int32_t style = 2;
  int32_t centerX = 500000;
  int32_t centerY = 500000;
  int32_t balance = 500000;
  int32_t border = 0;
  std::vector<std::pair<int32_t, int32_t>> stops;  // colour, position

  bool operator==(const GradientRecord&) const = default;
};

struct RegionRecord {
  int32_t type = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;

  bool operator==(const RegionRecord&) const = default;
};

// One object to preload. Which of the type-specific fields apply depends on the type
// (record_layout.h); display records use the display fields.
struct AppletObject {
  uint8_t type = kObjectBGPic;
  int32_t id = 0;
  std::string name;         // the file name or key given at compile time
  int32_t dataOffset = 0;   // applet offset of linked data
  int32_t dataSize = 0;     // 0: not linked, the file is opened by name
  int32_t extra = 0;        // transparency, font size, plugin version
  int32_t flag = 0;         // load alpha, font engine and no-cache, plugin revision
  int32_t sourceLine = 0;   // the line that declared the object

  int32_t width = 0;
  int32_t height = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t globalAlpha = -1;
  int32_t hardware = 0;
  int32_t fromDisk = 0;
  int32_t frames = 0;
  int32_t framesPerRow = 0;
  int32_t x1 = 0;
  int32_t y1 = 0;
  int32_t x2 = 0;
  int32_t y2 = 0;

  int32_t fillStyle = 0;
  int32_t fillColor = 0;  // also a display's colour and the gradient's start colour
  int32_t gradientEndColor = 0;
  int32_t gradientAngle = 0;
  int32_t textureBrush = 0;
  int32_t textureX = 0;
  int32_t textureY = 0;
  GradientRecord gradient;

  int32_t bgpicId = 0;
  int32_t flags = 0;
  int32_t givenFlags = 0;
  int32_t scaleWidth = 0;
  int32_t scaleHeight = 0;
  std::vector<RegionRecord> dragRegions;
  std::vector<RegionRecord> sizeRegions;
  std::string title;
  std::string pubScreen;

  bool operator==(const AppletObject&) const = default;
};

// Display 1 when the applet declares none: 640 x 480, centred, black, titled "Tembrovia".
AppletObject DefaultDisplayRecord();

struct AppletLinkedFile {
  std::string name;
  int64_t offset = 0;  // applet offset of the data
  int64_t size = 0;

  bool operator==(const AppletLinkedFile&) const = default;
};

struct LineMapEntry {
  int32_t firstLine = 0;
  int32_t lastLine = 0;
  int32_t firstSourceLine = 0;
  std::string sourceFile;
  std::string scriptFile;  // empty in the form without script files

  bool operator==(const LineMapEntry&) const = default;
};

struct AppletLabel {
  std::string name;
  int32_t instruction = 0;

  bool operator==(const AppletLabel&) const = default;
};

struct UserConstant {
  std::string name;
  bool isString = false;
  std::string text;
  double number = 0;

  bool operator==(const UserConstant&) const = default;
};

struct AppletRecords {
  // The file that holds the plain container (a temporary file for a compressed one) and
  // where in it the container begins.
  std::string containerPath;
  uint64_t appletOffset = 0;

  // Without a version section the records are read in the oldest layout (no gated fields).
  bool hasVersion = false;
  AppletVersion version;

  std::vector<AppletObject> objects;  // file order; display records included
  std::vector<AppletLinkedFile> linkedFiles;
  std::vector<LineMapEntry> lineMap;
  std::vector<AppletLabel> labels;
  std::vector<UserConstant> userConstants;

  // The title section, kept for a default display record made later.
  bool hasDefaultTitle = false;
  std::string defaultTitle;
  // Display 1 takes the size the host reports and gets the option private2.
  bool hostSizedDisplay = false;

  std::vector<uint8_t> chunk;  // the compiled script
};

}  // namespace tembrovia
