#include "files/file_namespace.h"

#include <unistd.h>

#include <climits>

#include "common/latin1_case.h"
#include "files/path_parts.h"
#include "files/virtual_name.h"

namespace tembrovia {
namespace {

constexpr std::string_view kProgDir = "PROGDIR:";

std::string LinkedKey(std::string_view name) { return HostPath(Latin1Lower(name)); }

}  // namespace

void FileNamespace::SetProgramDirectory(std::string directory) {
  if (!directory.empty() && !IsPathSeparator(directory.back())) directory += '/';
  std::lock_guard lock(mutex_);
  programDirectory_ = std::move(directory);
}

std::string FileNamespace::ProgramDirectory() const {
  std::lock_guard lock(mutex_);
  return programDirectory_;
}

std::string FileNamespace::ExpandProgramDirectory(std::string_view name) const {
  if (!name.starts_with(kProgDir)) return std::string(name);
  std::string expanded = ProgramDirectory();
  expanded += name.substr(kProgDir.size());
  return expanded;
}

std::string FileNamespace::ToHostPath(std::string_view name) const {
  return HostPath(ExpandProgramDirectory(name));
}

void FileNamespace::RegisterLinkedFile(LinkedFile file) {
  std::string key = LinkedKey(file.name);
  std::lock_guard lock(mutex_);
  linked_[std::move(key)] = std::move(file);
}

void FileNamespace::ClearLinkedFiles() {
  std::lock_guard lock(mutex_);
  linked_.clear();
}

std::optional<std::string> FileNamespace::LinkedFileName(std::string_view name) const {
  std::string key = LinkedKey(name);
  std::lock_guard lock(mutex_);
  auto found = linked_.find(key);
  if (found == linked_.end()) return std::nullopt;
  const LinkedFile& file = found->second;
  return MakeWindowName(file.offset, file.size, file.name, file.hostPath);
}

std::string FileNamespace::DefineStringFile(std::string data, std::string_view visibleName) {
  uint64_t length = data.size();
  auto bytes = std::make_shared<const std::string>(std::move(data));
  std::lock_guard lock(mutex_);
  uint64_t key = nextStringKey_++;
  strings_.emplace(key, std::move(bytes));
  return MakeStringFileName(key, length, visibleName);
}

std::shared_ptr<const std::string> FileNamespace::FindStringFile(std::string_view name) const {
  auto parsed = ParseVirtualName(name);
  if (!parsed || parsed->kind != VirtualKind::String) return nullptr;
  if (parsed->host != StringFileToken(parsed->offset)) return nullptr;
  std::lock_guard lock(mutex_);
  auto found = strings_.find(parsed->offset);
  if (found == strings_.end() || found->second->size() != parsed->length) return nullptr;
  return found->second;
}

bool FileNamespace::UndefineStringFile(std::string_view name) {
  if (!FindStringFile(name)) return false;
  auto parsed = ParseVirtualName(name);
  std::lock_guard lock(mutex_);
  return strings_.erase(parsed->offset) > 0;
}

size_t FileNamespace::StringFileCount() const {
  std::lock_guard lock(mutex_);
  return strings_.size();
}

FileNamespace& DefaultFileNamespace() {
  static FileNamespace instance;
  return instance;
}

std::string ExecutableDirectory() {
  char buffer[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return {};
  std::string path(buffer, static_cast<size_t>(length));
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string{} : path.substr(0, slash + 1);
}

}  // namespace tembrovia
