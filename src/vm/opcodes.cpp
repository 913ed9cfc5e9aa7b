#include "vm/opcodes.h"

#include "common/latin1_case.h"

namespace tembrovia {

const OpcodeInfo kOpcodes[kOpcodeCount] = {
#define TEMBROVIA_OPCODE(number, name, format, flags) {#name, OpFormat::format, flags},
#include "vm/opcodes.def"
#undef TEMBROVIA_OPCODE
};

int FindOpcode(std::string_view name) {
  if (name.size() > 3 && Latin1EqualNoCase(name.substr(0, 3), "op_")) name.remove_prefix(3);
  for (int op = 0; op < kOpcodeCount; ++op) {
    if (Latin1EqualNoCase(name, kOpcodes[op].name)) return op;
  }
  return -1;
}

}  // namespace tembrovia
