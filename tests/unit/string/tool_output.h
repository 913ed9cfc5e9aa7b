// Runs an outside tool through the shell and returns what it printed on standard output.
#pragma once

#include <cstdio>
#include <string>

namespace tembrovia::testing {

inline bool RunTool(const std::string& command, std::string& output) {
  output.clear();
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return false;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
  return pclose(pipe) == 0;
}

}  // namespace tembrovia::testing
