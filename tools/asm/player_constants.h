// The `#NAME` resolver backed by the player's own constant tables, for AssemblyOptions::
// resolveConstant: vxasm falls back to it after its -D definitions, and the tests of the
// command libraries assemble with it. Needs tembrovia_lib.
#pragma once

#include <optional>
#include <string_view>

namespace tembrovia {

// The number of the built-in constant called name (without "#", any case); nullopt when
// there is none or when it is a string.
std::optional<double> ResolvePlayerConstant(std::string_view name);

}  // namespace tembrovia
