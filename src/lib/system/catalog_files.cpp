#include "lib/system/catalog_files.h"

#include <string>

#include "files/file_namespace.h"
#include "files/whole_file.h"
#include "lib/system/user_locale.h"

namespace tembrovia {

std::optional<Catalog> LoadCatalog(std::string_view name) {
  const std::string program_dir = DefaultFileNamespace().ProgramDirectory();
  for (const std::string& path : CatalogSearchPaths(name, UserLanguage(), program_dir)) {
    std::string bytes;
    const ErrorCode error = ReadWholeFile(path, bytes);
    if (error == ERR_READFILE) continue;  // not there: the next path
    if (error) return std::nullopt;
    return Catalog::FromBytes(std::move(bytes));
  }
  return std::nullopt;
}

}  // namespace tembrovia
