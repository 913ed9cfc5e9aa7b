#include "app/run/startup_output.h"

#include <string>

#include "common/debug_output.h"
#include "common/messages.h"

namespace tembrovia {

void StartupOutput::Write(std::string_view text) {
  if (quiet_ || text.empty()) return;
  DebugWriteText(text);
  lineOpen_ = text.back() != '\n';
}

void StartupOutput::Begin(std::string_view text) { Write(std::string(text) + "..."); }

void StartupOutput::Done() { Write(std::string(MessageText(kMsgDone)) + "\n"); }

void StartupOutput::CloseLine() {
  if (!lineOpen_) return;
  DebugWriteText("\n");
  lineOpen_ = false;
}

}  // namespace tembrovia
