#include "asm/assembler.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

#include "asm/asm_text.h"
#include "common/latin1_case.h"
#include "vm/api.h"
#include "vm/chunk.h"
#include "vm/function.h"
#include "vm/memory.h"
#include "vm/opcodes.h"
#include "vm/string_table.h"

namespace tembrovia {
namespace {

struct AsmError : std::runtime_error {
  AsmError(int line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message) {}
};

struct Operand {
  enum Kind { Register, ConstantIndex, Number, String, Name, Nil, True, False, Scratch };
  Kind kind = Number;
  int64_t index = 0;  // register, constant index or scratch offset
  double number = 0;
  std::string text;   // string literal or name
};

struct Item {
  int op = -1;  // -1: a raw word
  uint32_t word = 0;
  std::vector<Operand> operands;
  int line = 0;      // source line for the line information
  int textLine = 0;  // line of the assembly text
};

struct ConstantEntry {
  int tag = TagNil;
  double number = 0;
  std::string text;
};

struct LocalEntry {
  std::string name;
  Operand start, end;
  int textLine = 0;
};

struct FunctionDraft {
  std::string name;
  std::optional<std::string> source;
  int lineDefined = 0;
  int nups = -1;
  int numparams = 0;
  int vararg = 0;
  int maxstack = -1;
  int scratch = -1;
  std::vector<std::string> upvalueNames;
  std::vector<LocalEntry> locals;
  std::vector<ConstantEntry> constants;
  std::vector<Item> code;
  std::map<std::string, int> labels;
  std::vector<std::unique_ptr<FunctionDraft>> children;
  bool hasLines = false;
  int currentLine = 0;
  int startLine = 0;
  bool usesScratch = false;
};

// A literal operand as a constant: nil, a number or a string.
ConstantEntry ConstantOf(const Operand& o, int line) {
  ConstantEntry c;
  if (o.kind == Operand::Number) {
    c.tag = TagNumber;
    c.number = o.number;
  } else if (o.kind == Operand::String) {
    c.tag = TagString;
    c.text = o.text;
  } else if (o.kind != Operand::Nil) {
    throw AsmError(line, "a constant is nil, a number or a string");
  }
  return c;
}

bool IsRegisterToken(std::string_view t) {
  if (t.size() < 2 || (t[0] != 'r' && t[0] != 'R')) return false;
  for (size_t i = 1; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
  }
  return true;
}

bool IsConstantToken(std::string_view t) {
  if (t.size() < 2 || (t[0] != 'k' && t[0] != 'K')) return false;
  for (size_t i = 1; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
  }
  return true;
}

class Parser {
 public:
  Parser(const AssemblyOptions& options) : options_(options) {}

  std::unique_ptr<FunctionDraft> Parse(std::string_view text) {
    std::vector<std::string> lines = SplitLines(text);
    implicitMain_ = HasTopLevelCode(lines);
    if (implicitMain_) {
      // Everything belongs to an implicit main; top-level .function blocks nest in it.
      root_ = std::make_unique<FunctionDraft>();
      root_->name = "main";
      root_->startLine = 1;
      stack_.push_back(root_.get());
    }
    for (size_t n = 0; n < lines.size(); ++n) {
      line_ = static_cast<int>(n + 1);
      ParseLine(lines[n]);
    }
    if (stack_.size() != (implicitMain_ ? 1u : 0u)) throw AsmError(line_, "missing .end");
    if (!root_) throw AsmError(line_, "no code");
    return std::move(root_);
  }

 private:
  // True when some statement stands outside every .function block.
  static bool HasTopLevelCode(const std::vector<std::string>& lines) {
    int depth = 0;
    for (const std::string& raw : lines) {
      std::string body = Trim(StripComment(raw));
      if (body.empty()) continue;
      std::string word = Latin1Lower(body.substr(0, body.find_first_of(" \t")));
      if (word == ".function") {
        ++depth;
      } else if (word == ".end") {
        --depth;
      } else if (depth == 0 && word != ".define") {
        return true;
      }
    }
    return false;
  }

  FunctionDraft& Current() {
    if (stack_.empty()) {
      if (root_) throw AsmError(line_, "code after the main function's .end");
      root_ = std::make_unique<FunctionDraft>();
      root_->name = "main";
      root_->startLine = line_;
      stack_.push_back(root_.get());
    }
    return *stack_.back();
  }

  void ParseLine(const std::string& raw) {
    std::string body = Trim(StripComment(raw));
    if (body.empty()) return;
    // Labels: "name:" (possibly followed by an instruction).
    size_t colon = body.find(':');
    if (colon != std::string::npos && body[0] != '.' && body.find('"') > colon) {
      std::string label = Trim(body.substr(0, colon));
      if (IsIdentifier(label)) {
        FunctionDraft& f = Current();
        if (f.labels.count(label)) throw AsmError(line_, "label defined twice: " + label);
        f.labels[label] = static_cast<int>(f.code.size());
        body = Trim(body.substr(colon + 1));
        if (body.empty()) return;
      }
    }
    size_t space = body.find_first_of(" \t");
    std::string word = body.substr(0, space);
    std::string rest = space == std::string::npos ? "" : Trim(body.substr(space));
    if (word[0] == '.') {
      Directive(Latin1Lower(word), rest);
    } else {
      Instruction(Latin1Lower(word), rest);
    }
  }

  void Directive(const std::string& name, const std::string& rest) {
    std::vector<std::string> args = SplitOperands(rest, line_);
    auto number = [&](size_t i) -> int64_t {
      if (i >= args.size()) throw AsmError(line_, name + " needs an argument");
      return static_cast<int64_t>(NumberOf(args[i]));
    };
    if (name == ".function") {
      auto draft = std::make_unique<FunctionDraft>();
      draft->name = args.empty() ? "" : args[0];
      draft->startLine = line_;
      FunctionDraft* raw = draft.get();
      if (stack_.empty()) {
        if (root_) throw AsmError(line_, "only one main function");
        root_ = std::move(draft);
      } else {
        stack_.back()->children.push_back(std::move(draft));
      }
      stack_.push_back(raw);
      return;
    }
    if (name == ".define") {
      if (args.size() != 2) throw AsmError(line_, ".define NAME, value");
      defines_[Latin1Lower(args[0])] = NumberOf(args[1]);
      return;
    }
    FunctionDraft& f = Current();
    if (name == ".end") {
      stack_.pop_back();
    } else if (name == ".source") {
      f.source = StringOf(args.empty() ? "" : args[0]);
    } else if (name == ".linedefined") {
      f.lineDefined = static_cast<int>(number(0));
    } else if (name == ".params") {
      f.numparams = static_cast<int>(number(0));
    } else if (name == ".vararg") {
      f.vararg = args.empty() ? 1 : static_cast<int>(number(0));
    } else if (name == ".maxstack") {
      f.maxstack = static_cast<int>(number(0));
    } else if (name == ".upvalues") {
      f.nups = static_cast<int>(number(0));
    } else if (name == ".upvalue") {
      f.upvalueNames.push_back(StringOf(args.empty() ? "" : args[0]));
    } else if (name == ".scratch") {
      f.scratch = static_cast<int>(number(0));
    } else if (name == ".line") {
      f.hasLines = true;
      f.currentLine = static_cast<int>(number(0));
    } else if (name == ".local") {
      if (args.size() != 3) throw AsmError(line_, ".local \"name\", start, end");
      f.locals.push_back({StringOf(args[0]), OperandOf(args[1]), OperandOf(args[2]), line_});
    } else if (name == ".const") {
      if (args.size() != 1) throw AsmError(line_, ".const value");
      f.constants.push_back(ConstantOf(OperandOf(args[0]), line_));
    } else if (name == ".word") {
      Item item;
      item.word = static_cast<uint32_t>(number(0));
      Add(f, item);
    } else {
      throw AsmError(line_, "unknown directive " + name);
    }
  }

  void Add(FunctionDraft& f, Item item) {
    item.line = f.hasLines ? f.currentLine : f.lineDefined;
    item.textLine = line_;
    f.code.push_back(std::move(item));
  }

  void Instruction(const std::string& mnemonic, const std::string& rest) {
    FunctionDraft& f = Current();
    std::string operandText = rest;
    std::string resultText;
    size_t arrow = FindOutsideQuotes(rest, "=>");
    if (arrow != std::string::npos) {
      operandText = Trim(rest.substr(0, arrow));
      resultText = Trim(rest.substr(arrow + 2));
    }
    std::vector<std::string> tokens = SplitOperands(operandText, line_);
    if (mnemonic == "call" && !tokens.empty() && !IsRegisterToken(tokens[0])) {
      CallPseudo(f, tokens, resultText);
      return;
    }
    if (!resultText.empty()) throw AsmError(line_, "\"=>\" belongs to the call pseudo-instruction");
    int op = FindOpcode(mnemonic);
    if (op < 0) throw AsmError(line_, "unknown instruction " + mnemonic);
    Item item;
    item.op = op;
    for (const std::string& t : tokens) item.operands.push_back(OperandOf(t));
    Add(f, std::move(item));
  }

  // call Name, args... [=> rN]: the global (its lower-case name) and the arguments go to
  // the scratch registers, then the call; the first result, when asked for, is moved to rN.
  void CallPseudo(FunctionDraft& f, const std::vector<std::string>& tokens, const std::string& resultText) {
    f.usesScratch = true;
    auto scratch = [](int64_t offset) {
      Operand o;
      o.kind = Operand::Scratch;
      o.index = offset;
      return o;
    };
    Operand name;
    name.kind = Operand::String;
    name.text = Latin1Lower(tokens[0]);
    Add(f, Item{OP_READGLOBAL, 0, {scratch(0), name}, 0, 0});
    int64_t nargs = static_cast<int64_t>(tokens.size()) - 1;
    for (int64_t a = 1; a <= nargs; ++a) {
      Operand arg = OperandOf(tokens[static_cast<size_t>(a)]);
      switch (arg.kind) {
        case Operand::Register: Add(f, Item{OP_MOVE, 0, {scratch(a), arg}, 0, 0}); break;
        case Operand::Nil: Add(f, Item{OP_CLEARRANGE, 0, {scratch(a), scratch(a)}, 0, 0}); break;
        case Operand::True:
        case Operand::False: {
          Operand flag;
          flag.number = arg.kind == Operand::True ? 1 : 0;
          Add(f, Item{OP_LOADFLAG, 0, {scratch(a), flag}, 0, 0});
          break;
        }
        case Operand::Number:
        case Operand::String:
        case Operand::ConstantIndex: Add(f, Item{OP_LOADCONST, 0, {scratch(a), arg}, 0, 0}); break;
        default: throw AsmError(line_, "bad call argument " + tokens[static_cast<size_t>(a)]);
      }
    }
    Operand b, c;
    b.number = static_cast<double>(nargs + 1);
    c.number = resultText.empty() ? 1 : 2;
    Add(f, Item{OP_CALL, 0, {scratch(0), b, c}, 0, 0});
    if (!resultText.empty()) {
      Operand target = OperandOf(resultText);
      if (target.kind != Operand::Register) throw AsmError(line_, "=> needs a register");
      Add(f, Item{OP_MOVE, 0, {target, scratch(0)}, 0, 0});
    }
  }

  double NumberOf(const std::string& token) {
    Operand o = OperandOf(token);
    if (o.kind != Operand::Number) throw AsmError(line_, "number expected: " + token);
    return o.number;
  }

  std::string StringOf(const std::string& token) {
    Operand o = OperandOf(token);
    if (o.kind != Operand::String) throw AsmError(line_, "string expected: " + token);
    return o.text;
  }

  Operand OperandOf(const std::string& token) {
    Operand o;
    if (token.empty()) throw AsmError(line_, "missing operand");
    if (token[0] == '"') {
      o.kind = Operand::String;
      if (!UnquoteString(token, &o.text)) throw AsmError(line_, "bad string " + token);
      return o;
    }
    if (IsRegisterToken(token)) {
      o.kind = Operand::Register;
      o.index = std::strtoll(token.c_str() + 1, nullptr, 10);
      return o;
    }
    if (IsConstantToken(token)) {
      o.kind = Operand::ConstantIndex;
      o.index = std::strtoll(token.c_str() + 1, nullptr, 10);
      return o;
    }
    if (token[0] == '#') {
      std::string name = token.substr(1);
      auto defined = defines_.find(Latin1Lower(name));
      std::optional<double> value;
      if (defined != defines_.end()) value = defined->second;
      if (!value && options_.resolveConstant) value = options_.resolveConstant(name);
      if (!value) throw AsmError(line_, "unknown constant " + token);
      o.number = *value;
      return o;
    }
    std::string lower = Latin1Lower(token);
    if (lower == "nil") { o.kind = Operand::Nil; return o; }
    if (lower == "true") { o.kind = Operand::True; return o; }
    if (lower == "false") { o.kind = Operand::False; return o; }
    double number;
    if (ParseAsmNumber(token, &number)) {
      o.number = number;
      return o;
    }
    if (IsIdentifier(token)) {
      o.kind = Operand::Name;
      o.text = token;
      return o;
    }
    throw AsmError(line_, "bad operand " + token);
  }

  const AssemblyOptions& options_;
  std::unique_ptr<FunctionDraft> root_;
  std::vector<FunctionDraft*> stack_;
  std::map<std::string, double> defines_;
  bool implicitMain_ = false;
  int line_ = 0;
};

// Turns drafts into prototypes of a VM state.
class Builder {
 public:
  explicit Builder(VMState* L) : L_(L) {}

  Proto* Build(FunctionDraft& f, InternedString* parentSource, const std::string& defaultSource) {
    Proto* p = NewProto(L_);
    if (f.source) {
      p->source = InternString(L_, *f.source);
    } else {
      p->source = parentSource ? parentSource : InternString(L_, defaultSource);
    }
    p->lineDefined = f.lineDefined;
    p->numparams = Byte(f.numparams, f.startLine, ".params");
    p->is_vararg = Byte(f.vararg, f.startLine, ".vararg");
    int nups = f.nups >= 0 ? f.nups : static_cast<int>(f.upvalueNames.size());
    p->nups = Byte(nups, f.startLine, ".upvalues");

    // Nested functions first: the parent's closures refer to them.
    p->sizep = static_cast<uint32_t>(f.children.size());
    p->p = AllocateArray<Proto*>(L_, p->sizep);
    for (uint32_t i = 0; i < p->sizep; ++i) p->p[i] = nullptr;
    for (uint32_t i = 0; i < p->sizep; ++i) p->p[i] = Build(*f.children[i], p->source, defaultSource);

    constants_ = f.constants;
    int scratchBase = f.scratch >= 0 ? f.scratch : HighestRegister(f) + 1;
    std::vector<Instruction> code;
    for (size_t pc = 0; pc < f.code.size(); ++pc) {
      code.push_back(Encode(f, f.code[pc], static_cast<int>(pc), scratchBase, p));
    }
    int maxstack = f.maxstack;
    if (maxstack < 0) {
      maxstack = std::max(HighestRegister(f) + 1, f.numparams + (f.vararg ? 1 : 0));
      if (f.usesScratch) maxstack = std::max(maxstack, scratchBase + ScratchExtent(f) + 1);
    }
    p->maxstacksize = Byte(maxstack, f.startLine, ".maxstack");

    p->sizecode = static_cast<uint32_t>(code.size());
    p->code = AllocateArray<Instruction>(L_, code.size());
    for (size_t i = 0; i < code.size(); ++i) p->code[i] = code[i];
    if (f.hasLines) {
      p->sizelineinfo = p->sizecode;
      p->lineinfo = AllocateArray<int32_t>(L_, code.size());
      for (size_t i = 0; i < code.size(); ++i) p->lineinfo[i] = f.code[i].line;
    }
    p->sizek = static_cast<uint32_t>(constants_.size());
    p->k = AllocateArray<Value>(L_, constants_.size());
    for (size_t i = 0; i < constants_.size(); ++i) {
      const ConstantEntry& c = constants_[i];
      if (c.tag == TagNumber) {
        SetNumber(&p->k[i], c.number);
      } else if (c.tag == TagString) {
        SetString(&p->k[i], InternString(L_, c.text));
      } else {
        SetNil(&p->k[i]);
      }
    }
    p->sizeupvalues = static_cast<uint32_t>(f.upvalueNames.size());
    p->upvalues = AllocateArray<InternedString*>(L_, f.upvalueNames.size());
    for (size_t i = 0; i < f.upvalueNames.size(); ++i) p->upvalues[i] = InternString(L_, f.upvalueNames[i]);
    p->sizelocvars = static_cast<uint32_t>(f.locals.size());
    p->locvars = AllocateArray<LocalVariable>(L_, f.locals.size());
    for (size_t i = 0; i < f.locals.size(); ++i) {
      const LocalEntry& local = f.locals[i];
      p->locvars[i] = LocalVariable{InternString(L_, local.name), Position(f, local.start, local.textLine),
                                    Position(f, local.end, local.textLine)};
    }
    return p;
  }

 private:
  static uint8_t Byte(int value, int line, const char* what) {
    if (value < 0 || value > 255) throw AsmError(line, std::string(what) + " out of range");
    return static_cast<uint8_t>(value);
  }

  static int HighestRegister(const FunctionDraft& f) {
    int highest = -1;
    for (const Item& item : f.code) {
      if (item.op < 0) continue;
      for (const Operand& o : item.operands) {
        if (o.kind == Operand::Register) highest = std::max<int>(highest, static_cast<int>(o.index));
      }
      // Field A is checked as a register even where it is a flag.
      if (kOpcodes[item.op].format != OpFormat::J && !item.operands.empty() &&
          item.operands[0].kind == Operand::Number) {
        highest = std::max(highest, static_cast<int>(item.operands[0].number));
      }
      if (item.operands.empty() || item.operands[0].kind != Operand::Register) continue;
      int a = static_cast<int>(item.operands[0].index);
      auto field = [&](size_t n) {
        return n < item.operands.size() && item.operands[n].kind == Operand::Number
                   ? static_cast<int>(item.operands[n].number) : 0;
      };
      switch (item.op) {
        case OP_CALL:
        case OP_CALLRETURN:
          highest = std::max({highest, a + field(1) - 1, a + field(2) - 2});
          break;
        case OP_RETURN: highest = std::max(highest, a + field(1) - 2); break;
        case OP_ITERLOOP: highest = std::max(highest, a + field(2) + 5); break;
        case OP_NUMLOOP: highest = std::max(highest, a + 2); break;
        case OP_ITERPREP:
        case OP_METHOD: highest = std::max(highest, a + 1); break;
        case OP_STORELIST: highest = std::max(highest, a + (field(1) & 31) + 1); break;
        default: break;
      }
    }
    return highest;
  }

  static int ScratchExtent(const FunctionDraft& f) {
    int64_t extent = 0;
    for (const Item& item : f.code) {
      for (const Operand& o : item.operands) {
        if (o.kind == Operand::Scratch) extent = std::max(extent, o.index);
      }
    }
    return static_cast<int>(extent);
  }

  int32_t Position(const FunctionDraft& f, const Operand& o, int line) {
    if (o.kind == Operand::Number) return static_cast<int32_t>(o.number);
    if (o.kind == Operand::Name) {
      auto it = f.labels.find(o.text);
      if (it == f.labels.end()) throw AsmError(line, "unknown label " + o.text);
      return it->second;
    }
    throw AsmError(line, "position expected");
  }

  int AddConstant(const Operand& o, int line) {
    ConstantEntry c = ConstantOf(o, line);
    for (size_t i = 0; i < constants_.size(); ++i) {
      const ConstantEntry& e = constants_[i];
      if (e.tag != c.tag) continue;
      if ((c.tag == TagNumber && std::memcmp(&e.number, &c.number, sizeof(double)) == 0) ||
          (c.tag == TagString && e.text == c.text) || c.tag == TagNil) {
        return static_cast<int>(i);
      }
    }
    constants_.push_back(c);
    return static_cast<int>(constants_.size() - 1);
  }

  int Register(const Operand& o, int scratchBase, int limit, int line) {
    int64_t value;
    if (o.kind == Operand::Register) {
      value = o.index;
    } else if (o.kind == Operand::Scratch) {
      value = scratchBase + o.index;
    } else if (o.kind == Operand::Number) {
      value = static_cast<int64_t>(o.number);
    } else {
      throw AsmError(line, "register expected");
    }
    if (value < 0 || value > limit) throw AsmError(line, "register or field out of range");
    return static_cast<int>(value);
  }

  int RegisterOrConstant(const Operand& o, int scratchBase, int line) {
    if (o.kind == Operand::Register || o.kind == Operand::Scratch) return Register(o, scratchBase, 511, line);
    int index = o.kind == Operand::ConstantIndex ? static_cast<int>(o.index) : AddConstant(o, line);
    if (kRkConstantBase + index > 511) throw AsmError(line, "too many constants for an RK operand");
    return kRkConstantBase + index;
  }

  int ConstantOperand(const Operand& o, int line) {
    int index = o.kind == Operand::ConstantIndex ? static_cast<int>(o.index) : AddConstant(o, line);
    if (index > kMaxBx) throw AsmError(line, "constant index out of range");
    return index;
  }

  int Offset(const FunctionDraft& f, const Operand& o, int pc, int line) {
    if (o.kind == Operand::Number) return static_cast<int>(o.number);
    if (o.kind != Operand::Name) throw AsmError(line, "label expected");
    auto it = f.labels.find(o.text);
    if (it == f.labels.end()) throw AsmError(line, "unknown label " + o.text);
    return it->second - (pc + 1);
  }

  Instruction Encode(const FunctionDraft& f, const Item& item, int pc, int scratchBase, const Proto* p) {
    int line = item.textLine;
    if (item.op < 0) return item.word;
    const OpcodeInfo& info = kOpcodes[item.op];
    const std::vector<Operand>& ops = item.operands;
    auto operand = [&](size_t n) -> Operand {
      if (n < ops.size()) return ops[n];
      return Operand{};  // the number 0
    };
    if (info.format == OpFormat::J) {
      int sj = Offset(f, operand(0), pc, line);
      uint32_t g = 0;
      if (ops.size() > 1) {
        const Operand& flag = ops[1];
        if (flag.kind == Operand::Name && (Latin1Lower(flag.text) == "sub" || Latin1Lower(flag.text) == "gosub")) {
          g = kSubroutineFlag;
        } else if (flag.kind == Operand::Number && flag.number >= 0 && flag.number <= 3) {
          g = static_cast<uint32_t>(flag.number);
        } else {
          throw AsmError(line, "jump flag is sub or 0..3");
        }
      }
      if (sj + kBiasSJ < 0 || sj + kBiasSJ > kMaxSJField) throw AsmError(line, "jump too far");
      return MakeJump(sj, g);
    }
    if (ops.size() > 3) throw AsmError(line, "too many operands");
    int a = Register(operand(0), scratchBase, 255, line);
    if (info.format == OpFormat::ABC) {
      int b = (info.flags & kBRk) ? RegisterOrConstant(operand(1), scratchBase, line)
                                  : Register(operand(1), scratchBase, 511, line);
      int c = (info.flags & kCRk) ? RegisterOrConstant(operand(2), scratchBase, line)
                                  : Register(operand(2), scratchBase, 511, line);
      return MakeABC(item.op, a, b, c);
    }
    if (ops.size() > 2) throw AsmError(line, "too many operands");
    if (info.format == OpFormat::AsBx) {
      int sbx = Offset(f, operand(1), pc, line);
      if (sbx + kBiasSBx < 0 || sbx + kBiasSBx > kMaxBx) throw AsmError(line, "jump too far");
      return MakeAsBx(item.op, a, sbx);
    }
    int bx;
    if (info.flags & kBxConst) {
      bx = ConstantOperand(operand(1), line);
    } else if (item.op == OP_MAKECLOSURE && operand(1).kind == Operand::Name) {
      bx = -1;
      for (size_t i = 0; i < f.children.size(); ++i) {
        if (f.children[i]->name == operand(1).text) bx = static_cast<int>(i);
      }
      if (bx < 0) throw AsmError(line, "unknown function " + operand(1).text);
    } else {
      bx = Register(operand(1), scratchBase, kMaxBx, line);
    }
    (void)p;
    return MakeABx(item.op, a, bx);
  }

  VMState* L_;
  std::vector<ConstantEntry> constants_;
};

int StringWriter(VMState*, const void* bytes, size_t size, void* data) {
  static_cast<std::string*>(data)->append(static_cast<const char*>(bytes), size);
  return 0;
}

}  // namespace

AssemblyResult Assemble(std::string_view text, const AssemblyOptions& options) {
  AssemblyResult result;
  std::unique_ptr<FunctionDraft> root;
  try {
    Parser parser(options);
    root = parser.Parse(text);
  } catch (const std::runtime_error& e) {
    result.error = e.what();
    return result;
  }
  VMState* L = NewState();
  if (L == nullptr) {
    result.error = "out of memory";
    return result;
  }
  SetGCThreshold(L, 4194304);  // nothing is collected while the prototypes are built
  try {
    Builder builder(L);
    Proto* main = builder.Build(*root, nullptr, options.sourceName);
    DumpProto(L, main, StringWriter, &result.chunk);
  } catch (const AsmError& e) {
    result.error = e.what();
    result.chunk.clear();
  }
  CloseState(L);
  return result;
}

}  // namespace tembrovia
