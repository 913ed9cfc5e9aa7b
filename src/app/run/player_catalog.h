// The player's own message catalog, "Tembrovia.catalog": looked for where scripts' catalogs
// are (the user's language decides; English needs none), and, while open, the source of the
// message texts. Absent is fine: the English texts are used.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lib/system/catalog.h"

namespace tembrovia {

class PlayerCatalog {
 public:
  PlayerCatalog() = default;
  ~PlayerCatalog() { Close(); }
  PlayerCatalog(const PlayerCatalog&) = delete;
  PlayerCatalog& operator=(const PlayerCatalog&) = delete;

  // Looks for the catalog for the user's language where scripts' catalogs are looked for
  // (the program directory of the file layer must be set) and installs it as the message
  // lookup. False when there is none.
  bool Open();
  // Installs a catalog read elsewhere.
  void Install(const Catalog& catalog);
  // Removes the lookup and frees the texts.
  void Close();

 private:
  // One text per message id, fixed while the lookup is installed, so that any thread may
  // read them.
  std::vector<std::optional<std::string>> texts_;
  bool installed_ = false;
};

inline constexpr std::string_view kPlayerCatalogName = "Tembrovia.catalog";

}  // namespace tembrovia
