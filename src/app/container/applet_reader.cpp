#include "app/container/applet_reader.h"

#include <algorithm>

#include "app/container/record_layout.h"

namespace tembrovia {
namespace {

#define TRY(expression)                                  \
  do {                                                   \
    if (ErrorCode try_error = (expression)) return try_error; \
  } while (0)

class SectionReader {
 public:
  SectionReader(ContainerCursor& in, AppletRecords& records, DisplayConfig& display,
                const SectionObserver& observer)
      : in_(in), records_(records), display_(display), observer_(observer) {}

  AppletStatus ReadAll() {
    while (true) {
      const uint64_t begin = in_.Position();
      uint8_t type;
      if (ErrorCode error = in_.Byte(type)) return {error, {}};
      if (type > kLastSectionType) return {ERR_UNKNOWNSEC, {}};
      if (type == kSectionVersion) {
        if (AppletStatus status = ReadVersion()) return status;
      } else if (ErrorCode error = ReadSection(static_cast<SectionType>(type))) {
        return {error, {}};
      }
      if (observer_) observer_(type, begin, in_.Position());
      if (type == kSectionScript) return {};
    }
  }

 private:
  AppletStatus ReadVersion() {
    uint8_t major, minor;
    if (ErrorCode error = in_.Byte(major)) return {error, {}};
    if (ErrorCode error = in_.Byte(minor)) return {error, {}};
    AppletVersion version{major, minor};
    if (version > kNewestAppletVersion) return {ERR_APPLETVERSION, version.ToString()};
    records_.version = version;
    records_.hasVersion = true;
    return {};
  }

  ErrorCode ReadSection(SectionType type) {
    int32_t a, b;
    uint8_t byte;
    switch (type) {
      case kSectionData:
        TRY(in_.Int32(a));
        return in_.Skip(a);
      case kSectionScript:
        TRY(in_.Int32(a));
        if (a > kMaxScriptSize && in_.Contains(static_cast<int64_t>(in_.Position()), a)) {
          return ERR_MEM;
        }
        return in_.Bytes(a, records_.chunk);
      case kSectionObjects:
        return ReadObjects();
      case kSectionDisplaySize:
        TRY(in_.Int16(a));
        TRY(in_.Int16(b));
        DefaultDisplay().width = a;
        DefaultDisplay().height = b;
        return ERR_NONE;
      case kSectionTitle:
        TRY(in_.Text16(records_.defaultTitle, kMaxTextField));
        records_.hasDefaultTitle = true;
        if (defaultDisplay_ >= 0) DefaultDisplay().title = records_.defaultTitle;
        return ERR_NONE;
      case kSectionDisplayColor:
        TRY(in_.Int32(a));
        DefaultDisplay().fillColor = a;
        return ERR_NONE;
      case kSectionDisplayPosition:
        TRY(in_.Int32(a));
        TRY(in_.Int32(b));
        DefaultDisplay().x = a;
        DefaultDisplay().y = b;
        return ERR_NONE;
      case kSectionHostSize:
        records_.hostSizedDisplay = true;
        return ERR_NONE;
      case kSectionLineMap:
      case kSectionScriptLineMap:
        return ReadLineMap(type == kSectionScriptLineMap);
      case kSectionLabels:
        return ReadLabels();
      case kSectionMode:
        TRY(in_.Byte(byte));
        display_.mode = byte;
        return ERR_NONE;
      case kSectionBackfill:
        return ReadBackfill();
      case kSectionHideTitleBar:
        TRY(in_.Byte(byte));
        display_.hideTitleBar = byte;
        return ERR_NONE;
      case kSectionScreenSize:
        TRY(in_.Int16(a));
        TRY(in_.Int16(b));
        display_.screenWidth = a;
        display_.screenHeight = b;
        return ERR_NONE;
      case kSectionScreenDepth:
        TRY(in_.Byte(byte));
        display_.screenDepth = byte;
        return ERR_NONE;
      case kSectionLinkedFiles:
        return ReadLinkedFiles();
      case kSectionScaling:
        return ReadScaling();
      case kSectionLockSettings:
        display_.ResetDisplaySettings();
        display_.locked = true;
        return ERR_NONE;
      case kSectionUserConstants:
        return ReadUserConstants();
      case kSectionVersion:
        return ERR_NONE;  // handled by ReadVersion
      default:
        break;
    }
    if (type >= kSectionFirstText && type <= kSectionLastText) {
      return in_.CString(display_.applicationTexts[type - kSectionFirstText], kMaxTextField);
    }
    for (const StyleSection& style : kStyleSections) {
      if (style.type != type) continue;
      TRY(in_.Byte(byte));
      AppletObject& record = DefaultDisplay();
      record.givenFlags |= style.flag;
      record.flags = byte ? record.flags | style.flag : record.flags & ~style.flag;
      return ERR_NONE;
    }
    return ERR_UNKNOWNSEC;
  }

  // The display record that the display sections fill; the first of them makes it.
  AppletObject& DefaultDisplay() {
    if (defaultDisplay_ < 0) {
      AppletObject record = DefaultDisplayRecord();
      if (records_.hasDefaultTitle) record.title = records_.defaultTitle;
      records_.objects.push_back(std::move(record));
      defaultDisplay_ = static_cast<int>(records_.objects.size()) - 1;
    }
    return records_.objects[static_cast<size_t>(defaultDisplay_)];
  }

  ErrorCode ReadBackfill() {
    uint8_t kind;
    TRY(in_.Byte(kind));
    if (kind > kLastBackfillKind) return ERR_UNKNOWNSEC;
    BackfillConfig& backfill = display_.backfill;
    backfill.mode = kind;
    switch (kind) {
      case kBackfillColor:
        return in_.Int32(backfill.startColor);
      case kBackfillGradient:
        TRY(in_.Int32(backfill.startColor));
        return in_.Int32(backfill.endColor);
      case kBackfillTexture:
        backfill.imageFile.clear();
        return in_.Int32(backfill.brushId);
      case kBackfillPicture: {
        backfill.imageFile.clear();
        TRY(in_.Int32(backfill.brushId));
        TRY(in_.Int32(backfill.pictureX));
        TRY(in_.Int32(backfill.pictureY));
        TRY(in_.Int32(backfill.startColor));
        TRY(in_.Int32(backfill.endColor));
        if (records_.version > kBackfillScaleAfter) {
          uint8_t scale;
          TRY(in_.Byte(scale));
          backfill.scalePicture = scale != 0;
        }
        return ERR_NONE;
      }
      default:
        return ERR_NONE;
    }
  }

  ErrorCode ReadScaling() {
    uint8_t layer, smooth;
    int32_t width, height;
    TRY(in_.Byte(layer));
    TRY(in_.Int32(width));
    TRY(in_.Int32(height));
    TRY(in_.Byte(smooth));
    constexpr int32_t kScaling = kDisplayAutoScale | kDisplayLayerScale | kDisplaySmoothScale;
    AppletObject& record = DefaultDisplay();
    record.flags &= ~kScaling;
    record.flags |= layer ? kDisplayLayerScale : kDisplayAutoScale;
    if (smooth) record.flags |= kDisplaySmoothScale;
    record.givenFlags |= kScaling;
    record.scaleWidth = width;
    record.scaleHeight = height;
    return ERR_NONE;
  }

  ErrorCode ReadLinkedFiles() {
    int32_t count, ignored;
    TRY(in_.Int32(count));
    TRY(in_.Int32(ignored));
    for (int32_t i = 0; i < count; ++i) {
      AppletLinkedFile file;
      int32_t size;
      TRY(in_.CString(file.name, kMaxStoredName));
      TRY(in_.Int32(size));
      if (size == kLinkedFileElsewhere) {
        int32_t offset;
        TRY(in_.Int32(size));
        TRY(in_.Int32(offset));
        if (!in_.Contains(offset, size)) return ERR_UNEXPECTEDEOF;
        file.offset = offset;
      } else {
        file.offset = static_cast<int64_t>(in_.Position());
        TRY(in_.Skip(size));
      }
      file.size = size;
      records_.linkedFiles.push_back(std::move(file));
    }
    return ERR_NONE;
  }

  ErrorCode ReadLineMap(bool withScriptFiles) {
    int32_t count;
    TRY(in_.Int32(count));
    for (int32_t i = 0; i < count; ++i) {
      LineMapEntry entry;
      TRY(in_.Int32(entry.firstLine));
      TRY(in_.Int32(entry.lastLine));
      TRY(in_.Int32(entry.firstSourceLine));
      TRY(in_.CString(entry.sourceFile, kMaxStoredName));
      if (withScriptFiles) TRY(in_.CString(entry.scriptFile, kMaxStoredName));
      records_.lineMap.push_back(std::move(entry));
    }
    return ERR_NONE;
  }

  ErrorCode ReadLabels() {
    int32_t count;
    TRY(in_.Int32(count));
    for (int32_t i = 0; i < count; ++i) {
      AppletLabel label;
      TRY(in_.Int32(label.instruction));
      TRY(in_.CString(label.name, kMaxStoredName));
      records_.labels.push_back(std::move(label));
    }
    return ERR_NONE;
  }

  ErrorCode ReadUserConstants() {
    while (true) {
      UserConstant constant;
      TRY(in_.CString(constant.name, kMaxStoredName));
      if (constant.name.empty()) return ERR_NONE;
      uint8_t kind;
      TRY(in_.Byte(kind));
      constant.isString = kind != kUserConstantNumber;
      if (constant.isString) {
        TRY(in_.CString(constant.text, kMaxConstantText));
      } else {
        TRY(in_.Double(constant.number));
      }
      records_.userConstants.push_back(std::move(constant));
    }
  }

  ErrorCode ReadObjects() {
    int32_t count;
    TRY(in_.Int32(count));
    for (int32_t i = 0; i < count; ++i) {
      AppletObject record;
      TRY(ReadObject(record));
      records_.objects.push_back(std::move(record));
    }
    return ERR_NONE;
  }

  ErrorCode ReadObject(AppletObject& record) {
    uint8_t type;
    TRY(in_.Byte(type));
    const ObjectLayout* layout = FindObjectLayout(type);
    if (!layout) return ERR_UNKNOWNSEC;
    record.type = type;
    if (type == kObjectDisplay) record.fillStyle = kBackfillColor;

    int32_t nameOffset, nameLength;
    TRY(in_.Int32(record.id));
    TRY(in_.Int32(nameOffset));
    TRY(in_.Int32(nameLength));
    TRY(in_.Int32(record.dataOffset));
    TRY(in_.Int32(record.dataSize));
    TRY(in_.Int32(record.extra));
    TRY(in_.Int32(record.flag));
    TRY(in_.Int32(record.sourceLine));

    if (nameLength > 0) {
      if (!in_.Contains(nameOffset, nameLength)) return ERR_UNEXPECTEDEOF;
      std::vector<uint8_t> bytes;
      size_t kept = std::min<size_t>(static_cast<size_t>(nameLength), kMaxStoredName);
      TRY(in_.ReadAt(nameOffset, kept, bytes));
      auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
      record.name.assign(bytes.begin(), end);
    }
    if (record.dataSize < 0 || (record.dataSize > 0 &&
                                !in_.Contains(record.dataOffset, record.dataSize))) {
      return ERR_UNEXPECTEDEOF;
    }

    for (const FieldSpec& field : layout->fields) {
      if (records_.version < field.since) continue;
      TRY(ReadField(field, record));
    }
    return ERR_NONE;
  }

  ErrorCode ReadField(const FieldSpec& field, AppletObject& record) {
    uint8_t byte;
    switch (field.codec) {
      case FieldCodec::kByte:
        TRY(in_.Byte(byte));
        record.*field.member = byte;
        return ERR_NONE;
      case FieldCodec::kInt16:
        return in_.Int16(record.*field.member);
      case FieldCodec::kInt32:
        return in_.Int32(record.*field.member);
      case FieldCodec::kGradient:
        return ReadGradient(record.gradient);
      case FieldCodec::kDragRegions:
        return ReadRegions(record.dragRegions);
      case FieldCodec::kSizeRegions:
        return ReadRegions(record.sizeRegions);
      case FieldCodec::kTitle:
        return in_.Text16(record.title, kMaxTextField);
      case FieldCodec::kPubScreen:
        return in_.Text16(record.pubScreen, kMaxTextField);
    }
    return ERR_NONE;
  }

  ErrorCode ReadGradient(GradientRecord& gradient) {
    uint8_t style, count;
    TRY(in_.Byte(style));
    gradient.style = style;
    for (const GradientField& field : kGradientFractions) TRY(in_.Int32(gradient.*field.member));
    TRY(in_.Byte(count));
    gradient.stops.clear();
    for (int i = 0; i < count; ++i) {
      int32_t color, position;
      TRY(in_.Int32(color));
      TRY(in_.Int32(position));
      gradient.stops.emplace_back(color, position);
    }
    return ERR_NONE;
  }

  ErrorCode ReadRegions(std::vector<RegionRecord>& regions) {
    int32_t count;
    TRY(in_.Int32(count));
    for (int32_t i = 0; i < count; ++i) {
      RegionRecord region;
      for (int32_t RegionRecord::*member : kRegionFields) TRY(in_.Int32(region.*member));
      regions.push_back(region);
    }
    return ERR_NONE;
  }

  ContainerCursor& in_;
  AppletRecords& records_;
  DisplayConfig& display_;
  const SectionObserver& observer_;
  int defaultDisplay_ = -1;
};

#undef TRY

}  // namespace

AppletStatus ReadAppletSections(ContainerCursor& cursor, AppletRecords& records,
                                DisplayConfig& display, const SectionObserver& observer) {
  return SectionReader(cursor, records, display, observer).ReadAll();
}

}  // namespace tembrovia
