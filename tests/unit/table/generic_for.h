// Runs `for a, b in Command(arguments...)` as a script and returns what it printed: one
// DebugPrint of a and b per step.
#pragma once

#include <string>
#include <vector>

#include "support/command_fixture.h"

namespace tembrovia::testing {

inline std::string GenericForOutput(CommandFixture& fx, const std::string& command, const std::vector<Arg>& arguments) {
  std::string load;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string name = "for_argument_" + std::to_string(i);
    fx.SetGlobal(name, arguments[i]);
    load += "        readglobal r" + std::to_string(2 + i) + ", \"" + name + "\"\n";
  }
  const CallResult r = fx.Run("        readglobal r1, \"" + command + "\"\n" + load +
                              "        call r1, " + std::to_string(arguments.size() + 1) + R"(, 4
        jump test
  body: call DebugPrint, r3, r4
  test: iterloop r1, 0, 1
        jump body
        return r0, 1
  )");
  EXPECT_TRUE(r.ok()) << r.message;
  return fx.TakeDebugOutput();
}

}  // namespace tembrovia::testing
