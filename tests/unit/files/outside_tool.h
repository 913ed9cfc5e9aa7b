// Runs an outside checking tool (python3, md5sum) and returns what it printed.
#pragma once

#include <cstdio>
#include <string>

namespace tembrovia {

inline std::string RunTool(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  while (size_t got = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
  pclose(pipe);
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  return output;
}

// python3 with a program given inline; arguments are passed as sys.argv[1:].
inline std::string RunPython(const std::string& program, const std::string& arguments = "") {
  std::string quoted;
  for (char c : program) {
    if (c == '\'') quoted += "'\\''"; else quoted += c;
  }
  return RunTool("python3 -c '" + quoted + "' " + arguments);
}

}  // namespace tembrovia
