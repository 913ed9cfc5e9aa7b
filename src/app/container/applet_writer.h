// Writes applet containers: each call appends one section in call order, laid out by the
// same tables the reader uses. The data area (object names and files kept there) comes first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/config/display_config.h"
#include "app/container/applet_format.h"
#include "app/container/applet_records.h"

namespace tembrovia {

// An object to write. With data, the data goes into the data area and the record points at
// it; without, the record's own data offset and size are written as they are.
struct PackedObject {
  AppletObject record;
  std::optional<std::vector<uint8_t>> data;
};

// A linked file: its data follows its entry, or lies in the data area.
struct PackedFile {
  std::string name;
  std::vector<uint8_t> data;
  bool inDataArea = false;
};

class ContainerBuilder {
 public:
  // Object records are written in the layout of the last version section written so far
  // (the oldest layout before any).
  void Version(AppletVersion version);
  void Script(const std::vector<uint8_t>& chunk);
  void Objects(const std::vector<PackedObject>& objects);
  void DisplaySize(int32_t width, int32_t height);
  void Title(const std::string& title);
  void DisplayColor(int32_t color);
  void DisplayPosition(int32_t x, int32_t y);
  void HostSize();
  void LineMap(const std::vector<LineMapEntry>& entries, bool withScriptFiles);
  void Labels(const std::vector<AppletLabel>& labels);
  void ApplicationText(int index, const std::string& text);  // index 0..4
  void Mode(uint8_t mode);
  void Backfill(const BackfillConfig& backfill);  // by backfill.mode
  void StyleFlag(SectionType type, bool set);     // one of kStyleSections
  void HideTitleBar(uint8_t value);
  void ScreenSize(int32_t width, int32_t height);
  void ScreenDepth(uint8_t depth);
  void LinkedFiles(const std::vector<PackedFile>& files);
  void Scaling(bool layer, int32_t width, int32_t height, bool smooth);
  void LockSettings();
  void UserConstants(const std::vector<UserConstant>& constants);
  // Any bytes as a section of the given type (for damaged or future containers).
  void RawSection(uint8_t type, const std::vector<uint8_t>& payload);

  // The plain container.
  std::vector<uint8_t> Build() const;

 private:
  class Out;
  int32_t AddToDataArea(const std::vector<uint8_t>& bytes);
  void WriteObject(Out& out, const PackedObject& object);

  AppletVersion version_;
  std::vector<uint8_t> dataArea_;
  std::vector<uint8_t> sections_;
};

// The compressed form of a plain container.
std::vector<uint8_t> CompressContainer(const std::vector<uint8_t>& plain);

// A copy of the player's file with the container appended and its marker pointing at it.
// Nullopt when the player has no single unpatched marker record or is too large.
std::optional<std::vector<uint8_t>> AppendToPlayer(const std::vector<uint8_t>& player,
                                                   const std::vector<uint8_t>& container);

}  // namespace tembrovia
