// The command line: one string of space-separated tokens, options written -NAME [value].
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/config/player_config.h"
#include "app/options/option_values.h"
#include "common/error_codes.h"

namespace tembrovia {

constexpr size_t kMaxCommandLine = 4096;  // bytes, the terminating zero included

struct CommandLineToken {
  std::string text;
  bool quoted = false;

  bool IsOption() const { return !quoted && !text.empty() && text[0] == '-'; }
  bool operator==(const CommandLineToken&) const = default;
};

// The argument vector as one command line (the program name left out): every argument that
// does not begin with "-" goes between double quotes, arguments are joined by single spaces,
// and the line is cut to its maximum length.
std::string JoinArguments(const std::vector<std::string>& arguments);

// Tokens are separated by spaces; a token that begins with a double quote runs to the next
// double quote and may contain spaces.
std::vector<CommandLineToken> TokenizeCommandLine(std::string_view line);

// Fills the options, the user-argument list, the file argument and the applet path.
// ERR_CONFIG when no file is named, ERR_ARGS for bad syntax.
ErrorCode ParseCommandLine(std::string_view line, OptionValues& options, PlayerConfig& config);

}  // namespace tembrovia
