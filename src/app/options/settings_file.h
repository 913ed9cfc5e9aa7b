// The settings file beside the applet: KEY = value lines whose values overwrite those of
// the command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/config/player_config.h"
#include "app/options/option_values.h"
#include "common/error_codes.h"

namespace tembrovia {

constexpr size_t kMaxSettingsKey = 127;

// The applet path with the extension of its file name replaced by ".ini" (appended when the
// file name has none).
std::string SettingsFileName(std::string_view appletPath);

// Reads settings text into the options and the user-argument list; ERR_INISYNTAX on any
// syntax violation.
ErrorCode ParseSettingsText(std::string_view text, OptionValues& options,
                            std::vector<UserArgument>& userArguments);

// Reads the settings file of the applet; a missing file is no error.
ErrorCode ReadSettingsFile(std::string_view appletPath, OptionValues& options,
                           PlayerConfig& config);

}  // namespace tembrovia
