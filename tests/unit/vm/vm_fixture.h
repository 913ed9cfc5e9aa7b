// A state for VM tests: assemble text, load it, call it, look at the results.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "asm/assembler.h"
#include "common/latin1_case.h"
#include "vm/api.h"

namespace tembrovia {

// A host that records what the VM asks of it.
class RecordingHost : public VMHost {
 public:
  std::string CommandName(NativeFunction function) override {
    for (const auto& [f, name] : names) {
      if (f == function) return name;
    }
    return {};
  }
  void SetErrorText(std::string_view text) override { errorText.assign(text); }
  std::string FormatError(ErrorCode code) override { return "message " + std::to_string(code); }
  void DebugWrite(std::string_view text) override { debug.append(text); }

  std::vector<std::pair<NativeFunction, std::string>> names;
  std::string errorText;
  std::string debug;
};

class VmTest : public ::testing::Test {
 protected:
  VmTest() : L(NewState()) { SetHost(L, &host); }
  ~VmTest() override { CloseState(L); }

  // Assembles text and pushes the loaded function; fails the test on assembly errors.
  ErrorCode Load(std::string_view text) {
    AssemblyOptions options;
    options.sourceName = "@test.vxs";
    AssemblyResult chunk = Assemble(text, options);
    EXPECT_TRUE(chunk.ok()) << chunk.error;
    if (!chunk.ok()) return ERR_SYNTAXERROR;
    ErrorCode status = LoadBuffer(L, chunk.chunk.data(), chunk.chunk.size(), "=test");
    if (status == ERR_NONE) ExpectRoundTrip(chunk.chunk);
    return status;
  }

  // Every chunk a test loads also goes through vxdump's listing and back through vxasm.
  static void ExpectRoundTrip(const std::string& chunk) {
    DisassemblyResult listing = Disassemble(chunk);
    ASSERT_TRUE(listing.ok()) << listing.error;
    AssemblyResult again = Assemble(listing.listing);
    ASSERT_TRUE(again.ok()) << again.error << "\n" << listing.listing;
    EXPECT_EQ(again.chunk, chunk) << listing.listing;
  }

  // Loads and runs text in protected mode with args pushed as numbers; the results stay on
  // the stack from index 1.
  ErrorCode Run(std::string_view text, std::vector<double> args = {}, int nresults = kMultipleResults) {
    SetTop(L, 0);
    ErrorCode status = Load(text);
    if (status != ERR_NONE) return status;
    for (double a : args) PushNumber(L, a);
    return ProtectedCall(L, static_cast<int>(args.size()), nresults);
  }

  // Runs text and returns its first result as a number (failing the test on an error).
  double RunNumber(std::string_view text, std::vector<double> args = {}) {
    ErrorCode status = Run(text, std::move(args), 1);
    EXPECT_EQ(status, ERR_NONE);
    return ToNumber(L, -1);
  }

  std::string StringAt(int index) {
    size_t length = 0;
    const char* s = ToLString(L, index, &length);
    return s ? std::string(s, length) : std::string("<not a string>");
  }

  void Register(const char* name, NativeFunction f) {
    PushNativeFunction(L, f);
    SetGlobal(L, Latin1Lower(name).c_str());
    host.names.emplace_back(f, name);
  }

  RecordingHost host;
  VMState* L;
};

}  // namespace tembrovia
