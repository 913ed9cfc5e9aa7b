// DebugOutput (the call trace), DebugPrompt, and the collector's GCInfo and CollectGarbage.
#include <cstdio>
#include <string>

#include "common/debug_output.h"
#include "lib/core/arguments.h"
#include "lib/core/object_registry.h"
#include "lib/math/integer_arguments.h"
#include "lib/system/system_commands.h"
#include "lib/system/system_data.h"

namespace tembrovia {
namespace {

constexpr size_t kPromptLineLength = 16384;

// One line of at most kPromptLineLength characters, without its line end; the rest of a
// longer line is left for the next read.
std::string ReadConsoleLine(std::FILE* console) {
  std::string line;
  for (int c; line.size() < kPromptLineLength && (c = std::fgetc(console)) != EOF;) {
    if (c == '\n') break;
    line += static_cast<char>(c);
  }
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  return line;
}

}  // namespace

int CmdDebugOutput(VMState* state) {
  CheckArgCount(state, 1, 1);
  SetCallTrace(state, CheckFlag(state, 1));
  return 0;
}

int CmdDebugPrompt(VMState* state) {
  CheckArgCount(state, 1, 1);
  const std::string_view prompt = CheckString(state, 1);
  if (!prompt.empty()) DebugWriteText(prompt);
  std::fflush(stdout);  // the prompt shows before the console waits
  PushStringView(state, ReadConsoleLine(SystemLibrary(state).console));
  return 1;
}

int CmdGCInfo(VMState* state) {
  CheckArgCount(state, 0, 0);
  PushNumber(state, GetGCCount(state));
  PushNumber(state, GetGCThreshold(state));
  return 2;
}

int CmdCollectGarbage(VMState* state) {
  CheckArgCount(state, 0, 1);
  SetGCThreshold(state, OptInteger(state, 1, 0));
  ReleasePass(state);
  return 0;
}

}  // namespace tembrovia
