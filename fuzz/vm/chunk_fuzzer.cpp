// Loads arbitrary bytes as a chunk and, when they load, runs them under an instruction
// budget and a memory ceiling, with a few native functions to call (an iterator, a failing
// command, a callback runner), exit-on-error off half of the time.
//
// Inputs that start with the chunk signature are loaded as they are. Any other input is
// code: its bytes become the instructions of a main function with fixed constants and one
// nested function, so that most inputs get past the verifier and reach the interpreter.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "vm/api.h"

namespace {

using namespace tembrovia;

int budget = 0;

ErrorCode Budget(VMState*, const HookEvent&) {
  budget -= 1000;
  return budget > 0 ? ERR_NONE : ERR_USERABORT;
}

int NextNative(VMState* L) {
  SetTop(L, 2);
  if (!IsTable(L, 1)) return ERR_TABEXPECTED;
  if (Next(L, 1)) return 2;
  PushNil(L);
  return 1;
}

int FailNative(VMState*) { return ERR_FINDBRUSH; }

int JumpNative(VMState* L) {
  SetLabelJump(L, static_cast<int>(ToNumber(L, 1)));
  return kLabelJump;
}

int CallbackNative(VMState* L) {
  if (!IsFunction(L, 1)) return 0;
  PushValue(L, 1);
  PushValue(L, 2);
  ErrorCode status = CallbackCall(L, 1, 1);
  return status == ERR_NONE ? 1 : status;
}

int SetMetatableNative(VMState* L) {
  SetTop(L, 2);
  SetMetatable(L, 1);
  return 1;
}

int GcNative(VMState* L) {
  CollectGarbage(L);
  return 0;
}

// Chunk bytes in this machine's (little-endian) order.
class ChunkText {
 public:
  void Byte(int b) { bytes += static_cast<char>(b); }
  void Int(uint32_t v) { bytes.append(reinterpret_cast<const char*>(&v), 4); }
  void Number(double d) { bytes.append(reinterpret_cast<const char*>(&d), 8); }
  void String(const char* s) {
    Int(static_cast<uint32_t>(std::strlen(s) + 1));
    bytes.append(s, std::strlen(s) + 1);
  }
  std::string bytes;
};

std::string CodeChunk(const uint8_t* data, size_t size) {
  ChunkText c;
  c.bytes = "\x1BVXB";
  c.Byte(1);
  for (int b : {4, 4, 4, 6, 8, 9, 9, 8}) c.Byte(b);
  c.Number(31415926.535897933);
  uint8_t shape = size > 0 ? data[0] : 0;
  // The main function.
  c.String("=fuzz");
  c.Int(0);
  c.Byte(0);                  // nups
  c.Byte(2);                  // params
  c.Byte(shape & 1);          // vararg
  c.Byte(8 + shape % 243);    // maxstack
  size_t words = size > 1 ? (size - 1) / 4 : 0;
  bool lines = (shape & 2) != 0;
  c.Int(lines ? static_cast<uint32_t>(words + 1) : 0);
  for (size_t i = 0; lines && i <= words; ++i) c.Int(static_cast<uint32_t>(i % 3));
  c.Int(0);  // locals
  c.Int(0);  // upvalue names
  const char* strings[] = {"x", "next", "__index", "__add", "", "fail", "jump", "callback", "setmetatable",
                           "collectgarbage", "__call", "__newindex", "__concat", "__eq", "__lt", "__le", "__mode"};
  const double numbers[] = {0, 1, -1, 1.5, 2147483648.0, -2147483648.0, 1e300, 31, 32};
  c.Int(static_cast<uint32_t>(1 + std::size(strings) + std::size(numbers)));
  c.Byte(0);
  for (const char* text : strings) {
    c.Byte(4);
    c.String(text);
  }
  for (double n : numbers) {
    c.Byte(3);
    c.Number(n);
  }
  c.Int(1);  // one nested function: returns its upvalue plus its argument
  c.Int(0);
  c.Int(0);
  c.Byte(1);
  c.Byte(1);
  c.Byte(0);
  c.Byte(3);
  c.Int(0);
  c.Int(0);
  c.Int(0);
  c.Int(0);
  c.Int(0);
  c.Int(3);
  c.Int(0x00000004u | (0u << 15) | (1u << 24));  // readupvalue r1, 0
  c.Int(0x0000000Bu | (1u << 15) | (0u << 6) | (0u << 24));  // add r0, r1, r0
  c.Int(0x00000022u | (2u << 15));  // return r0, 2
  c.Int(static_cast<uint32_t>(words + 1));
  for (size_t i = 0; i < words; ++i) {
    uint32_t word;
    std::memcpy(&word, data + 1 + 4 * i, 4);
    c.Int(word);
  }
  c.Int(0x00000022u | (1u << 15));  // return r0, 1
  return c.bytes;
}

void Register(VMState* L, const char* name, NativeFunction f) {
  PushNativeFunction(L, f);
  SetGlobal(L, name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VMState* L = NewState();
  if (L == nullptr) return 0;
  SetMemoryLimit(L, 4u << 20);
  Register(L, "next", NextNative);
  Register(L, "fail", FailNative);
  Register(L, "jump", JumpNative);
  Register(L, "callback", CallbackNative);
  Register(L, "setmetatable", SetMetatableNative);
  Register(L, "collectgarbage", GcNative);
  SetExitOnError(L, (size & 1) == 0);
  std::string code;
  if (size == 0 || data[0] != 0x1B) {
    code = CodeChunk(data, size);
    data = reinterpret_cast<const uint8_t*>(code.data());
    size = code.size();
  }
  if (LoadBuffer(L, data, size, "=fuzz") == ERR_NONE) {
    budget = 20000;
    SetHook(L, Budget, HookMaskCount, 1000);
    PushNumber(L, 1);
    PushString(L, "two");
    ProtectedCall(L, 2, kMultipleResults);
  }
  CloseState(L);
  return 0;
}
