#include <set>
#include <string>

#include "asm/asm_text.h"
#include "asm/assembler.h"
#include "vm/api.h"
#include "vm/opcodes.h"
#include "vm/state.h"
#include "vm/string_table.h"

namespace tembrovia {
namespace {

class Lister {
 public:
  std::string out;

  void Function(const Proto* p, const InternedString* parentSource, const std::string& name, int depth) {
    std::string indent(static_cast<size_t>(depth) * 2, ' ');
    Line(indent, ".function " + name);
    std::string in = indent + "  ";
    if (p->source != nullptr && p->source != parentSource) Line(in, ".source " + QuoteString(View(p->source)));
    Line(in, ".linedefined " + std::to_string(p->lineDefined));
    Line(in, ".params " + std::to_string(p->numparams));
    if (p->is_vararg) Line(in, ".vararg " + std::to_string(p->is_vararg));
    Line(in, ".maxstack " + std::to_string(p->maxstacksize));
    Line(in, ".upvalues " + std::to_string(p->nups));
    for (uint32_t i = 0; i < p->sizeupvalues; ++i) {
      Line(in, ".upvalue " + QuoteString(p->upvalues[i] ? View(p->upvalues[i]) : ""));
    }
    for (uint32_t i = 0; i < p->sizelocvars; ++i) {
      const LocalVariable& v = p->locvars[i];
      Line(in, ".local " + QuoteString(v.name ? View(v.name) : "") + ", " + std::to_string(v.startpc) +
                   ", " + std::to_string(v.endpc));
    }
    for (uint32_t i = 0; i < p->sizek; ++i) {
      const Value& k = p->k[i];
      std::string text = k.tag == TagNumber ? FormatAsmNumber(k.n)
                         : k.tag == TagString ? QuoteString(View(AsString(k)))
                                              : "nil";
      Line(in, ".const " + text + "  ; k" + std::to_string(i));
    }
    for (uint32_t i = 0; i < p->sizep; ++i) Function(p->p[i], p->source, ChildName(name, i), depth + 1);

    std::set<int64_t> targets = JumpTargets(p);
    int line = -1;
    for (uint32_t pc = 0; pc < p->sizecode; ++pc) {
      if (targets.count(pc)) Line(indent, "L" + std::to_string(pc) + ":");
      if (p->sizelineinfo != 0 && p->lineinfo[pc] != line) {
        line = p->lineinfo[pc];
        Line(in, ".line " + std::to_string(line));
      }
      Line(in, Render(p, pc, name));
    }
    Line(indent, ".end");
  }

 private:
  static std::string ChildName(const std::string& parent, uint32_t index) {
    return (parent == "main" ? std::string("f") : parent + "_") + std::to_string(index);
  }

  void Line(const std::string& indent, const std::string& text) { out += indent + text + "\n"; }

  static int64_t TargetOf(const Proto* p, uint32_t pc) {
    Instruction i = p->code[pc];
    int op = GetOp(i);
    if (op == OP_JUMP) return pc + 1 + static_cast<int64_t>(GetSJ(i));
    if (op == OP_NUMLOOP || op == OP_ITERPREP) return pc + 1 + static_cast<int64_t>(GetSBx(i));
    return -1;
  }

  static std::set<int64_t> JumpTargets(const Proto* p) {
    std::set<int64_t> targets;
    for (uint32_t pc = 0; pc < p->sizecode; ++pc) {
      int64_t t = TargetOf(p, pc);
      if (t >= 0 && t < p->sizecode) targets.insert(t);
    }
    return targets;
  }

  static std::string Lower(const char* name) {
    std::string s(name);
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return s;
  }

  static std::string Reg(int r) { return "r" + std::to_string(r); }
  static std::string Rk(int x) { return x >= kRkConstantBase ? "k" + std::to_string(x - kRkConstantBase) : Reg(x); }

  static std::string Render(const Proto* p, uint32_t pc, const std::string& name) {
    Instruction i = p->code[pc];
    int op = GetOp(i);
    char word[16];
    std::snprintf(word, sizeof word, "0x%08X", i);
    if (op >= kOpcodeCount) return ".word " + std::string(word);
    const OpcodeInfo& info = kOpcodes[op];
    std::string text = Lower(info.name);
    auto targetText = [&](int64_t offset) {
      int64_t target = pc + 1 + offset;
      return target >= 0 && target < p->sizecode ? "L" + std::to_string(target) : std::to_string(offset);
    };
    if (info.format == OpFormat::J) {
      text += " " + targetText(GetSJ(i));
      if (GetG(i) == kSubroutineFlag) {
        text += ", sub";
      } else if (GetG(i) != 0) {
        text += ", " + std::to_string(GetG(i));
      }
      return text;
    }
    int a = GetA(i);
    bool registerA = (info.flags & kSetsA) || op == OP_WRITEGLOBAL || op == OP_WRITEUPVALUE ||
                     op == OP_WRITEFIELD || op == OP_CALL || op == OP_CALLRETURN || op == OP_RETURN ||
                     op == OP_NUMLOOP || op == OP_ITERLOOP || op == OP_ITERPREP || op == OP_STORELIST ||
                     op == OP_STORELISTTOP || op == OP_CLOSEUPVALUES;
    text += " " + (registerA ? Reg(a) : std::to_string(a));
    switch (info.format) {
      case OpFormat::ABC: {
        int b = GetB(i), c = GetC(i);
        text += ", " + ((info.flags & kBRk) ? Rk(b) : (info.flags & kBReg) ? Reg(b) : std::to_string(b));
        text += ", " + ((info.flags & kCRk) ? Rk(c) : std::to_string(c));
        break;
      }
      case OpFormat::ABx:
        if (info.flags & kBxConst) {
          text += ", k" + std::to_string(GetBx(i));
        } else if (op == OP_MAKECLOSURE && static_cast<uint32_t>(GetBx(i)) < p->sizep) {
          text += ", " + ChildName(name, static_cast<uint32_t>(GetBx(i)));
        } else {
          text += ", " + std::to_string(GetBx(i));
        }
        break;
      case OpFormat::AsBx:
        text += ", " + targetText(GetSBx(i));
        break;
      default:
        break;
    }
    return text;
  }
};

struct Source {
  std::string_view bytes;
};

}  // namespace

DisassemblyResult Disassemble(std::string_view chunk) {
  DisassemblyResult result;
  VMState* L = NewState();
  if (L == nullptr) {
    result.error = "out of memory";
    return result;
  }
  ErrorCode status = LoadBuffer(L, chunk.data(), chunk.size(), "=chunk");
  if (status != ERR_NONE) {
    result.error = "cannot load the chunk: error " + std::to_string(status);
  } else {
    const Value& f = L->top[-1];
    Lister lister;
    lister.out = "; a chunk listing: vxasm reads it back\n";
    lister.Function(AsClosure(f)->script.proto, nullptr, "main", 0);
    result.listing = std::move(lister.out);
  }
  CloseState(L);
  return result;
}

}  // namespace tembrovia
