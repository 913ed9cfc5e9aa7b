// Instruction encoding and the opcode table. Fields of a 32-bit instruction: op bits 0-5,
// C bits 6-14, B bits 15-23, A bits 24-31; Bx (unsigned) and sBx (Bx - 131071) are bits
// 6-23; the jump offset sJ is bits 6-29 less 8388607, with the subroutine flag G in bits
// 30-31.
#pragma once

#include <cstdint>
#include <string_view>

namespace tembrovia {

enum class OpFormat : uint8_t { ABC, ABx, AsBx, J };

// Operand flags.
constexpr uint8_t kBReg = 1;     // B is a register
constexpr uint8_t kBRk = 2;      // B is a register or a constant
constexpr uint8_t kCRk = 4;      // C is a register or a constant
constexpr uint8_t kBxConst = 8;  // Bx indexes a constant
constexpr uint8_t kSetsA = 16;   // writes R[A]
constexpr uint8_t kTest = 32;    // followed by a jump it takes or skips

enum OpCode : uint8_t {
#define TEMBROVIA_OPCODE(number, name, format, flags) OP_##name = number,
#include "vm/opcodes.def"
#undef TEMBROVIA_OPCODE
};
constexpr int kOpcodeCount = 43;

struct OpcodeInfo {
  const char* name;  // without the "OP_" prefix
  OpFormat format;
  uint8_t flags;
};
extern const OpcodeInfo kOpcodes[kOpcodeCount];

// Looks up an opcode by name (case-insensitive, with or without "OP_"); -1 when unknown.
int FindOpcode(std::string_view name);

constexpr int kRkConstantBase = 250;
constexpr int kMaxBx = (1 << 18) - 1;
constexpr int kBiasSBx = 131071;
constexpr int kBiasSJ = 8388607;
constexpr int kMaxSJField = (1 << 24) - 1;
constexpr uint32_t kSubroutineFlag = 2;  // G field of a jump that pushes its return position

constexpr int GetOp(uint32_t i) { return static_cast<int>(i & 0x3F); }
constexpr int GetA(uint32_t i) { return static_cast<int>(i >> 24); }
constexpr int GetB(uint32_t i) { return static_cast<int>((i >> 15) & 0x1FF); }
constexpr int GetC(uint32_t i) { return static_cast<int>((i >> 6) & 0x1FF); }
constexpr int GetBx(uint32_t i) { return static_cast<int>((i >> 6) & 0x3FFFF); }
constexpr int GetSBx(uint32_t i) { return GetBx(i) - kBiasSBx; }
constexpr int GetSJ(uint32_t i) { return static_cast<int>((i >> 6) & 0xFFFFFF) - kBiasSJ; }
constexpr uint32_t GetG(uint32_t i) { return i >> 30; }

constexpr uint32_t MakeABC(int op, int a, int b, int c) {
  return static_cast<uint32_t>(op) | (static_cast<uint32_t>(c) << 6) |
         (static_cast<uint32_t>(b) << 15) | (static_cast<uint32_t>(a) << 24);
}
constexpr uint32_t MakeABx(int op, int a, int bx) {
  return static_cast<uint32_t>(op) | (static_cast<uint32_t>(bx) << 6) |
         (static_cast<uint32_t>(a) << 24);
}
constexpr uint32_t MakeAsBx(int op, int a, int sbx) { return MakeABx(op, a, sbx + kBiasSBx); }
constexpr uint32_t MakeJump(int sj, uint32_t g) {
  return static_cast<uint32_t>(OP_JUMP) | (static_cast<uint32_t>(sj + kBiasSJ) << 6) | (g << 30);
}

}  // namespace tembrovia
