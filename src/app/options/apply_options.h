// Turns the options array into the run's records, in the fixed order of the option table
// (the mode options last, so their order on the command line does not matter).
#pragma once

#include <string_view>

#include "app/config/display_config.h"
#include "app/config/player_config.h"
#include "app/options/option_values.h"
#include "common/error_codes.h"

namespace tembrovia {

struct OptionNumber {
  ErrorCode error = ERR_NONE;
  double value = 0;
  bool percent = false;  // a "%" right after the number
};

// Reads an option value by the number rule.
OptionNumber ParseOptionNumber(const std::string& text);

// The executable-type mask of "TYPE+TYPE..."; ERR_EXETYPE for an unknown type.
ErrorCode ParseExecutableTypes(std::string_view text, uint32_t& mask);

// Applies every set option; the first conflict or bad value ends with its error.
ErrorCode ApplyOptions(const OptionValues& options, PlayerConfig& config, DisplayConfig& display);

// Start-up output goes only to a debug device, and never for an appended applet.
void ForceQuietWhereNeeded(PlayerConfig& config);

}  // namespace tembrovia
