// OpenCatalog, CloseCatalog and GetCatalogString: the script's one catalog.
#include "lib/core/arguments.h"
#include "lib/math/integer_arguments.h"
#include "lib/system/catalog_files.h"
#include "lib/system/system_commands.h"
#include "lib/system/system_data.h"

namespace tembrovia {
int CmdOpenCatalog(VMState* state) {
  CheckArgCount(state, 1, 2);  // the version is accepted and not used
  const std::string_view name = CheckString(state, 1);
  SystemData& system = SystemLibrary(state);
  system.catalog.reset();
  system.catalog = LoadCatalog(name);
  return 0;
}

int CmdCloseCatalog(VMState* state) {
  CheckArgCount(state, 0, 0);
  SystemLibrary(state).catalog.reset();
  return 0;
}

int CmdGetCatalogString(VMState* state) {
  CheckArgCount(state, 2, 2);
  const int64_t id = CheckInt64(state, 1);
  const std::string_view fallback = CheckString(state, 2);
  const std::optional<Catalog>& catalog = SystemLibrary(state).catalog;
  std::optional<std::string_view> text;
  if (catalog) text = catalog->Find(id);
  PushStringView(state, text ? *text : fallback);
  return 1;
}

}  // namespace tembrovia
