#include "app/container/line_map.h"

#include <algorithm>
#include <limits>

namespace tembrovia {

std::optional<SourcePosition> MapScriptLine(const std::vector<LineMapEntry>& lineMap,
                                            int32_t line, std::string_view scriptFile) {
  for (const LineMapEntry& entry : lineMap) {
    if (!scriptFile.empty() && !entry.scriptFile.empty() && entry.scriptFile != scriptFile) {
      continue;
    }
    if (line < entry.firstLine || line > entry.lastLine) continue;
    int64_t mapped = int64_t{entry.firstSourceLine} + (int64_t{line} - entry.firstLine);
    mapped = std::clamp<int64_t>(mapped, std::numeric_limits<int32_t>::min(),
                                 std::numeric_limits<int32_t>::max());
    return SourcePosition{entry.sourceFile, static_cast<int32_t>(mapped)};
  }
  return std::nullopt;
}

}  // namespace tembrovia
