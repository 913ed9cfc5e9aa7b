#include "app/banner.h"

namespace tembrovia {

std::string BannerText() {
  return std::string(kPlayerName) + " " + std::to_string(kPlayerVersion) + "." +
         std::to_string(kPlayerRevision) + " " + kPlatformTag + "\n" +
         "Plays Tembrovia applets: multimedia scripts compiled for a virtual machine.\n\n";
}

}  // namespace tembrovia
