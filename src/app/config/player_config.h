// The run's command-line record: what the command line and the settings file asked for.
// Native code reaches it through the registry field "clargs".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tembrovia {

// An unknown command-line option or settings-file key, kept for the script.
struct UserArgument {
  std::string name;
  std::string value;
  bool hasValue = false;

  bool operator==(const UserArgument&) const = default;
};

constexpr int kIconSizeCount = 7;

struct PlayerConfig {
  std::string appletPath;
  std::string executablePath;
  std::optional<std::string> scriptAlias;
  bool quiet = false;
  bool noSound = false;
  bool compileRequested = false;
  std::string compileOutput;
  bool overwrite = false;
  bool compress = false;
  bool lockSettings = false;
  uint32_t executableTypes = 0;
  std::vector<UserArgument> userArguments;
  // The first plain word of the command line as typed.
  std::optional<std::string> fileArgument;
  bool isApplet = false;

  // Where the applet sits inside the player's own file, when one is appended.
  std::optional<uint64_t> appendedAppletOffset;

  // Process-wide settings the options carry.
  std::optional<std::string> debugDevice;
  std::optional<std::string> exportCommands;
  std::optional<std::string> exportConstants;
  std::optional<std::string> exportPlugins;
  std::vector<std::string> skipPlugins;
  std::array<std::string, kIconSizeCount> iconFiles;
  std::optional<std::string> linkFiles;
  std::optional<std::string> linkFonts;
};

}  // namespace tembrovia
