// The start-up output ("Opening script x...done"): progress lines on the debug channel that
// -QUIET silences. A step writes its text and "..." and later "done" on the same line; when
// a step fails before its "done", the line is closed so that whatever follows (the final
// error report) starts on a line of its own, where a tool reading the output finds it.
#pragma once

#include <string_view>

namespace tembrovia {

class StartupOutput {
 public:
  void SetQuiet(bool quiet) { quiet_ = quiet; }
  bool quiet() const { return quiet_; }

  // Writes text unless quiet.
  void Write(std::string_view text);
  // "<text>..." (a step begins) and "done" with the line end (it succeeded).
  void Begin(std::string_view text);
  void Done();
  // Ends a line that a step left open.
  void CloseLine();

 private:
  bool quiet_ = false;
  bool lineOpen_ = false;
};

}  // namespace tembrovia
