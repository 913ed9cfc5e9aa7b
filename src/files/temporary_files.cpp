#include "files/temporary_files.h"

#include <unistd.h>

#include <cstdlib>

namespace tembrovia {

std::optional<std::string> TemporaryFiles::Create(std::string_view extension) {
  const char* base = std::getenv("TMPDIR");
  std::string path = (base != nullptr && *base != '\0') ? base : "/tmp";
  if (path.back() != '/') path += '/';
  path += "vxXXXXXX";
  path += extension;
  int fd = mkstemps(path.data(), static_cast<int>(extension.size()));
  if (fd < 0) return std::nullopt;
  close(fd);
  Remember(path);
  return path;
}

void TemporaryFiles::Remember(std::string path) {
  std::lock_guard lock(mutex_);
  paths_.push_back(std::move(path));
}

void TemporaryFiles::DeleteAll() {
  std::lock_guard lock(mutex_);
  for (const std::string& path : paths_) unlink(path.c_str());
  paths_.clear();
  copies_.clear();
}

size_t TemporaryFiles::Count() const {
  std::lock_guard lock(mutex_);
  return paths_.size();
}

std::optional<std::string> TemporaryFiles::CopyFor(std::string_view virtualName) const {
  std::lock_guard lock(mutex_);
  auto found = copies_.find(virtualName);
  if (found == copies_.end()) return std::nullopt;
  return found->second;
}

void TemporaryFiles::SetCopyFor(std::string_view virtualName, std::string path) {
  std::lock_guard lock(mutex_);
  copies_[std::string(virtualName)] = std::move(path);
}

TemporaryFiles& DefaultTemporaryFiles() {
  static TemporaryFiles instance;
  return instance;
}

}  // namespace tembrovia
