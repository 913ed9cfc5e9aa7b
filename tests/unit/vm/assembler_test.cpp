// The assembler's text form, its errors, and the vxasm and vxdump programs.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "vm_fixture.h"

namespace tembrovia {
namespace {

class AssemblerTest : public VmTest {};

const char* const kReadmeExample = R"(
; the sum of the numbers 1..10, printed with the DebugPrint command
.function main
  .source "@sum.vxs"
  .line 1
        loadconst r0, 0          ; sum
        loadconst r1, 0          ; index, one step before the first value
        loadconst r2, 10         ; limit (numloop reads index, limit, step from r1..r3)
        loadconst r3, 1          ; step
        jump  test
  .line 2
  body: add r0, r0, r1
  test: numloop r1, body         ; index += step; while index <= limit go to body
  .line 3
        call DebugPrint, "sum", r0
        return r0, 2
.end
)";

TEST_F(AssemblerTest, TheReadmeExampleRuns) {
  static std::string printed;
  printed.clear();
  Register("DebugPrint", [](VMState* L) {
    printed = std::string(ToString(L, 1)) + " " + ToString(L, 2);
    return 0;
  });
  EXPECT_EQ(RunNumber(kReadmeExample), 55);
  EXPECT_EQ(printed, "sum 55");
}

TEST_F(AssemblerTest, NamedConstantsComeFromDefinesAndTheResolver) {
  AssemblyOptions options;
  options.resolveConstant = [](std::string_view name) -> std::optional<double> {
    if (name == "BRUSH") return 3;
    return std::nullopt;
  };
  AssemblyResult chunk = Assemble(".define TWO, 2\nloadconst r0, #BRUSH\nadd r0, r0, #two\nreturn r0, 2", options);
  ASSERT_TRUE(chunk.ok()) << chunk.error;
  ASSERT_EQ(LoadBuffer(L, chunk.chunk.data(), chunk.chunk.size(), "=t"), ERR_NONE);
  ASSERT_EQ(ProtectedCall(L, 0, 1), ERR_NONE);
  EXPECT_EQ(ToNumber(L, -1), 5);
  EXPECT_EQ(Assemble("loadconst r0, #NOPE\nreturn r0, 1").error, "line 1: unknown constant #NOPE");
}

TEST_F(AssemblerTest, ErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"frobnicate r0\n", "line 1: unknown instruction frobnicate"},
      {"\njump nowhere\nreturn r0, 1", "line 2: unknown label nowhere"},
      {"move r0, r600\n", "line 1: register or field out of range"},
      {".function f\nreturn r0, 1\n", "line 3: missing .end"},
      {"loadconst r0, \"open\n", "line 1: unterminated string"},
      {"a: move r0, r0\na: return r0, 1", "line 2: label defined twice: a"},
      {".bogus 1\n", "line 1: unknown directive .bogus"},
      {"makeclosure r0, missing\nreturn r0, 1", "line 1: unknown function missing"},
  };
  for (const Case& c : cases) {
    AssemblyResult result = Assemble(c.text);
    EXPECT_FALSE(result.ok()) << c.text;
    EXPECT_EQ(result.error, c.error) << c.text;
  }
}

TEST_F(AssemblerTest, ListingsKeepEveryDetail) {
  const char* text = R"(
    .function main
      .source "@detail.vxs"
      .vararg
      .line 4
      .local "i", 0, 3
      .const nil
      .const 0.1
      .const bits:7FF8000000000001
      .const "tab\there \"quoted\" \x01"
      .function inner
        .linedefined 7
        .params 1
        .upvalue "u"
        readupvalue r1, 0
        return r1, 2
      .end
      loadconst r1, k3
      makeclosure r2, inner
      move r0, r1
      .line 5
      jump next, sub
      next: jump after, 3
      after: .word 0x0000003F
      return r0, 1
    .end
  )";
  AssemblyResult chunk = Assemble(text);
  ASSERT_TRUE(chunk.ok()) << chunk.error;
  DisassemblyResult listing = Disassemble(chunk.chunk);
  ASSERT_TRUE(listing.ok()) << listing.error;
  for (const char* piece : {".vararg 1", ".local \"i\", 0, 3", ".const bits:7FF8000000000001",
                            ".const \"tab\\there \\\"quoted\\\" \\x01\"", ".linedefined 7", ".upvalue \"u\"",
                            "jump L4, sub", "jump L5, 3", ".word 0x0000003F", "makeclosure r2, f0", ".line 5"}) {
    EXPECT_NE(listing.listing.find(piece), std::string::npos) << piece << "\n" << listing.listing;
  }
  ExpectRoundTrip(chunk.chunk);
}

// The two programs, on files.
TEST_F(AssemblerTest, VxasmAndVxdumpRoundTripOnFiles) {
  const char* binaries = std::getenv("TEMBROVIA_BINARY_DIR");
  if (binaries == nullptr) GTEST_SKIP() << "run through ctest";
  std::string dir = ::testing::TempDir();
  std::string source = dir + "/example.vxs", chunk = dir + "/example.vxb", listing = dir + "/example.lst",
              again = dir + "/again.vxb";
  std::ofstream(source) << kReadmeExample;
  std::string bin = binaries;
  ASSERT_EQ(std::system((bin + "/tools/asm/vxasm " + source + " " + chunk).c_str()), 0);
  ASSERT_EQ(std::system((bin + "/tools/vxdump/vxdump " + chunk + " " + listing).c_str()), 0);
  ASSERT_EQ(std::system((bin + "/tools/asm/vxasm " + listing + " " + again).c_str()), 0);
  EXPECT_EQ(std::system(("cmp -s " + chunk + " " + again).c_str()), 0);
  EXPECT_NE(std::system((bin + "/tools/vxdump/vxdump " + source + " 2>/dev/null").c_str()), 0)
      << "source text is no chunk";
}

}  // namespace
}  // namespace tembrovia
