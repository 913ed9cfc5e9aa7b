#include "files/virtual_name.h"

#include <cinttypes>
#include <cstdio>
#include <limits>


namespace tembrovia {
namespace {

// Reads decimal digits at `pos`; at least one, and the value must fit in int64_t so that
// positions computed from it stay representable.
bool ReadDecimal(std::string_view text, size_t& pos, uint64_t& value) {
  constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  size_t start = pos;
  value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    uint64_t digit = static_cast<uint64_t>(text[pos] - '0');
    if (value > (kMax - digit) / 10) return false;
    value = value * 10 + digit;
    ++pos;
  }
  return pos > start;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The visible name cannot hold a separator: the first "/" after "*" ends it.
std::string_view LastComponent(std::string_view name) {
  size_t separator = name.find_last_of("/\\");
  return separator == std::string_view::npos ? name : name.substr(separator + 1);
}

std::string ComposeName(std::string_view kind, uint64_t first, uint64_t length,
                        std::string_view visibleName, std::string_view tail) {
  std::string name(kVirtualPrefix);
  name += kind;
  name += std::to_string(first);
  name += ':';
  name += std::to_string(length);
  name += '*';
  name += LastComponent(visibleName);
  name += '/';
  name += tail;
  return name;
}

}  // namespace

bool IsVirtualName(std::string_view name) { return name.starts_with(kVirtualPrefix); }

std::optional<VirtualName> ParseVirtualName(std::string_view name) {
  if (!IsVirtualName(name)) return std::nullopt;
  VirtualName result;
  size_t pos = kVirtualPrefix.size();
  if (pos < name.size() && name[pos] == 'S') {
    result.kind = VirtualKind::String;
    ++pos;
  }
  if (!ReadDecimal(name, pos, result.offset) || !Expect(name, pos, ':') ||
      !ReadDecimal(name, pos, result.length) || !Expect(name, pos, '*')) {
    return std::nullopt;
  }
  size_t slash = name.find('/', pos);
  if (slash == std::string_view::npos || slash + 1 >= name.size()) return std::nullopt;
  result.visibleName = name.substr(pos, slash - pos);
  result.host = name.substr(slash + 1);
  if (result.kind == VirtualKind::String) {
    for (char c : result.host) {
      if (!IsHexDigit(c)) return std::nullopt;
    }
  }
  return result;
}

std::string MakeWindowName(uint64_t offset, uint64_t length, std::string_view visibleName,
                           std::string_view host) {
  return ComposeName("", offset, length, visibleName, host);
}

std::string MakeStringFileName(uint64_t key, uint64_t length, std::string_view visibleName) {
  return ComposeName("S", key, length, visibleName, StringFileToken(key));
}

std::string StringFileToken(uint64_t key) {
  char token[24];
  std::snprintf(token, sizeof token, "%" PRIx64, key);
  return token;
}

}  // namespace tembrovia
