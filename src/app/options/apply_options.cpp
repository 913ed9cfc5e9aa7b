#include "app/options/apply_options.h"

#include "common/latin1_case.h"
#include "common/number_literal.h"
#include "common/numeric_conversion.h"

namespace tembrovia {
namespace {

struct BackfillWord {
  const char* word;
  int32_t mode;
};

constexpr BackfillWord kBackfillWords[] = {
    {"color", kBackfillColor},     {"gradient", kBackfillGradient},
    {"rainbow", kBackfillGradient}, {"texture", kBackfillTexture},
    {"picture", kBackfillPicture},
};

bool IsFullScreenMode(OptionSlot slot) {
  return slot == kOptFullScreen || slot == kOptFakeFullScreen || slot == kOptOwnScreen;
}

bool ScalingRequested(const OptionValues& options) {
  return options[kOptAutoScale].set || options[kOptLayerScale].set;
}

// Any two of the full-screen modes together are a conflict.
bool ModeConflict(const OptionValues& options) {
  int count = 0;
  for (OptionSlot slot : {kOptFullScreen, kOptFakeFullScreen, kOptOwnScreen}) {
    count += options[slot].set ? 1 : 0;
  }
  return count > 1;
}

class OptionApplier {
 public:
  OptionApplier(const OptionValues& options, PlayerConfig& config, DisplayConfig& display)
      : options_(options), config_(config), display_(display) {}

  ErrorCode Apply(const OptionSpec& option) {
    const std::string& value = options_[option.slot].value;
    switch (option.action) {
      case OptionAction::kMode:
        if (IsFullScreenMode(option.slot) && ModeConflict(options_)) return ERR_ARGS;
        display_.mode = option.param;
        return ERR_NONE;
      case OptionAction::kStyleFlag:
        return ApplyStyleFlag(option.param);
      case OptionAction::kHideTitleBar:
        display_.hideTitleBar = 1;
        return ERR_NONE;
      case OptionAction::kScaleSize:
        return ApplyScaleSize(option.param, value);
      case OptionAction::kScreenSize: {
        int32_t* target[] = {&display_.screenWidth, &display_.screenHeight,
                             &display_.screenDepth};
        return ReadInteger(value, *target[option.param]);
      }
      case OptionAction::kBackfill:
        for (const BackfillWord& word : kBackfillWords) {
          if (Latin1EqualNoCase(value, word.word)) {
            display_.backfill.mode = word.mode;
            return ERR_NONE;
          }
        }
        return ERR_BACKFILL;
      case OptionAction::kBackfillColor:
        return ReadColor(value, option.param == 0 ? display_.backfill.startColor
                                                  : display_.backfill.endColor);
      case OptionAction::kBackfillImage:
        if (options_[kOptBrush].set) return ERR_BACKFILL;
        display_.backfill.imageFile = value;
        return ERR_NONE;
      case OptionAction::kBackfillBrush:
        return ReadInteger(value, display_.backfill.brushId);
      case OptionAction::kBackfillScale:
        display_.backfill.scalePicture = true;
        return ERR_NONE;
      case OptionAction::kBackfillPosition:
        return ReadInteger(value, option.param == 0 ? display_.backfill.pictureX
                                                    : display_.backfill.pictureY);
      case OptionAction::kBackfillTransparent:
        return ReadColor(value, display_.backfill.transparentColor);
      case OptionAction::kPlayerFlag:
        config_.*option.flag = true;
        return ERR_NONE;
      case OptionAction::kPlayerText:
        config_.*option.text = value;
        return ERR_NONE;
      case OptionAction::kExeType:
        return ParseExecutableTypes(value, config_.executableTypes);
      case OptionAction::kSkipPlugins:
        for (size_t start = 0; start <= value.size();) {
          size_t bar = value.find('|', start);
          if (bar == std::string::npos) bar = value.size();
          if (bar > start) config_.skipPlugins.push_back(value.substr(start, bar - start));
          start = bar + 1;
        }
        return ERR_NONE;
      case OptionAction::kIcon:
        config_.iconFiles[option.param] = value;
        return ERR_NONE;
      case OptionAction::kCompile:
        config_.compileRequested = true;
        config_.compileOutput = value;
        return ERR_NONE;
      case OptionAction::kIgnored:
        return ERR_NONE;
    }
    return ERR_NONE;
  }

 private:
  ErrorCode ApplyStyleFlag(int32_t bit) {
    if (bit == kDisplayLayerScale && options_[kOptAutoScale].set) return ERR_ARGS;
    if (bit == kDisplaySmoothScale && !ScalingRequested(options_)) return ERR_ARGS;
    display_.styleFlags |= bit;
    display_.givenStyleFlags |= bit;
    return ERR_NONE;
  }

  // Pixels, or n% stored as -n. Negative sizes would read as percentages later: refused.
  ErrorCode ApplyScaleSize(int32_t which, const std::string& value) {
    if (!ScalingRequested(options_)) return ERR_ARGS;
    OptionNumber number = ParseOptionNumber(value);
    if (number.error) return number.error;
    int32_t size = TruncToInt32(number.value);
    if (size < 0) return ERR_ARGS;
    (which == 0 ? display_.scaleWidth : display_.scaleHeight) = number.percent ? -size : size;
    return ERR_NONE;
  }

  static ErrorCode ReadInteger(const std::string& value, int32_t& target) {
    OptionNumber number = ParseOptionNumber(value);
    if (number.error) return number.error;
    target = TruncToInt32(number.value);
    return ERR_NONE;
  }

  // Colours are bit patterns: $FFFFFFFF and -1 are the same colour.
  static ErrorCode ReadColor(const std::string& value, int32_t& target) {
    OptionNumber number = ParseOptionNumber(value);
    if (number.error) return number.error;
    target = TruncToLow32Signed(number.value);
    return ERR_NONE;
  }

  const OptionValues& options_;
  PlayerConfig& config_;
  DisplayConfig& display_;
};

}  // namespace

OptionNumber ParseOptionNumber(const std::string& text) {
  NumberLiteral literal = ParseNumberLiteral(text.c_str());
  OptionNumber number;
  number.error = literal.error;
  number.value = literal.value;
  number.percent = literal.error == ERR_NONE &&
                   static_cast<size_t>(literal.count) < text.size() && text[literal.count] == '%';
  return number;
}

ErrorCode ParseExecutableTypes(std::string_view text, uint32_t& mask) {
  uint32_t result = 0;
  for (size_t start = 0; start <= text.size();) {
    size_t plus = text.find('+', start);
    if (plus == std::string_view::npos) plus = text.size();
    std::string_view name = text.substr(start, plus - start);
    bool found = false;
    for (size_t i = 0; i < kExecutableTypeNames.size(); ++i) {
      if (Latin1EqualNoCase(name, kExecutableTypeNames[i])) {
        result |= 1u << i;
        found = true;
      }
    }
    if (!found) return ERR_EXETYPE;
    start = plus + 1;
  }
  mask = result;
  return ERR_NONE;
}

ErrorCode ApplyOptions(const OptionValues& options, PlayerConfig& config, DisplayConfig& display) {
  OptionApplier applier(options, config, display);
  for (const OptionSpec& option : kOptionTable) {
    if (!options[option.slot].set) continue;
    if (ErrorCode error = applier.Apply(option)) return error;
  }
  return ERR_NONE;
}

void ForceQuietWhereNeeded(PlayerConfig& config) {
  if (config.appendedAppletOffset || !config.debugDevice) config.quiet = true;
}

}  // namespace tembrovia
