#include "app/executable_path.h"

#include <filesystem>
#include <system_error>

namespace tembrovia {

std::string OwnExecutablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

}  // namespace tembrovia
