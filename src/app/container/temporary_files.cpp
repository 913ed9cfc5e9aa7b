#include "app/container/temporary_files.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tembrovia {

TemporaryFile TemporaryFiles::Create(const std::string& prefix) {
  std::error_code error;
  std::filesystem::path directory = std::filesystem::temp_directory_path(error);
  if (error) directory = "/tmp";
  std::string pattern = (directory / (prefix + "XXXXXX")).string();
  int fd = ::mkstemp(pattern.data());
  if (fd < 0) return {};
  std::FILE* file = ::fdopen(fd, "wb");
  if (!file) {
    ::close(fd);
    ::unlink(pattern.c_str());
    return {};
  }
  paths_.push_back(pattern);
  return {pattern, FilePointer(file)};
}

void TemporaryFiles::RemoveAll() {
  for (const std::string& path : paths_) ::unlink(path.c_str());
  paths_.clear();
}

}  // namespace tembrovia
