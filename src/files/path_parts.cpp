#include "files/path_parts.h"

#include "files/virtual_name.h"

namespace tembrovia {
namespace {

size_t LastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

}  // namespace

std::string_view FilePart(std::string_view path) {
  if (auto virtualName = ParseVirtualName(path)) return virtualName->visibleName;
  size_t separator = LastSeparator(path);
  if (separator != std::string_view::npos) return path.substr(separator + 1);
  size_t colon = path.find(':');
  if (colon != std::string_view::npos) return path.substr(colon + 1);
  return path;
}

std::optional<std::string_view> PathPart(std::string_view path) {
  if (IsVirtualName(path)) return std::nullopt;
  size_t cut = path.find_last_of("/\\:");
  if (cut == std::string_view::npos) return std::string_view{};
  return path.substr(0, cut + 1);
}

std::string FullPath(std::string_view directory, std::string_view file) {
  std::string joined(directory);
  if (!joined.empty() && !IsPathSeparator(joined.back())) joined += '/';
  joined += file;
  return joined;
}

std::string HostPath(std::string_view path) {
  std::string host(path);
  for (char& c : host) {
    if (c == '\\') c = '/';
  }
  return host;
}

}  // namespace tembrovia
