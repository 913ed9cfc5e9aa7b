#include "app/config/display_config.h"

namespace tembrovia {

void DisplayConfig::ResetDisplaySettings() {
  std::array<std::string, kApplicationTextCount> texts = std::move(applicationTexts);
  bool wasLocked = locked;
  *this = DisplayConfig{};
  applicationTexts = std::move(texts);
  locked = wasLocked;
}

}  // namespace tembrovia
