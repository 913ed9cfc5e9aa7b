#include "app/container/applet_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "app/container/marker_record.h"
#include "app/container/record_layout.h"

namespace tembrovia {
namespace {

// The data area's content begins after the magic, its type byte and its length.
constexpr int32_t kDataAreaStart = 4 + 1 + 4;

}  // namespace

class ContainerBuilder::Out {
 public:
  explicit Out(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  void Byte(uint32_t value) { bytes_.push_back(static_cast<uint8_t>(value)); }
  void Int16(int32_t value) {
    Byte(static_cast<uint32_t>(value) >> 8);
    Byte(static_cast<uint32_t>(value));
  }
  void Int32(int32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) Byte(static_cast<uint32_t>(value) >> shift);
  }
  void Double(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 56; shift >= 0; shift -= 8) Byte(static_cast<uint32_t>(bits >> shift));
  }
  void Bytes(const std::vector<uint8_t>& data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
  void CString(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    Byte(0);
  }
  void Text16(const std::string& text) {
    Int16(static_cast<int32_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
  }

 private:
  std::vector<uint8_t>& bytes_;
};

int32_t ContainerBuilder::AddToDataArea(const std::vector<uint8_t>& bytes) {
  int32_t offset = kDataAreaStart + static_cast<int32_t>(dataArea_.size());
  dataArea_.insert(dataArea_.end(), bytes.begin(), bytes.end());
  return offset;
}

void ContainerBuilder::Version(AppletVersion version) {
  version_ = version;
  Out out(sections_);
  out.Byte(kSectionVersion);
  out.Byte(static_cast<uint32_t>(version.major));
  out.Byte(static_cast<uint32_t>(version.minor));
}

void ContainerBuilder::Script(const std::vector<uint8_t>& chunk) {
  Out out(sections_);
  out.Byte(kSectionScript);
  out.Int32(static_cast<int32_t>(chunk.size()));
  out.Bytes(chunk);
}

void ContainerBuilder::WriteObject(Out& out, const PackedObject& object) {
  const AppletObject& record = object.record;
  out.Byte(record.type);
  out.Int32(record.id);
  if (record.name.empty()) {
    out.Int32(0);
    out.Int32(0);
  } else {
    std::vector<uint8_t> name(record.name.begin(), record.name.end());
    name.push_back(0);
    out.Int32(AddToDataArea(name));
    out.Int32(static_cast<int32_t>(name.size()));
  }
  if (object.data) {
    out.Int32(AddToDataArea(*object.data));
    out.Int32(static_cast<int32_t>(object.data->size()));
  } else {
    out.Int32(record.dataOffset);
    out.Int32(record.dataSize);
  }
  out.Int32(record.extra);
  out.Int32(record.flag);
  out.Int32(record.sourceLine);

  const ObjectLayout* layout = FindObjectLayout(record.type);
  if (!layout) return;
  for (const FieldSpec& field : layout->fields) {
    if (version_ < field.since) continue;
    switch (field.codec) {
      case FieldCodec::kByte:
        out.Byte(static_cast<uint32_t>(record.*field.member));
        break;
      case FieldCodec::kInt16:
        out.Int16(record.*field.member);
        break;
      case FieldCodec::kInt32:
        out.Int32(record.*field.member);
        break;
      case FieldCodec::kGradient:
        out.Byte(static_cast<uint32_t>(record.gradient.style));
        for (const GradientField& fraction : kGradientFractions) {
          out.Int32(record.gradient.*fraction.member);
        }
        out.Byte(static_cast<uint32_t>(record.gradient.stops.size()));
        for (const auto& [color, position] : record.gradient.stops) {
          out.Int32(color);
          out.Int32(position);
        }
        break;
      case FieldCodec::kDragRegions:
      case FieldCodec::kSizeRegions: {
        const std::vector<RegionRecord>& regions =
            field.codec == FieldCodec::kDragRegions ? record.dragRegions : record.sizeRegions;
        out.Int32(static_cast<int32_t>(regions.size()));
        for (const RegionRecord& region : regions) {
          for (int32_t RegionRecord::*member : kRegionFields) out.Int32(region.*member);
        }
        break;
      }
      case FieldCodec::kTitle:
        out.Text16(record.title);
        break;
      case FieldCodec::kPubScreen:
        out.Text16(record.pubScreen);
        break;
    }
  }
}

void ContainerBuilder::Objects(const std::vector<PackedObject>& objects) {
  Out out(sections_);
  out.Byte(kSectionObjects);
  out.Int32(static_cast<int32_t>(objects.size()));
  for (const PackedObject& object : objects) WriteObject(out, object);
}

void ContainerBuilder::DisplaySize(int32_t width, int32_t height) {
  Out out(sections_);
  out.Byte(kSectionDisplaySize);
  out.Int16(width);
  out.Int16(height);
}

void ContainerBuilder::Title(const std::string& title) {
  Out out(sections_);
  out.Byte(kSectionTitle);
  out.Text16(title);
}

void ContainerBuilder::DisplayColor(int32_t color) {
  Out out(sections_);
  out.Byte(kSectionDisplayColor);
  out.Int32(color);
}

void ContainerBuilder::DisplayPosition(int32_t x, int32_t y) {
  Out out(sections_);
  out.Byte(kSectionDisplayPosition);
  out.Int32(x);
  out.Int32(y);
}

void ContainerBuilder::HostSize() { sections_.push_back(kSectionHostSize); }

void ContainerBuilder::LineMap(const std::vector<LineMapEntry>& entries, bool withScriptFiles) {
  Out out(sections_);
  out.Byte(withScriptFiles ? kSectionScriptLineMap : kSectionLineMap);
  out.Int32(static_cast<int32_t>(entries.size()));
  for (const LineMapEntry& entry : entries) {
    out.Int32(entry.firstLine);
    out.Int32(entry.lastLine);
    out.Int32(entry.firstSourceLine);
    out.CString(entry.sourceFile);
    if (withScriptFiles) out.CString(entry.scriptFile);
  }
}

void ContainerBuilder::Labels(const std::vector<AppletLabel>& labels) {
  Out out(sections_);
  out.Byte(kSectionLabels);
  out.Int32(static_cast<int32_t>(labels.size()));
  for (const AppletLabel& label : labels) {
    out.Int32(label.instruction);
    out.CString(label.name);
  }
}

void ContainerBuilder::ApplicationText(int index, const std::string& text) {
  Out out(sections_);
  out.Byte(static_cast<uint32_t>(kSectionFirstText + index));
  out.CString(text);
}

void ContainerBuilder::Mode(uint8_t mode) {
  Out out(sections_);
  out.Byte(kSectionMode);
  out.Byte(mode);
}

void ContainerBuilder::Backfill(const BackfillConfig& backfill) {
  Out out(sections_);
  out.Byte(kSectionBackfill);
  out.Byte(static_cast<uint32_t>(backfill.mode));
  switch (backfill.mode) {
    case kBackfillColor:
      out.Int32(backfill.startColor);
      break;
    case kBackfillGradient:
      out.Int32(backfill.startColor);
      out.Int32(backfill.endColor);
      break;
    case kBackfillTexture:
      out.Int32(backfill.brushId);
      break;
    case kBackfillPicture:
      out.Int32(backfill.brushId);
      out.Int32(backfill.pictureX);
      out.Int32(backfill.pictureY);
      out.Int32(backfill.startColor);
      out.Int32(backfill.endColor);
      if (version_ > kBackfillScaleAfter) out.Byte(backfill.scalePicture ? 1 : 0);
      break;
    default:
      break;
  }
}

void ContainerBuilder::StyleFlag(SectionType type, bool set) {
  Out out(sections_);
  out.Byte(type);
  out.Byte(set ? 1 : 0);
}

void ContainerBuilder::HideTitleBar(uint8_t value) {
  Out out(sections_);
  out.Byte(kSectionHideTitleBar);
  out.Byte(value);
}

void ContainerBuilder::ScreenSize(int32_t width, int32_t height) {
  Out out(sections_);
  out.Byte(kSectionScreenSize);
  out.Int16(width);
  out.Int16(height);
}

void ContainerBuilder::ScreenDepth(uint8_t depth) {
  Out out(sections_);
  out.Byte(kSectionScreenDepth);
  out.Byte(depth);
}

void ContainerBuilder::LinkedFiles(const std::vector<PackedFile>& files) {
  Out out(sections_);
  out.Byte(kSectionLinkedFiles);
  out.Int32(static_cast<int32_t>(files.size()));
  out.Int32(0);
  for (const PackedFile& file : files) {
    out.CString(file.name);
    if (file.inDataArea) {
      out.Int32(kLinkedFileElsewhere);
      out.Int32(static_cast<int32_t>(file.data.size()));
      out.Int32(AddToDataArea(file.data));
    } else {
      out.Int32(static_cast<int32_t>(file.data.size()));
      out.Bytes(file.data);
    }
  }
}

void ContainerBuilder::Scaling(bool layer, int32_t width, int32_t height, bool smooth) {
  Out out(sections_);
  out.Byte(kSectionScaling);
  out.Byte(layer ? 1 : 0);
  out.Int32(width);
  out.Int32(height);
  out.Byte(smooth ? 1 : 0);
}

void ContainerBuilder::LockSettings() { sections_.push_back(kSectionLockSettings); }

void ContainerBuilder::UserConstants(const std::vector<UserConstant>& constants) {
  Out out(sections_);
  out.Byte(kSectionUserConstants);
  for (const UserConstant& constant : constants) {
    out.CString(constant.name);
    out.Byte(constant.isString ? kUserConstantString : kUserConstantNumber);
    if (constant.isString) {
      out.CString(constant.text);
    } else {
      out.Double(constant.number);
    }
  }
  out.Byte(0);  // the empty name ends the list
}

void ContainerBuilder::RawSection(uint8_t type, const std::vector<uint8_t>& payload) {
  sections_.push_back(type);
  sections_.insert(sections_.end(), payload.begin(), payload.end());
}

std::vector<uint8_t> ContainerBuilder::Build() const {
  std::vector<uint8_t> bytes;
  Out out(bytes);
  out.Int32(static_cast<int32_t>(kPlainContainerMagic));
  if (!dataArea_.empty()) {
    out.Byte(kSectionData);
    out.Int32(static_cast<int32_t>(dataArea_.size()));
    out.Bytes(dataArea_);
  }
  out.Bytes(sections_);
  return bytes;
}

std::vector<uint8_t> CompressContainer(const std::vector<uint8_t>& plain) {
  uLongf size = compressBound(static_cast<uLong>(plain.size()));
  std::vector<uint8_t> bytes(kCompressedHeaderSize + size);
  compress2(bytes.data() + kCompressedHeaderSize, &size, plain.data(),
            static_cast<uLong>(plain.size()), Z_BEST_COMPRESSION);
  bytes.resize(kCompressedHeaderSize + size);
  // After the magic, the size of the plain container (the reader does not need it).
  uint32_t words[2] = {kCompressedContainerMagic, static_cast<uint32_t>(plain.size())};
  for (int w = 0; w < 2; ++w) {
    for (int i = 0; i < 4; ++i) bytes[w * 4 + i] = static_cast<uint8_t>(words[w] >> (24 - 8 * i));
  }
  return bytes;
}

std::optional<std::vector<uint8_t>> AppendToPlayer(const std::vector<uint8_t>& player,
                                                   const std::vector<uint8_t>& container) {
  std::optional<size_t> marker = FindMarkerRecord(player);
  if (!marker || player.size() >= kNoAppendedApplet) return std::nullopt;
  MarkerRecord record;
  std::copy_n(player.begin() + static_cast<std::ptrdiff_t>(*marker), kMarkerRecordSize,
              record.begin());
  if (AppendedAppletOffset(record)) return std::nullopt;  // already carries an applet

  std::vector<uint8_t> program = player;
  PatchMarkerOffset(program, *marker, static_cast<uint32_t>(player.size()));
  program.insert(program.end(), container.begin(), container.end());
  return program;
}

}  // namespace tembrovia
