// The applet container: magics, section types, object types and format versions. Reader and
// writer both build on these, together with the record layouts of record_layout.h.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace tembrovia {

constexpr uint32_t kPlainContainerMagic = 0x56584100;       // "VXA" and a zero byte
constexpr uint32_t kCompressedContainerMagic = 0x56585A00;  // "VXZ" and a zero byte
// Magic, then four bytes the reader does not interpret, then the zlib stream.
constexpr uint64_t kCompressedHeaderSize = 8;

enum SectionType : uint8_t {
  kSectionData = 0,
  kSectionScript = 1,
  kSectionObjects = 2,
  kSectionDisplaySize = 3,
  kSectionTitle = 4,
  kSectionDisplayColor = 5,
  kSectionDisplayPosition = 6,
  kSectionHostSize = 7,
  kSectionLineMap = 8,
  kSectionLabels = 9,
  kSectionVersion = 10,
  kSectionFirstText = 11,  // 11..15: the five application text fields
  kSectionLastText = 15,
  kSectionMode = 16,
  kSectionBackfill = 17,
  kSectionBorderless = 18,
  kSectionFixed = 19,
  kSectionSizeable = 20,
  kSectionHideTitleBar = 21,
  kSectionScreenSize = 22,
  kSectionScreenDepth = 23,
  kSectionHidePointer = 24,
  kSectionNoModeSwitch = 25,
  kSectionLinkedFiles = 26,
  kSectionScriptLineMap = 27,
  kSectionScaling = 28,
  kSectionLockSettings = 29,
  kSectionNoMinimize = 30,
  kSectionUserConstants = 31,
};
constexpr uint8_t kLastSectionType = 31;

// The one-byte sections that set a style flag of the default display record.
struct StyleSection {
  SectionType type;
  int32_t flag;
  const char* name;  // manifest keyword
};
inline constexpr StyleSection kStyleSections[] = {
    {kSectionBorderless, 0x1, "borderless"},   {kSectionFixed, 0x4, "fixed"},
    {kSectionSizeable, 0x2, "sizeable"},       {kSectionHidePointer, 0x10, "hidepointer"},
    {kSectionNoModeSwitch, 0x8, "nomodeswitch"}, {kSectionNoMinimize, 0x20, "nohide"},
};

enum AppletObjectType : uint8_t {
  kObjectBGPic = 0,
  kObjectBrush = 1,
  kObjectAnim = 2,
  kObjectMusic = 3,
  kObjectSample = 4,
  kObjectButton = 5,
  kObjectKeyHandler = 6,
  kObjectSprite = 7,
  kObjectFile = 8,
  kObjectFont = 9,
  kObjectDisplay = 10,
  kObjectVideo = 11,
  kObjectPluginRequirement = 12,
};
constexpr uint8_t kLastObjectType = 12;

// A linked file whose size is this value keeps its data in the data area.
constexpr int32_t kLinkedFileElsewhere = -1;

// User constants: kind 0 is a number, any other kind a string.
constexpr uint8_t kUserConstantNumber = 0;
constexpr uint8_t kUserConstantString = 1;

// Backfill kinds of the backfill section; the values are the backfill modes.
constexpr uint8_t kLastBackfillKind = 4;

struct AppletVersion {
  int major = 0;
  int minor = 0;

  auto operator<=>(const AppletVersion&) const = default;
  std::string ToString() const { return std::to_string(major) + "." + std::to_string(minor); }
};

// The newest format this player reads.
constexpr AppletVersion kNewestAppletVersion{5, 2};
// Picture backfills carry a scale flag after this version.
constexpr AppletVersion kBackfillScaleAfter{3, 1};

// Names and paths read from the container keep at most this many bytes.
constexpr size_t kMaxStoredName = 1024;
// The compiled script is held in memory; a larger script section is refused (ERR_MEM).
constexpr int32_t kMaxScriptSize = 256 << 20;
// A user constant's string keeps at most this many bytes.
constexpr size_t kMaxConstantText = 1 << 20;

}  // namespace tembrovia
