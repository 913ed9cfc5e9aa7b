// The bytecode verifier. Besides the rules of the chunk format it checks everything the loop
// relies on to stay inside the frame, the constants, the upvalues and the nested prototypes,
// so that a hostile chunk cannot make the interpreter touch memory it does not own.
#include "vm/chunk.h"
#include "vm/opcodes.h"

namespace tembrovia {
namespace {

class Verifier {
 public:
  explicit Verifier(const Proto* p) : p_(p), count_(static_cast<int64_t>(p->sizecode)) {}

  bool Run() {
    if (p_->maxstacksize > kRkConstantBase) return false;
    if (p_->sizelineinfo != 0 && p_->sizelineinfo != p_->sizecode) return false;
    if (count_ == 0 || GetOp(p_->code[count_ - 1]) != OP_RETURN) return false;
    // The parameters and the vararg table live in the frame.
    if (p_->numparams + (p_->is_vararg ? 1 : 0) > p_->maxstacksize) return false;
    for (int64_t pc = 0; pc < count_; ++pc) {
      if (!Check(pc)) return false;
    }
    return true;
  }

 private:
  bool Reg(int64_t r) const { return r >= 0 && r < p_->maxstacksize; }
  bool Rk(int x) const {
    return x < p_->maxstacksize || (x >= kRkConstantBase && static_cast<uint32_t>(x - kRkConstantBase) < p_->sizek);
  }
  bool Target(int64_t pc) const { return pc >= 0 && pc < count_; }
  bool FollowedByJump(int64_t pc) const {
    return pc + 2 < count_ && GetOp(p_->code[pc + 1]) == OP_JUMP;
  }

  bool Check(int64_t pc) {
    Instruction i = p_->code[pc];
    int op = GetOp(i);
    int a = GetA(i), b = GetB(i), c = GetC(i), bx = GetBx(i);
    if (op != OP_JUMP && !Reg(a)) return false;
    if (op >= kOpcodeCount) return true;  // does nothing when run
    const OpcodeInfo& info = kOpcodes[op];
    if (info.format == OpFormat::ABC) {
      if ((info.flags & kBReg) && !Reg(b)) return false;
      if ((info.flags & kBRk) && !Rk(b)) return false;
      if ((info.flags & kCRk) && !Rk(c)) return false;
    } else if (info.format == OpFormat::ABx && (info.flags & kBxConst)) {
      if (static_cast<uint32_t>(bx) >= p_->sizek) return false;
    }
    if ((info.flags & kTest) && !FollowedByJump(pc)) return false;
    switch (op) {
      case OP_LOADFLAG:
        return c == 0 || pc + 2 < count_;
      case OP_READUPVALUE:
      case OP_WRITEUPVALUE:
        return b < p_->nups;
      case OP_READGLOBAL:
      case OP_WRITEGLOBAL:
        return p_->k[bx].tag == TagString;
      case OP_JOIN:
        return c < kRkConstantBase && b < c && Reg(c);
      case OP_JUMP:
        return Target(pc + 1 + GetSJ(i));
      case OP_NUMLOOP:
        return Reg(a + 2) && Target(pc + 1 + GetSBx(i));
      case OP_ITERPREP:
        return Reg(a + 1) && Target(pc + 1 + GetSBx(i));
      case OP_ITERLOOP:
        // The call area R[A+C+3..A+C+5] and the results R[A+2..A+C+2].
        return Reg(static_cast<int64_t>(a) + c + 5);
      case OP_CALL:
      case OP_CALLRETURN:
        if (b != 0 && !Reg(static_cast<int64_t>(a) + b - 1)) return false;
        if (c == 0) {
          if (pc + 1 >= count_) return false;
          Instruction next = p_->code[pc + 1];
          int nextOp = GetOp(next);
          bool consumer = ((nextOp == OP_CALL || nextOp == OP_CALLRETURN || nextOp == OP_RETURN) &&
                           GetB(next) == 0) ||
                          nextOp == OP_STORELISTTOP;
          if (!consumer) return false;
        }
        return c < 2 || Reg(static_cast<int64_t>(a) + c - 2);
      case OP_RETURN:
        // Only C = 1 is the subroutine return; any other C returns values like C = 0.
        return c == 1 || b < 2 || Reg(static_cast<int64_t>(a) + b - 2);
      case OP_STORELIST:
        return Reg(static_cast<int64_t>(a) + (bx & 31) + 1);
      case OP_CLEARRANGE:
        return true;  // B is a register (checked above)
      case OP_MAKECLOSURE: {
        if (static_cast<uint32_t>(bx) >= p_->sizep || p_->p[bx] == nullptr) return false;
        int nups = p_->p[bx]->nups;
        for (int j = 1; j <= nups; ++j) {
          if (pc + j >= count_) return false;
          Instruction pseudo = p_->code[pc + j];
          if (GetOp(pseudo) == OP_MOVE) {
            if (!Reg(GetB(pseudo))) return false;
          } else if (GetOp(pseudo) == OP_READUPVALUE) {
            if (GetB(pseudo) >= p_->nups) return false;
          } else {
            return false;
          }
        }
        return true;
      }
      case OP_METHOD:
        return Reg(a + 1);
      default:
        return true;
    }
  }

  const Proto* p_;
  int64_t count_;
};

}  // namespace

bool VerifyProto(const Proto* p) { return Verifier(p).Run(); }

}  // namespace tembrovia
