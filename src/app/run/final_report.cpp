#include "app/run/final_report.h"

#include "app/container/line_map.h"

namespace tembrovia {

ErrorLocation LocationFromContext(const ErrorContext& context) {
  ErrorLocation location;
  location.name = context.name;
  location.line = context.line;
  std::string_view script = context.script;
  if (!script.empty() && (script.front() == '@' || script.front() == '=')) script.remove_prefix(1);
  if (!script.empty()) location.script_name = std::string(script);
  return location;
}

ErrorLocation MapThroughLineMap(ErrorLocation location, const std::vector<LineMapEntry>& lineMap) {
  if (location.line < 0) return location;
  std::string_view script =
      location.HasScriptName() ? std::string_view(location.script_name) : std::string_view();
  if (std::optional<SourcePosition> source = MapScriptLine(lineMap, location.line, script)) {
    location.script_name = source->file;
    location.line = source->line;
  }
  return location;
}

}  // namespace tembrovia
