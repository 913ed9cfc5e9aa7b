#include "asm/player_constants.h"

#include "lib/core/constants.h"

namespace tembrovia {

std::optional<double> ResolvePlayerConstant(std::string_view name) {
  const ConstantEntry* constant = FindBuiltinConstant(name);
  if (constant == nullptr || constant->text != nullptr) return std::nullopt;
  return constant->number;
}

}  // namespace tembrovia
