#include "container_listing.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "app/container/applet_format.h"
#include "app/container/applet_open.h"
#include "app/container/marker_record.h"
#include "app/container/record_layout.h"
#include "asm/assembler.h"
#include "common/format_error.h"
#include "common/error_state.h"

namespace tembrovia {
namespace {

// The listing inflates into memory; a container that inflates to more is refused.
constexpr size_t kInflateLimit = size_t{1} << 30;

constexpr const char* kSectionNames[kLastSectionType + 1] = {
    "data",         "script",        "objects",      "display size", "title",
    "display color", "display position", "host size", "line map",     "labels",
    "version",      "text 1",        "text 2",       "text 3",       "text 4",
    "text 5",       "mode",          "backfill",     "borderless",   "fixed",
    "sizeable",     "hide title bar", "screen size", "screen depth", "hide pointer",
    "no mode switch", "linked files", "line map with scripts", "scaling", "lock settings",
    "no minimize",  "user constants"};

uint32_t BigEndian32(std::span<const uint8_t> bytes, size_t at) {
  return (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
         (uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

bool HasContainerMagic(std::span<const uint8_t> bytes) {
  if (bytes.size() < 4) return false;
  const uint32_t magic = BigEndian32(bytes, 0);
  return magic == kPlainContainerMagic || magic == kCompressedContainerMagic;
}

// Where an appended applet begins in a player program; nullopt for anything else.
std::optional<uint64_t> AppendedOffset(std::span<const uint8_t> bytes) {
  std::optional<size_t> marker = FindMarkerRecord(bytes);
  if (!marker) return std::nullopt;
  MarkerRecord record;
  std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(*marker), kMarkerRecordSize, record.begin());
  std::optional<uint64_t> offset = AppendedAppletOffset(record);
  if (!offset || *offset >= bytes.size()) return std::nullopt;
  return offset;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Hex(int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "$%llX", static_cast<unsigned long long>(value & 0xFFFFFFFF));
  return text;
}

// One object in the manifest's own form, so that a listing can be packed again.
std::string ObjectLine(const AppletObject& object, AppletVersion version) {
  const ObjectLayout* layout = FindObjectLayout(object.type);
  std::string line = std::string(layout ? layout->name : "?") + " " + std::to_string(object.id) +
                     " " + Quoted(object.name) + " line=" + std::to_string(object.sourceLine);
  if (object.type != kObjectDisplay) {
    line += " extra=" + std::to_string(object.extra) + " flag=" + std::to_string(object.flag);
  }
  if (object.dataSize != 0) {
    line += " dataoffset=" + std::to_string(object.dataOffset) +
            " datasize=" + std::to_string(object.dataSize);
  }
  if (!layout) return line;
  for (const FieldSpec& field : layout->fields) {
    if (version < field.since) continue;
    switch (field.codec) {
      case FieldCodec::kByte:
      case FieldCodec::kInt16:
      case FieldCodec::kInt32:
        line += std::string(" ") + field.key + "=" + std::to_string(object.*field.member);
        break;
      case FieldCodec::kGradient:
        line += " gradientstyle=" + std::to_string(object.gradient.style);
        for (const GradientField& fraction : kGradientFractions) {
          line += std::string(" ") + fraction.key + "=" +
                  std::to_string(object.gradient.*fraction.member / 1e6);
        }
        for (const auto& [color, position] : object.gradient.stops) {
          line += " gradientstop=" + Hex(color) + ":" + std::to_string(position / 1e6);
        }
        break;
      case FieldCodec::kDragRegions:
      case FieldCodec::kSizeRegions: {
        const bool drag = field.codec == FieldCodec::kDragRegions;
        for (const RegionRecord& r : drag ? object.dragRegions : object.sizeRegions) {
          line += std::string(" ") + field.key + "=" + std::to_string(r.x) + "," +
                  std::to_string(r.y) + "," + std::to_string(r.width) + "," +
                  std::to_string(r.height) + "," + std::to_string(r.type);
        }
        break;
      }
      case FieldCodec::kTitle:
        line += " title=" + Quoted(object.title);
        break;
      case FieldCodec::kPubScreen:
        if (!object.pubScreen.empty()) line += " pubscreen=" + Quoted(object.pubScreen);
        break;
    }
  }
  return line;
}

void AppendDisplaySettings(std::string& out, const DisplayConfig& display) {
  out += "display settings:\n";
  out += "  mode " + std::to_string(display.mode) + ", style flags " + Hex(display.styleFlags) +
         " (given " + Hex(display.givenStyleFlags) + "), hide title bar " +
         std::to_string(display.hideTitleBar) + "\n";
  out += "  screen " + std::to_string(display.screenWidth) + " x " +
         std::to_string(display.screenHeight) + " x " + std::to_string(display.screenDepth) +
         ", scaling " + std::to_string(display.scaleWidth) + " x " +
         std::to_string(display.scaleHeight) + (display.locked ? ", locked" : "") + "\n";
  const BackfillConfig& backfill = display.backfill;
  out += "  backfill " + std::to_string(backfill.mode) + ", colours " + Hex(backfill.startColor) +
         " " + Hex(backfill.endColor) + ", brush " + std::to_string(backfill.brushId) + " at " +
         std::to_string(backfill.pictureX) + "," + std::to_string(backfill.pictureY) +
         (backfill.scalePicture ? ", scaled" : "") + "\n";
  for (size_t i = 0; i < display.applicationTexts.size(); ++i) {
    if (!display.applicationTexts[i].empty()) {
      out += "  text " + std::to_string(i + 1) + " " + Quoted(display.applicationTexts[i]) + "\n";
    }
  }
}

void AppendRecords(std::string& out, const AppletRecords& records) {
  const AppletVersion version = records.hasVersion ? records.version : AppletVersion{};
  if (!records.objects.empty()) out += "objects:\n";
  for (const AppletObject& object : records.objects) out += "  " + ObjectLine(object, version) + "\n";
  if (!records.linkedFiles.empty()) out += "linked files:\n";
  for (const AppletLinkedFile& file : records.linkedFiles) {
    out += "  " + Quoted(file.name) + " at " + std::to_string(file.offset) + ", " +
           std::to_string(file.size) + " bytes\n";
  }
  if (!records.lineMap.empty()) out += "line map:\n";
  for (const LineMapEntry& entry : records.lineMap) {
    out += "  lines " + std::to_string(entry.firstLine) + ".." + std::to_string(entry.lastLine) +
           " from " + Quoted(entry.sourceFile) + " line " + std::to_string(entry.firstSourceLine);
    if (!entry.scriptFile.empty()) out += " (script " + Quoted(entry.scriptFile) + ")";
    out += "\n";
  }
  if (!records.labels.empty()) out += "labels:\n";
  for (const AppletLabel& label : records.labels) {
    out += "  " + label.name + " " + std::to_string(label.instruction) + "\n";
  }
  if (!records.userConstants.empty()) out += "user constants:\n";
  for (const UserConstant& constant : records.userConstants) {
    char number[32];
    std::snprintf(number, sizeof number, "%.17g", constant.number);
    out += "  #" + constant.name + " " + (constant.isString ? Quoted(constant.text) : number) + "\n";
  }
}

}  // namespace

bool LooksLikeContainer(std::span<const uint8_t> bytes) {
  return HasContainerMagic(bytes) || AppendedOffset(bytes).has_value();
}

ContainerListing ListContainer(std::span<const uint8_t> bytes, std::string_view path) {
  ContainerListing listing;
  std::string& out = listing.text;
  out += "container " + std::string(path) + "\n";
  std::span<const uint8_t> container = bytes;
  if (!HasContainerMagic(bytes)) {
    std::optional<uint64_t> offset = AppendedOffset(bytes);
    if (!offset) {
      listing.error = "no container and no applet appended";
      return listing;
    }
    container = bytes.subspan(static_cast<size_t>(*offset));
    out += "appended to a player program at offset " + std::to_string(*offset) + "\n";
  }
  const bool compressed = BigEndian32(container, 0) == kCompressedContainerMagic;
  out += compressed ? "compressed (VXZ); sections as inflated\n" : "plain (VXA)\n";

  AppletRecords records;
  DisplayConfig display;
  std::string sections = "sections:\n";
  auto observer = [&sections](uint8_t type, uint64_t begin, uint64_t end) {
    char line[96];
    std::snprintf(line, sizeof line, "  @%-8llu %2u %-22s %llu bytes\n",
                  static_cast<unsigned long long>(begin), type, kSectionNames[type],
                  static_cast<unsigned long long>(end - begin));
    sections += line;
  };
  AppletStatus status = ReadContainerBytes(container, path, kInflateLimit, records, display, observer);
  out += sections;
  if (status) {
    SetErrorText(status.text);
    listing.error = FormatError(status.code);
    return listing;
  }
  if (records.hasVersion) out += "version " + records.version.ToString() + "\n";
  AppendRecords(out, records);
  AppendDisplaySettings(out, display);

  std::string chunk(records.chunk.begin(), records.chunk.end());
  DisassemblyResult script = Disassemble(chunk);
  if (!script.ok()) {
    listing.error = "script: " + script.error;
    return listing;
  }
  out += "script (" + std::to_string(chunk.size()) + " bytes):\n" + script.listing;
  return listing;
}

}  // namespace tembrovia
