// The three information exports: the command list, the constant list and the plugin list,
// each a plain text file with lines ending in a line feed.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/error_codes.h"
#include "lib/core/command_directory.h"

namespace tembrovia {

// For each registered library in order: "::" and its name, the number of commands, one
// line per command as spelled in its table; then "::end".
std::string CommandExport(const CommandDirectory& commands);

// One line per key of the registry table "constants", in table order.
std::string ConstantExport(VMState* state);

// What the plugin list shows of one loaded plugin.
struct PluginExportInfo {
  int version = 0;
  int revision = 0;
  uint32_t capabilities = 0;
  // name, author, description, copyright, URL, date, settings, help file ("" when absent)
  std::array<std::string, 8> texts;
  bool adds_commands = false;
  std::string base_name;               // the plugin's base table
  std::vector<std::string> commands;
  std::vector<std::string> constants;
};

// For each plugin "::plugin", "version.revision", the capability mask as "0x%.8x", the
// eight texts, and for a plugin that adds commands "::commands" with "base.name" lines and
// "::constants" with the constant names; then "::end".
std::string PluginExport(std::span<const PluginExportInfo> plugins);

// Writes text to the file at path; ERR_WRITEFILE with the path as text on failure.
ErrorCode WriteExportFile(const std::string& path, std::string_view text);

}  // namespace tembrovia
