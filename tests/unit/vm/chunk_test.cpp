// The chunk loader, the verifier and the dumper.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "vm/opcodes.h"
#include "vm_fixture.h"

namespace tembrovia {
namespace {

// Writes chunk bytes field by field, in either byte order, so that tests can build chunks
// the assembler would never produce.
class ChunkBytes {
 public:
  explicit ChunkBytes(bool bigEndian = false) : big_(bigEndian) {}

  ChunkBytes& Header(double testNumber = 31415926.535897933) {
    bytes_ += "\x1BVXB";
    bytes_ += static_cast<char>(big_ ? 0 : 1);
    for (char c : {4, 4, 4, 6, 8, 9, 9, 8}) bytes_ += c;
    return Number(testNumber);
  }
  ChunkBytes& Int(uint32_t v) {
    unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                          static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    Put(b, 4);
    return *this;
  }
  ChunkBytes& Number(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    unsigned char b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(bits >> (8 * i));
    Put(b, 8);
    return *this;
  }
  ChunkBytes& Byte(int b) {
    bytes_ += static_cast<char>(b);
    return *this;
  }
  ChunkBytes& String(const std::string& s) {
    Int(static_cast<uint32_t>(s.size() + 1));
    bytes_ += s;
    bytes_ += '\0';
    return *this;
  }
  // A function: source, lineDefined, nups, params, vararg, maxstack, no lines, locals or
  // upvalue names, the given number constants, no nested functions, the given code.
  ChunkBytes& Function(const std::vector<uint32_t>& code, const std::vector<double>& constants = {},
                       int maxstack = 2, int nups = 0) {
    String("=t").Int(0).Byte(nups).Byte(0).Byte(0).Byte(maxstack);
    Int(0).Int(0).Int(0);
    Int(static_cast<uint32_t>(constants.size()));
    for (double k : constants) Byte(TagNumber).Number(k);
    Int(0);
    Int(static_cast<uint32_t>(code.size()));
    for (uint32_t i : code) Int(i);
    return *this;
  }
  const std::string& bytes() const { return bytes_; }

 private:
  void Put(const unsigned char* b, int n) {
    for (int i = 0; i < n; ++i) bytes_ += static_cast<char>(b[big_ ? n - 1 - i : i]);
  }
  bool big_;
  std::string bytes_;
};

const uint32_t kReturnConstant[] = {MakeABx(OP_LOADCONST, 0, 0), MakeABC(OP_RETURN, 0, 2, 0)};

class ChunkTest : public VmTest {
 protected:
  ErrorCode LoadBytes(const std::string& bytes) {
    int top = GetTop(L);
    ErrorCode status = LoadBuffer(L, bytes.data(), bytes.size(), "=chunk");
    EXPECT_EQ(GetTop(L), top + (status == ERR_NONE ? 1 : 0));
    return status;
  }
  // Loads and calls; the first result as a number.
  double LoadAndRun(const std::string& bytes) {
    SetTop(L, 0);
    EXPECT_EQ(LoadBytes(bytes), ERR_NONE);
    EXPECT_EQ(ProtectedCall(L, 0, 1), ERR_NONE);
    return ToNumber(L, -1);
  }
  std::vector<uint32_t> ReturnConstant() { return {std::begin(kReturnConstant), std::end(kReturnConstant)}; }
};

TEST_F(ChunkTest, LittleAndBigEndianChunksLoad) {
  EXPECT_EQ(LoadAndRun(ChunkBytes(false).Header().Function(ReturnConstant(), {42}).bytes()), 42);
  EXPECT_EQ(LoadAndRun(ChunkBytes(true).Header().Function(ReturnConstant(), {42.5}).bytes()), 42.5);
}

TEST_F(ChunkTest, OnlyTheIntegerPartOfTheTestNumberCounts) {
  EXPECT_EQ(LoadAndRun(ChunkBytes().Header(31415926.9).Function(ReturnConstant(), {1}).bytes()), 1);
  EXPECT_EQ(LoadBytes(ChunkBytes().Header(31415927.0).Function(ReturnConstant(), {1}).bytes()), ERR_UNKNUMFMT);
}

TEST_F(ChunkTest, HeaderErrors) {
  EXPECT_EQ(LoadBytes("print(\"hello\")"), ERR_BADSIGNATURE);
  std::string good = ChunkBytes().Header().Function(ReturnConstant(), {1}).bytes();
  for (size_t at = 5; at < 13; ++at) {
    std::string bad = good;
    bad[at] = 5;
    EXPECT_EQ(LoadBytes(bad), ERR_VMMISMATCH) << at;
  }
  EXPECT_EQ(LoadBytes(""), ERR_UNEXPECTEDEOF);
}

TEST_F(ChunkTest, TruncatedAnywhereFailsWithUnexpectedEnd) {
  AssemblyResult chunk = Assemble(R"(
    .function main
      .line 3
      .local "x", 0, 2
      .function inner
        .upvalue "u"
        readupvalue r0, 0
        return r0, 2
      .end
      loadconst r0, "text"
      makeclosure r1, inner
      move r0, r0
      return r0, 2
    .end
  )");
  ASSERT_TRUE(chunk.ok()) << chunk.error;
  ASSERT_EQ(LoadBytes(chunk.chunk), ERR_NONE);
  for (size_t length = 0; length < chunk.chunk.size(); ++length) {
    EXPECT_EQ(LoadBytes(chunk.chunk.substr(0, length)), ERR_UNEXPECTEDEOF) << length;
  }
}

TEST_F(ChunkTest, BadCountsAndConstants) {
  // A negative count, an upvalue-name count that is neither 0 nor nups, a bad constant tag,
  // and a count far beyond the data (refused before anything is allocated for it).
  ChunkBytes negative;
  negative.Header().String("=t").Int(0xFFFFFFFF);
  EXPECT_EQ(LoadBytes(negative.bytes()), ERR_BADINTEGER);

  ChunkBytes upvalues;
  upvalues.Header().String("=t").Int(0).Byte(2).Byte(0).Byte(0).Byte(2).Int(0).Int(0).Int(1).String("u");
  EXPECT_EQ(LoadBytes(upvalues.bytes()), ERR_BADUPVALUES);

  ChunkBytes constant;
  constant.Header().String("=t").Int(0).Byte(0).Byte(0).Byte(0).Byte(2).Int(0).Int(0).Int(0).Int(1).Byte(5);
  EXPECT_EQ(LoadBytes(constant.bytes()), ERR_BADCONSTANT);

  ChunkBytes huge;
  huge.Header().String("=t").Int(0).Byte(0).Byte(0).Byte(0).Byte(2).Int(0x7FFFFFFF);
  EXPECT_EQ(LoadBytes(huge.bytes()), ERR_UNEXPECTEDEOF);
}

TEST_F(ChunkTest, UpvalueNameCountZeroIsAcceptedForAnyNups) {
  std::vector<uint32_t> code = {MakeABC(OP_READUPVALUE, 0, 0, 0), MakeABC(OP_RETURN, 0, 2, 0)};
  // The main function declares an upvalue it is never given: it reads as nil.
  SetTop(L, 0);
  ASSERT_EQ(LoadBytes(ChunkBytes().Header().Function(code, {}, 2, 1).bytes()), ERR_NONE);
  ASSERT_EQ(ProtectedCall(L, 0, 1), ERR_NONE);
  EXPECT_TRUE(IsNil(L, -1));
}

// Each case is one function body that the verifier must refuse.
TEST_F(ChunkTest, VerifierRefusesUnsafeCode) {
  struct Case {
    const char* what;
    std::vector<uint32_t> code;
    int maxstack = 4;
    int constants = 1;
  };
  const uint32_t ret = MakeABC(OP_RETURN, 0, 1, 0);
  const std::vector<Case> cases = {
      {"no final return", {MakeABC(OP_MOVE, 0, 1, 0)}},
      {"jump out of the code", {MakeJump(5, 0), ret}},
      {"jump before the code", {MakeJump(-3, 0), ret}},
      {"register A beyond the frame", {MakeABC(OP_MOVE, 4, 0, 0), ret}},
      {"register B beyond the frame", {MakeABC(OP_MOVE, 0, 9, 0), ret}},
      {"constant beyond the list", {MakeABC(OP_ADD, 0, 251, 0), ret}},
      {"loadconst beyond the list", {MakeABx(OP_LOADCONST, 0, 1), ret}},
      {"readglobal of a number", {MakeABx(OP_READGLOBAL, 0, 0), ret}},
      {"test without a jump", {MakeABC(OP_IFEQUAL, 0, 0, 1), MakeABC(OP_MOVE, 0, 0, 0), ret}},
      {"test with the jump last", {MakeABC(OP_IFEQUAL, 0, 0, 1), MakeJump(-1, 0)}},
      {"upvalue beyond nups", {MakeABC(OP_READUPVALUE, 0, 0, 0), ret}},
      {"join beyond the frame", {MakeABC(OP_JOIN, 0, 0, 7), ret}},
      {"join backwards", {MakeABC(OP_JOIN, 0, 2, 1), ret}},
      {"call arguments beyond the frame", {MakeABC(OP_CALL, 2, 3, 1), ret}},
      {"call results beyond the frame", {MakeABC(OP_CALL, 2, 1, 4), ret}},
      {"open call not consumed", {MakeABC(OP_CALL, 0, 1, 0), MakeABC(OP_MOVE, 0, 0, 0), ret}},
      {"return values beyond the frame", {MakeABC(OP_RETURN, 2, 4, 0)}},
      {"return values beyond the frame with C = 8", {MakeABC(OP_RETURN, 1, 138, 8)}},
      {"storelist beyond the frame", {MakeABx(OP_STORELIST, 0, 3), ret}},
      {"numloop beyond the frame", {MakeAsBx(OP_NUMLOOP, 2, -1), ret}},
      {"numloop jumping out", {MakeAsBx(OP_NUMLOOP, 0, 40), ret}},
      {"iterprep jumping out", {MakeAsBx(OP_ITERPREP, 0, -40), ret}},
      {"iterloop call area beyond the frame", {MakeABC(OP_ITERLOOP, 0, 0, 0), MakeJump(-2, 0), ret}},
      {"closure of a missing prototype", {MakeABx(OP_MAKECLOSURE, 0, 0), ret}},
      {"method beyond the frame", {MakeABC(OP_METHOD, 3, 0, 250), ret}},
      {"too many registers", {ret}, 251},
      {"loadflag skipping past the end", {MakeABC(OP_LOADFLAG, 0, 1, 1), ret}},
  };
  for (const Case& c : cases) {
    std::vector<double> constants(static_cast<size_t>(c.constants), 1.0);
    EXPECT_EQ(LoadBytes(ChunkBytes().Header().Function(c.code, constants, c.maxstack).bytes()), ERR_BADBYTECODE)
        << c.what;
  }
  // The same checks let well-formed code through.
  EXPECT_EQ(LoadBytes(ChunkBytes().Header().Function({MakeABC(OP_ADD, 0, 250, 3), ret}, {1.0}, 4).bytes()), ERR_NONE);
}

TEST_F(ChunkTest, TooFewRegistersForTheParametersAreRefused) {
  ChunkBytes bytes;
  bytes.Header().String("=t").Int(0).Byte(0).Byte(3).Byte(1).Byte(3);
  bytes.Int(0).Int(0).Int(0).Int(0).Int(0).Int(1).Int(MakeABC(OP_RETURN, 0, 1, 0));
  EXPECT_EQ(LoadBytes(bytes.bytes()), ERR_BADBYTECODE);
}

TEST_F(ChunkTest, DumpThenLoadGivesAnEquivalentFunction) {
  ASSERT_EQ(Load(R"(
    .params 1
    .function twice
      .params 1
      add r0, r0, r0
      return r0, 2
    .end
    makeclosure r1, twice
    move r2, r0
    call r1, 2, 2
    loadconst r2, "!"
    join r1, r1, r2
    return r1, 2
  )"), ERR_NONE);
  std::string dumped;
  auto writer = [](VMState*, const void* bytes, size_t size, void* data) {
    static_cast<std::string*>(data)->append(static_cast<const char*>(bytes), size);
    return 0;
  };
  ASSERT_EQ(DumpFunction(L, -1, writer, &dumped), ERR_NONE);
  EXPECT_EQ(dumped[4], 1);  // this machine's byte order
  SetTop(L, 0);
  ASSERT_EQ(LoadBytes(dumped), ERR_NONE);
  PushNumber(L, 21);
  ASSERT_EQ(ProtectedCall(L, 1, 1), ERR_NONE);
  EXPECT_EQ(StringAt(-1), "42!");

  PushNativeFunction(L, [](VMState*) { return 0; });
  std::string nothing;
  EXPECT_EQ(DumpFunction(L, -1, writer, &nothing), ERR_NOVXFUNC);
  EXPECT_TRUE(nothing.empty());
}

TEST_F(ChunkTest, ChunkNamesBecomeSourcesWhenTheChunkHasNone) {
  ChunkBytes bytes;
  bytes.Header().Int(0).Int(0).Byte(0).Byte(0).Byte(0).Byte(2).Int(0).Int(0).Int(0).Int(0).Int(0);
  bytes.Int(1).Int(MakeABC(OP_RETURN, 0, 1, 0));
  ASSERT_EQ(LoadBuffer(L, bytes.bytes().data(), bytes.bytes().size(), "@script.vxs"), ERR_NONE);
  DebugInfo info;
  info.frameIndex = 0;
  // The label drops the "@".
  PushValue(L, -1);
  std::string dumped;
  auto writer = [](VMState*, const void* b, size_t size, void* data) {
    static_cast<std::string*>(data)->append(static_cast<const char*>(b), size);
    return 0;
  };
  ASSERT_EQ(DumpFunction(L, -1, writer, &dumped), ERR_NONE);
  EXPECT_NE(dumped.find("script.vxs"), std::string::npos);
  EXPECT_EQ(dumped.find("@script.vxs"), std::string::npos);
}

}  // namespace
}  // namespace tembrovia
