#include "app/run/player_catalog.h"

#include "common/messages.h"
#include "lib/system/catalog_files.h"

namespace tembrovia {

bool PlayerCatalog::Open() {
  std::optional<Catalog> catalog = LoadCatalog(kPlayerCatalogName);
  if (catalog) Install(*catalog);
  return catalog.has_value();
}

void PlayerCatalog::Install(const Catalog& catalog) {
  Close();
  texts_.resize(kMessageCount);
  for (int id = 0; id < kMessageCount; ++id) {
    if (std::optional<std::string_view> text = catalog.Find(id)) texts_[id] = std::string(*text);
  }
  SetMessageLookup([this](int id) -> const char* {
    if (id < 0 || id >= static_cast<int>(texts_.size()) || !texts_[id]) return nullptr;
    return texts_[id]->c_str();
  });
  installed_ = true;
}

void PlayerCatalog::Close() {
  if (installed_) SetMessageLookup({});
  installed_ = false;
  texts_.clear();
}

}  // namespace tembrovia
