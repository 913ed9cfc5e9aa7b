#include "vm/host.h"

#include <cstdio>

namespace tembrovia {

std::string VMHost::CommandName(NativeFunction) { return {}; }

void VMHost::SetErrorText(std::string_view text) { last_error_text_.assign(text); }

std::string VMHost::FormatError(ErrorCode code) { return "Error " + std::to_string(code); }

void VMHost::DebugWrite(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

VMHost& VMHost::Default() {
  static VMHost host;
  return host;
}

}  // namespace tembrovia
