// Translation catalogs: a structured IFF "CTLG" file of numbered strings, or a plain text file
// with one string per line. Every entry is checked against the file when it is loaded, so a
// lookup never reads outside it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tembrovia {

class Catalog {
 public:
  // nullopt for a structured file without a "CTLGFVER" header or a "STRS" chunk.
  static std::optional<Catalog> FromBytes(std::string data);

  // The string for the id; nullopt when the catalog has none (the caller's default applies).
  // Structured: the first entry with that id. Text: id <= 0 the first line, n the line after
  // the n-th line end. A string ends at its first zero byte.
  std::optional<std::string_view> Find(int64_t id) const;

  bool structured() const { return structured_; }

 private:
  struct Span {
    size_t offset;
    size_t length;
  };
  struct Entry {
    uint32_t id;
    Span text;
  };

  static std::optional<Catalog> Structured(std::string data);
  static Catalog Text(const std::string& data);

  bool structured_ = false;
  std::string text_;             // the file (structured) or the processed text
  std::vector<Entry> entries_;   // structured
  std::vector<Span> lines_;      // text
};

// Where a catalog of the given name is looked for, in order, for a #LANGUAGE_ constant: under
// "Catalogs" in the current directory, then in the program's directory, each first with the
// language's English folder name and then with its own. English and unknown languages have no
// catalogs: the list is empty.
std::vector<std::string> CatalogSearchPaths(std::string_view name, int language, std::string_view program_dir);

}  // namespace tembrovia
