// Maps a line of the compiled script back to the source file and line it came from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/container/applet_records.h"

namespace tembrovia {

struct SourcePosition {
  std::string file;
  int32_t line = 0;

  bool operator==(const SourcePosition&) const = default;
};

// The first entry that covers the line decides. Entries that name a script file apply only
// to that script when a script name is given.
std::optional<SourcePosition> MapScriptLine(const std::vector<LineMapEntry>& lineMap,
                                            int32_t line, std::string_view scriptFile = {});

}  // namespace tembrovia
