#include "app/preload/preload_plan.h"

#include "common/latin1_case.h"
#include "files/virtual_name.h"

namespace tembrovia {
namespace {

constexpr double kMillionths = 1e6;
constexpr double kModeRead = 1005;  // #MODE_READ of the file library
constexpr int32_t kFontEngineMask = 0xFFFF;
constexpr int32_t kFontNoCache = 0x10000;

struct CommandOfType {
  uint8_t type;
  const char* command;
};

constexpr CommandOfType kPreloadCommands[] = {
    {kObjectBGPic, "LoadBGPic"},     {kObjectBrush, "LoadBrush"},
    {kObjectAnim, "LoadAnim"},       {kObjectMusic, "OpenMusic"},
    {kObjectSample, "LoadSample"},   {kObjectButton, "CreateButton"},
    {kObjectKeyHandler, "CreateKeyDown"}, {kObjectSprite, "LoadSprite"},
    {kObjectFile, "OpenFile"},       {kObjectFont, "OpenFont"},
    {kObjectVideo, "OpenVideo"},
};

// Display flags that CreateDisplay takes as booleans of the same meaning.
struct FlagKey {
  int32_t flag;
  const char* key;
};

constexpr FlagKey kDisplayFlagKeys[] = {
    {kDisplayHidden, "hidden"},
    {kDisplayBorderless, "borderless"},
    {kDisplaySizeable, "sizeable"},
    {kDisplayFixed, "fixed"},
    {kDisplayNoMinimize, "nohide"},
    {kDisplayNoModeSwitch, "nomodeswitch"},
    {kDisplayAutoScale | kDisplayLayerScale, "scalemode"},  // 1 auto, 2 layer
    {kDisplaySmoothScale, "smoothscale"},
    {kDisplayHidePointer, "hidepointer"},
    {kDisplayLayers, "layers"},
    {kDisplayUseQuartz, "usequartz"},
    {kDisplayNoClose, "noclose"},
    {kDisplayKeepProportions, "keepproportions"},
    {kDisplayFitScale, "fitscale"},
    {kDisplayKeepScreenOn, "keepscreenon"},
};

bool SharesImages(uint8_t type) {
  return type == kObjectBrush || type == kObjectAnim || type == kObjectSprite;
}

// Options that make objects loading the same file share one decoded image.
struct CacheOptions {
  std::string cache;
  std::string cachedLoad;
  bool cacheAlpha = false;
};

std::vector<CacheOptions> PlanImageSharing(const std::vector<AppletObject>& objects) {
  std::vector<CacheOptions> plan(objects.size());
  for (size_t i = 0; i < objects.size(); ++i) {
    const AppletObject& earlier = objects[i];
    if (!SharesImages(earlier.type) || earlier.name.empty() || !plan[i].cachedLoad.empty()) {
      continue;
    }
    for (size_t j = i + 1; j < objects.size(); ++j) {
      const AppletObject& later = objects[j];
      if (!SharesImages(later.type) || !Latin1EqualNoCase(later.name, earlier.name)) continue;
      plan[j].cachedLoad = later.name;
      plan[i].cache = earlier.name;
      if (later.flag && !earlier.flag) plan[i].cacheAlpha = true;
    }
  }
  return plan;
}

void SetIfNotZero(PlainValue& options, const char* key, int32_t value) {
  if (value != 0) options.Set(key, value);
}

void SetGradient(PlainValue& options, const AppletObject& record) {
  const GradientRecord& gradient = record.gradient;
  options.Set("gradientstyle", gradient.style);
  options.Set("gradientstartcolor", record.fillColor);
  options.Set("gradientendcolor", record.gradientEndColor);
  options.Set("gradientangle", record.gradientAngle);
  options.Set("gradientcenterx", gradient.centerX / kMillionths);
  options.Set("gradientcentery", gradient.centerY / kMillionths);
  options.Set("gradientbalance", gradient.balance / kMillionths);
  options.Set("gradientborder", gradient.border / kMillionths);
  if (!gradient.stops.empty()) {
    PlainValue colors = PlainValue::Table();
    for (const auto& [color, position] : gradient.stops) {
      colors.Append(PlainValue::Number(color));
      colors.Append(PlainValue::Number(position / kMillionths));
    }
    options.Set("gradientcolors", std::move(colors));
  }
}

// The fill options of a BGPic or of the picture a display makes for itself.
void SetFill(PlainValue& options, const AppletObject& record, const char* colorKey) {
  if (record.fillStyle == 0) return;
  options.Set("fillstyle", record.fillStyle);
  switch (record.fillStyle) {
    case kBackfillColor:
      options.Set(colorKey, record.fillColor);
      break;
    case kBackfillGradient:
      SetGradient(options, record);
      break;
    case kBackfillTexture:
      options.Set("texturebrush", record.textureBrush);
      options.Set("texturex", record.textureX);
      options.Set("texturey", record.textureY);
      break;
    default:
      break;
  }
}

void SetPictureOptions(PlainValue& options, const AppletObject& record) {
  if (record.extra != -1) options.Set("transparency", record.extra);
  if (record.flag) options.Set("loadalpha", 1);
}

void SetFrameOptions(PlainValue& options, const AppletObject& record) {
  SetIfNotZero(options, "width", record.width);
  SetIfNotZero(options, "height", record.height);
  SetIfNotZero(options, "x", record.x);
  SetIfNotZero(options, "y", record.y);
}

void SetCacheOptions(PlainValue& options, const CacheOptions& cache) {
  if (!cache.cache.empty()) options.Set("cache", PlainValue::String(cache.cache));
  if (cache.cacheAlpha) options.Set("cachealpha", 1);
  if (!cache.cachedLoad.empty()) options.Set("cachedload", PlainValue::String(cache.cachedLoad));
}

const char* CommandFor(uint8_t type) {
  for (const CommandOfType& entry : kPreloadCommands) {
    if (entry.type == type) return entry.command;
  }
  return nullptr;
}

PlainValue SizeValue(int32_t size) {
  // Negative sizes are percentages.
  if (size < 0) return PlainValue::String(std::to_string(-int64_t{size}) + "%");
  return PlainValue::Number(size);
}

PlainValue RegionTables(const std::vector<RegionRecord>& regions) {
  PlainValue list = PlainValue::Table();
  for (const RegionRecord& region : regions) {
    PlainValue table = PlainValue::Table();
    table.Set("type", region.type);
    table.Set("x", region.x);
    table.Set("y", region.y);
    table.Set("width", region.width);
    table.Set("height", region.height);
    list.Append(std::move(table));
  }
  return list;
}

class Planner {
 public:
  Planner(const AppletRecords& records, int32_t hostWidth, int32_t hostHeight)
      : records_(records), hostWidth_(hostWidth), hostHeight_(hostHeight) {
    for (const AppletObject& object : records.objects) {
      if (object.type == kObjectBGPic && object.id == 1) haveBGPic1_ = true;
    }
  }

  PreloadCall ObjectCall(const AppletObject& record, const CacheOptions& cache) const {
    PreloadCall call{CommandFor(record.type), record.sourceLine, {}};
    call.arguments.push_back(PlainValue::Number(record.id));
    PlainValue options = PlainValue::Table();
    switch (record.type) {
      case kObjectBGPic:
        call.arguments.push_back(FileArgument(record));
        SetPictureOptions(options, record);
        SetFill(options, record, "fillcolor");
        break;
      case kObjectBrush:
        call.arguments.push_back(FileArgument(record));
        SetPictureOptions(options, record);
        SetFrameOptions(options, record);
        if (record.globalAlpha != -1) options.Set("globalalpha", record.globalAlpha);
        SetIfNotZero(options, "hardware", record.hardware);
        SetCacheOptions(options, cache);
        break;
      case kObjectAnim:
      case kObjectSprite:
        call.arguments.push_back(FileArgument(record));
        SetPictureOptions(options, record);
        SetFrameOptions(options, record);
        SetIfNotZero(options, "frames", record.frames);
        SetIfNotZero(options, "fpr", record.framesPerRow);
        if (record.type == kObjectAnim) SetIfNotZero(options, "fromdisk", record.fromDisk);
        SetCacheOptions(options, cache);
        break;
      case kObjectButton:
        for (int32_t value : {record.x1, record.y1, record.x2, record.y2}) {
          call.arguments.push_back(PlainValue::Number(value));
        }
        break;
      case kObjectKeyHandler:
        call.arguments.push_back(PlainValue::String(record.name));
        break;
      case kObjectFile:
        call.arguments.push_back(FileArgument(record));
        call.arguments.push_back(PlainValue::Number(kModeRead));
        break;
      case kObjectFont:
        call.arguments.push_back(FileArgument(record));
        call.arguments.push_back(PlainValue::Number(record.extra));
        SetIfNotZero(options, "engine", record.flag & kFontEngineMask);
        if (record.flag & kFontNoCache) options.Set("cache", 0);
        break;
      default:  // music, sample, video
        call.arguments.push_back(FileArgument(record));
        break;
    }
    if (!options.keys.empty()) call.arguments.push_back(std::move(options));
    return call;
  }

  PreloadCall DisplayCall(const AppletObject& record) const {
    PlainValue options = PlainValue::Table();
    options.Set("title", PlainValue::String(record.title));
    options.Set("x", record.x);
    options.Set("y", record.y);
    if (record.scaleWidth != 0) options.Set("scalewidth", SizeValue(record.scaleWidth));
    if (record.scaleHeight != 0) options.Set("scaleheight", SizeValue(record.scaleHeight));
    if (record.flags & kDisplayActive) options.Set("active", 1);

    bool firstDisplay = record.id == 1;
    if (record.flags & kDisplayUseBGPic) {
      options.Set("bgpic", record.bgpicId);
    } else if (firstDisplay && haveBGPic1_) {
      options.Set("bgpic", 1);
    } else {
      bool hostSize = firstDisplay && records_.hostSizedDisplay;
      options.Set("width", hostSize ? hostWidth_ : record.width);
      options.Set("height", hostSize ? hostHeight_ : record.height);
      SetFill(options, record, "color");
    }

    for (const FlagKey& flag : kDisplayFlagKeys) {
      if (!(record.flags & flag.flag)) continue;
      bool scaleMode = flag.flag == (kDisplayAutoScale | kDisplayLayerScale);
      options.Set(flag.key, scaleMode ? (record.flags & kDisplayLayerScale ? 2 : 1) : 1);
    }
    if (firstDisplay && records_.hostSizedDisplay) options.Set("private2", 1);
    if (!record.dragRegions.empty()) options.Set("dragregion", RegionTables(record.dragRegions));
    if (!record.sizeRegions.empty()) options.Set("sizeregion", RegionTables(record.sizeRegions));
    if (!record.pubScreen.empty()) options.Set("pubscreen", PlainValue::String(record.pubScreen));

    PreloadCall call{"CreateDisplay", record.sourceLine, {}};
    call.arguments.push_back(PlainValue::Number(record.id));
    call.arguments.push_back(std::move(options));
    return call;
  }

 private:
  // Linked data is opened through its stored-file name, anything else by its name.
  PlainValue FileArgument(const AppletObject& record) const {
    if (record.dataSize <= 0) return PlainValue::String(record.name);
    return PlainValue::String(MakeWindowName(
        records_.appletOffset + static_cast<uint64_t>(record.dataOffset),
        static_cast<uint64_t>(record.dataSize), record.name, records_.containerPath));
  }

  const AppletRecords& records_;
  int32_t hostWidth_;
  int32_t hostHeight_;
  bool haveBGPic1_ = false;
};

}  // namespace

std::vector<AppletObject> PreloadDisplays(const AppletRecords& records,
                                          const DisplayConfig& display) {
  std::vector<AppletObject> displays;
  bool haveDisplay1 = false;
  for (const AppletObject& object : records.objects) {
    if (object.type != kObjectDisplay) continue;
    displays.push_back(object);
    haveDisplay1 = haveDisplay1 || object.id == 1;
  }
  if (!haveDisplay1) {
    displays.push_back(DefaultDisplayRecord());
    if (records.hasDefaultTitle) displays.back().title = records.defaultTitle;
  }
  if (display.locked) return displays;

  int32_t given = display.styleFlags & display.givenStyleFlags;
  for (AppletObject& record : displays) {
    record.flags |= given & ~record.givenFlags;
    if (record.scaleWidth == 0) record.scaleWidth = display.scaleWidth;
    if (record.scaleHeight == 0) record.scaleHeight = display.scaleHeight;
  }
  return displays;
}

PreloadPlan PlanPreload(const AppletRecords& records, const DisplayConfig& display,
                        int32_t hostWidth, int32_t hostHeight) {
  PreloadPlan plan;
  Planner planner(records, hostWidth, hostHeight);
  std::vector<CacheOptions> sharing = PlanImageSharing(records.objects);
  for (size_t i = 0; i < records.objects.size(); ++i) {
    const AppletObject& object = records.objects[i];
    if (object.type == kObjectPluginRequirement) {
      plan.plugins.push_back({object.name, object.extra, object.flag});
    } else if (object.type != kObjectDisplay) {
      plan.objects.push_back(planner.ObjectCall(object, sharing[i]));
    }
  }
  for (const AppletObject& record : PreloadDisplays(records, display)) {
    plan.displays.push_back(planner.DisplayCall(record));
  }
  return plan;
}

AppletStatus CheckPluginRequirements(const std::vector<PluginRequirement>& requirements,
                                     const PluginVersionLookup& lookup) {
  for (const PluginRequirement& requirement : requirements) {
    std::optional<std::pair<int32_t, int32_t>> loaded = lookup(requirement.name);
    if (loaded && *loaded >= std::make_pair(requirement.version, requirement.revision)) continue;
    return {ERR_REQUIREPLUGIN, requirement.name + " " + std::to_string(requirement.version) +
                                   "." + std::to_string(requirement.revision)};
  }
  return {};
}

}  // namespace tembrovia
