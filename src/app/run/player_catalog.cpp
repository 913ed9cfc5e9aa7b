#include "app/run/player_catalog.h"

#include <utility>

#include "common/messages.h"
#include "files/whole_file.h"
#include "lib/system/catalog.h"
#include "lib/system/user_locale.h"

namespace tembrovia {

bool PlayerCatalog::Open(std::string_view programDirectory) {
  for (const std::string& path :
       CatalogSearchPaths(kPlayerCatalogName, UserLanguage(), programDirectory)) {
    std::string bytes;
    if (ReadWholeFile(path, bytes) == ERR_NONE) return OpenBytes(std::move(bytes));
  }
  return false;
}

bool PlayerCatalog::OpenBytes(std::string bytes) {
  Close();
  std::optional<Catalog> catalog = Catalog::FromBytes(std::move(bytes));
  if (!catalog) return false;
  texts_.resize(kMessageCount);
  for (int id = 0; id < kMessageCount; ++id) {
    if (std::optional<std::string_view> text = catalog->Find(id)) texts_[id] = std::string(*text);
  }
  SetMessageLookup([this](int id) -> const char* {
    if (id < 0 || id >= static_cast<int>(texts_.size()) || !texts_[id]) return nullptr;
    return texts_[id]->c_str();
  });
  installed_ = true;
  return true;
}

void PlayerCatalog::Close() {
  if (installed_) SetMessageLookup({});
  installed_ = false;
  texts_.clear();
}

}  // namespace tembrovia
