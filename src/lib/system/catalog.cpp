#include "lib/system/catalog.h"

#include "files/path_parts.h"
#include "lib/system/user_locale.h"

namespace tembrovia {
namespace {

constexpr size_t kMinimumStructuredSize = 101;
constexpr uint32_t kEndMark = 0xFFFFFFFF;

uint32_t LoadBig32(const std::string& data, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(data[at])) << 24 |
         static_cast<uint32_t>(static_cast<unsigned char>(data[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(data[at + 2])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(data[at + 3]));
}

}  // namespace

std::optional<Catalog> Catalog::FromBytes(std::string data) {
  if (data.size() >= kMinimumStructuredSize && data.compare(0, 4, "FORM") == 0) return Structured(std::move(data));
  return Text(data);
}

std::optional<Catalog> Catalog::Structured(std::string data) {
  if (data.compare(8, 8, "CTLGFVER") != 0) return std::nullopt;
  size_t strings = 16;
  while (strings + 4 <= data.size() && data.compare(strings, 4, "STRS") != 0) strings += 2;
  if (strings + 4 > data.size()) return std::nullopt;

  Catalog catalog;
  catalog.structured_ = true;
  // Entries: id, length (both big-endian), the bytes padded to a multiple of four. The list
  // ends at the end mark, or at the first entry that does not fit in the file.
  uint64_t at = strings + 8;
  while (at + 8 <= data.size()) {
    uint32_t id = LoadBig32(data, static_cast<size_t>(at));
    if (id == kEndMark) break;
    uint64_t length = LoadBig32(data, static_cast<size_t>(at) + 4);
    if (length > data.size() - (at + 8)) break;
    catalog.entries_.push_back({id, {static_cast<size_t>(at + 8), static_cast<size_t>(length)}});
    at += 8 + ((length + 3) & ~uint64_t{3});
  }
  catalog.text_ = std::move(data);
  return catalog;
}

Catalog Catalog::Text(const std::string& data) {
  Catalog catalog;
  std::string& text = catalog.text_;
  size_t line_start = 0;
  auto end_line = [&] {
    catalog.lines_.push_back({line_start, text.size() - line_start});
    line_start = text.size();
  };
  for (size_t i = 0; i < data.size(); ++i) {
    char c = data[i];
    if (c == '\\') {
      // A backslash at the very end has nothing to escape and stays a backslash.
      char next = i + 1 < data.size() ? data[++i] : '\0';
      text += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : '\\';
    } else if (c == '\r') {
      // CR LF ends a line; a lone CR ends it too, without swallowing the next character.
      if (i + 1 < data.size() && data[i + 1] == '\n') ++i;
      end_line();
    } else if (c == '\n') {
      end_line();
    } else {
      text += c;
    }
  }
  end_line();
  return catalog;
}

std::optional<std::string_view> Catalog::Find(int64_t id) const {
  std::optional<Span> found;
  if (structured_) {
    for (const Entry& entry : entries_) {
      if (id >= 0 && entry.id == static_cast<uint64_t>(id)) {
        found = entry.text;
        break;
      }
    }
  } else {
    uint64_t line = id <= 0 ? 0 : static_cast<uint64_t>(id);
    if (line < lines_.size()) found = lines_[line];
  }
  if (!found) return std::nullopt;
  std::string_view text = std::string_view(text_).substr(found->offset, found->length);
  return text.substr(0, text.find('\0'));
}

std::vector<std::string> CatalogSearchPaths(std::string_view name, int language, std::string_view program_dir) {
  if (language == kLanguageEnglish || language == kLanguageUnknown) return {};
  LanguageFolderNames folders = LanguageFolders(language);
  if (folders.own.empty()) return {};
  std::vector<std::string> paths;
  for (std::string_view base : {std::string_view(), program_dir}) {
    std::string catalogs = FullPath(base, "Catalogs");
    for (std::string_view folder : {folders.english, folders.own}) {
      paths.push_back(FullPath(FullPath(catalogs, folder), name));
    }
  }
  return paths;
}

}  // namespace tembrovia
