// Looking up script constants by name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/error_codes.h"
#include "lib/core/library_table.h"

namespace tembrovia {

constexpr size_t kMaxConstantNameLength = 64;

struct ConstantValue {
  bool is_string = false;
  std::string text;
  double number = 0;
};

// text must start with "#" (else ERR_WRONGUSAGE), then a letter or "_" (else
// ERR_SYNTAXERROR); the name runs on over letters, digits, "_", "!" and "$", at most 64
// characters, and is looked up without regard to case in the registry tables "constants"
// and then "userconstants" (ERR_FINDCST when in neither). On success *consumed is the
// number of characters read, the "#" included.
ErrorCode LookupConstant(VMState* state, std::string_view text, ConstantValue* value,
                         size_t* consumed);

void PushConstantValue(VMState* state, const ConstantValue& value);

// A constant of the built-in tables by name (without "#", any case), without a VM state
// (the assembler resolves `#NAME` with it); nullptr when there is none.
const ConstantEntry* FindBuiltinConstant(std::string_view name);

}  // namespace tembrovia
