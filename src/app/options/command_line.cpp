#include "app/options/command_line.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace tembrovia {
namespace {

bool IsNameCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// COMPILE names an output file; a relative name is taken against the current directory.
void MakeCompileOutputAbsolute(std::string& path) {
  if (path.empty() || path.find(':') != std::string::npos) return;
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path, error);
  if (!error) path = absolute.string();
}

}  // namespace

std::string JoinArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    if (!argument.empty() && argument[0] == '-') {
      line += argument;
    } else {
      line += '"';
      line += argument;
      line += '"';
    }
  }
  if (line.size() > kMaxCommandLine - 1) line.resize(kMaxCommandLine - 1);
  return line;
}

std::vector<CommandLineToken> TokenizeCommandLine(std::string_view line) {
  std::vector<CommandLineToken> tokens;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ') {
      ++i;
      continue;
    }
    CommandLineToken token;
    if (line[i] == '"') {
      size_t close = line.find('"', i + 1);
      size_t end = close == std::string_view::npos ? line.size() : close;
      token.text = std::string(line.substr(i + 1, end - i - 1));
      token.quoted = true;
      i = close == std::string_view::npos ? end : close + 1;
    } else {
      size_t end = line.find(' ', i);
      if (end == std::string_view::npos) end = line.size();
      token.text = std::string(line.substr(i, end - i));
      i = end;
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

ErrorCode ParseCommandLine(std::string_view line, OptionValues& options, PlayerConfig& config) {
  const OptionSpec* pendingOption = nullptr;  // a known option waiting for its value
  UserArgument* pendingUser = nullptr;        // an unknown option that may take a value

  for (const CommandLineToken& token : TokenizeCommandLine(line)) {
    if (token.IsOption()) {
      if (pendingOption) return ERR_ARGS;
      pendingUser = nullptr;
      size_t end = 1;
      while (end < token.text.size() && IsNameCharacter(token.text[end])) ++end;
      std::string name = token.text.substr(1, end - 1);
      if (name.empty()) return ERR_ARGS;
      const OptionSpec* option = FindOption(name);
      if (!option) {
        config.userArguments.push_back(UserArgument{name, "", false});
        pendingUser = &config.userArguments.back();
      } else if (option->takesValue) {
        pendingOption = option;
      } else {
        options[option->slot] = OptionValue{true, ""};
      }
      continue;
    }
    if (pendingOption) {
      options[pendingOption->slot] = OptionValue{true, token.text};
      pendingOption = nullptr;
    } else if (pendingUser) {
      pendingUser->value = token.text;
      pendingUser->hasValue = true;
      pendingUser = nullptr;
    } else if (!config.fileArgument) {
      config.fileArgument = token.text;
    } else {
      return ERR_ARGS;
    }
  }
  if (pendingOption) return ERR_ARGS;
  if (!config.fileArgument) return ERR_CONFIG;

  config.appletPath = *config.fileArgument;
  if (options[kOptCompile].set) MakeCompileOutputAbsolute(options[kOptCompile].value);
  return ERR_NONE;
}

}  // namespace tembrovia
