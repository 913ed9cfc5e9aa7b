#include "vm/debug_names.h"

#include "vm/object.h"
#include "vm/opcodes.h"

namespace tembrovia {
namespace {

std::string ConstantString(const Proto* p, int rk) {
  if (rk < kRkConstantBase) return {};
  uint32_t index = static_cast<uint32_t>(rk - kRkConstantBase);
  if (index >= p->sizek || p->k[index].tag != TagString) return {};
  const InternedString* s = AsString(p->k[index]);
  return std::string(s->data(), s->length);
}

// The instruction before lastpc that last wrote reg, following forward jumps that stay
// before lastpc; -1 when none.
int LastSetter(const Proto* p, int lastpc, int reg) {
  int last = -1;
  for (int pc = 0; pc < lastpc; ++pc) {
    Instruction i = p->code[pc];
    int op = GetOp(i);
    int a = GetA(i);
    if (op >= kOpcodeCount) continue;
    switch (op) {
      case OP_CLEARRANGE:
        if (a <= reg && reg <= GetB(i)) last = pc;
        break;
      case OP_CALL:
      case OP_CALLRETURN:
        if (reg >= a) last = pc;
        break;
      case OP_ITERLOOP:
        if (reg >= a + 2) last = pc;
        break;
      case OP_JUMP: {
        int dest = pc + 1 + GetSJ(i);
        if (dest > pc && dest <= lastpc) pc = dest - 1;
        break;
      }
      case OP_MAKECLOSURE: {
        if (a == reg) last = pc;
        uint32_t bx = static_cast<uint32_t>(GetBx(i));
        if (bx < p->sizep) pc += p->p[bx]->nups;
        break;
      }
      default:
        if ((kOpcodes[op].flags & kSetsA) && a == reg) last = pc;
        break;
    }
  }
  return last;
}

}  // namespace

const InternedString* LocalName(const Proto* p, int n, int pc) {
  for (uint32_t i = 0; i < p->sizelocvars && p->locvars[i].startpc <= pc; ++i) {
    if (pc < p->locvars[i].endpc) {
      if (--n == 0) return p->locvars[i].name;
    }
  }
  return nullptr;
}

ValueName NameOfRegister(const Proto* p, int lastpc, int reg) {
  for (int depth = 0; depth < 64; ++depth) {
    const InternedString* local = LocalName(p, reg + 1, lastpc);
    if (local != nullptr) return {std::string(local->data(), local->length), "local"};
    int setter = LastSetter(p, lastpc, reg);
    if (setter < 0) return {};
    Instruction i = p->code[setter];
    switch (GetOp(i)) {
      case OP_READGLOBAL: {
        uint32_t bx = static_cast<uint32_t>(GetBx(i));
        if (bx < p->sizek && p->k[bx].tag == TagString) {
          return {std::string(AsString(p->k[bx])->data(), AsString(p->k[bx])->length), "global"};
        }
        return {};
      }
      case OP_READFIELD: {
        std::string key = ConstantString(p, GetC(i));
        if (key.empty()) return {};
        return {key, "field"};
      }
      case OP_METHOD: {
        std::string key = ConstantString(p, GetC(i));
        if (key.empty()) return {};
        return {key, "method"};
      }
      case OP_MOVE:
        if (GetB(i) < GetA(i)) {
          lastpc = setter;
          reg = GetB(i);
          continue;
        }
        return {};
      default:
        return {};
    }
  }
  return {};
}

int CurrentPc(const CallFrame* ci) {
  const Proto* p = FrameClosure(ci)->script.proto;
  int pc = static_cast<int>(ci->savedpc - p->code) - 1;
  return pc < 0 ? 0 : pc;
}

ValueName NameOfCalledFunction(VMState* L, const CallFrame* ci) {
  if (ci <= L->baseCi + 1 || ci->tailcalls > 0) return {};
  const CallFrame* caller = ci - 1;
  if (!IsScriptFrame(caller)) return {};
  const Proto* p = FrameClosure(caller)->script.proto;
  int pc = CurrentPc(caller);
  Instruction i = p->code[pc];
  if (GetOp(i) != OP_CALL && GetOp(i) != OP_CALLRETURN) return {};
  return NameOfRegister(p, pc, GetA(i));
}

ValueName NameOfSlot(VMState* L, const Value* slot) {
  const CallFrame* ci = L->ci;
  if (!IsScriptFrame(ci) || slot < ci->base || slot >= ci->top) return {};
  const Proto* p = FrameClosure(ci)->script.proto;
  return NameOfRegister(p, CurrentPc(ci), static_cast<int>(slot - ci->base));
}

}  // namespace tembrovia
