// Arbitrary text as a command line and as a settings file, then applied as the player does.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/options/apply_options.h"
#include "app/options/command_line.h"
#include "app/options/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tembrovia;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t split = text.find('\n');
  std::string_view line = text.substr(0, split);
  std::string_view settings = split == std::string_view::npos ? "" : text.substr(split + 1);

  OptionValues options;
  PlayerConfig config;
  ErrorCode error = ParseCommandLine(line, options, config);
  if (error != ERR_NONE && error != ERR_CONFIG) return 0;
  if (ParseSettingsText(settings, options, config.userArguments) != ERR_NONE) return 0;
  DisplayConfig display;
  (void)ApplyOptions(options, config, display);
  return 0;
}
