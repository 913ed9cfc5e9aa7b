// Finding and loading the script's catalog (OpenCatalog) for the user's language.
#pragma once

#include <optional>
#include <string_view>

#include "lib/system/catalog.h"

namespace tembrovia {

// The first of the catalog's search paths that opens (through the file layer, so linked files
// count too), read whole. None for English and unknown languages, when no path opens, when
// reading fails, or when the file that opened is no usable catalog.
std::optional<Catalog> LoadCatalog(std::string_view name);

}  // namespace tembrovia
