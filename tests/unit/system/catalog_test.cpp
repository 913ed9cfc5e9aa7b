#include "lib/system/catalog.h"

#include <gtest/gtest.h>

#include "lib/system/user_locale.h"

namespace tembrovia {
namespace {

std::string Big32(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

std::string Entry(uint32_t id, std::string_view text, uint32_t stated_length) {
  std::string entry = Big32(id) + Big32(stated_length) + std::string(text);
  entry.append((4 - text.size() % 4) % 4, '\0');
  return entry;
}

// A structured catalog: FORM header, version, language and character-set chunks, then STRS.
std::string StructuredFile(const std::string& entries) {
  std::string version = "FVER" + Big32(28) + "$VER: test.catalog 1.0 (1.1.25)";
  version.resize(8 + 28, '\0');
  std::string language = "LANG" + Big32(8) + "deutsch" + std::string(1, '\0');
  std::string charset = "CSET" + Big32(32) + std::string(32, '\0');
  std::string body = "CTLG" + version + language + charset + "STRS" + Big32(static_cast<uint32_t>(entries.size())) +
                     entries;
  return "FORM" + Big32(static_cast<uint32_t>(body.size())) + body;
}

std::optional<std::string> Lookup(const std::optional<Catalog>& catalog, int64_t id) {
  if (!catalog) return std::nullopt;
  std::optional<std::string_view> text = catalog->Find(id);
  return text ? std::optional<std::string>(*text) : std::nullopt;
}

TEST(Catalog, TextLines) {
  std::optional<Catalog> catalog = Catalog::FromBytes("A\nB\\tC");
  ASSERT_TRUE(catalog);
  EXPECT_FALSE(catalog->structured());
  EXPECT_EQ(Lookup(catalog, 0), "A");
  EXPECT_EQ(Lookup(catalog, -5), "A");
  EXPECT_EQ(Lookup(catalog, 1), "B\tC");
  EXPECT_EQ(Lookup(catalog, 2), std::nullopt);

  struct TextCase { std::string file; int64_t id; std::optional<std::string> want; };
  const TextCase cases[] = {
      {"A\nB\n", 2, ""},                  // a final line end makes an empty last string
      {"A\r\nB\r\nC", 2, "C"},
      {"A\rB", 1, "B"},                   // a lone CR ends the line and keeps the next character
      {"A\r", 1, ""},                     // ... also at the very end
      {"x\\n\\r\\t\\q\\\\", 0, "x\n\r\t\\\\"},
      {"end\\", 0, "end\\"},              // a final backslash stays
      {"a\\\nb", 0, "a\\b"},              // an escaped line end joins the lines
      {"a\\\nb", 1, std::nullopt},
      {std::string("ab\0cd\nx", 7), 0, "ab"},
      {"", 0, ""},
      {"", 1, std::nullopt},
      {"FORM short", 0, "FORM short"},    // under 101 bytes: a text catalog
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(Lookup(Catalog::FromBytes(c.file), c.id), c.want) << c.file << " #" << c.id;
  }
}

TEST(Catalog, StructuredEntries) {
  std::string entries = Entry(0, "Null", 4) + Entry(7, std::string("Sieben\0", 7), 7) + Entry(3, "drei", 4) +
                        Entry(7, "later", 5);
  std::optional<Catalog> catalog = Catalog::FromBytes(StructuredFile(entries));
  ASSERT_TRUE(catalog);
  EXPECT_TRUE(catalog->structured());
  EXPECT_EQ(Lookup(catalog, 0), "Null");
  EXPECT_EQ(Lookup(catalog, 7), "Sieben");  // the first entry wins; the zero byte ends it
  EXPECT_EQ(Lookup(catalog, 3), "drei");
  EXPECT_EQ(Lookup(catalog, 4), std::nullopt);
  EXPECT_EQ(Lookup(catalog, -1), std::nullopt);
  EXPECT_EQ(Lookup(catalog, 4294967296 + 3), std::nullopt);
}

TEST(Catalog, StructuredEntriesAreCheckedAgainstTheFile) {
  // An end mark ends the list.
  std::optional<Catalog> marked = Catalog::FromBytes(StructuredFile(Entry(1, "one", 3) + Big32(0xFFFFFFFF) + Entry(2, "two", 3)));
  EXPECT_EQ(Lookup(marked, 1), "one");
  EXPECT_EQ(Lookup(marked, 2), std::nullopt);

  // A length beyond the file ends the list there; the entries before it stay usable.
  for (uint32_t bad_length : {0xFFFFFFF0u, 0x7FFFFFFFu, 200u}) {
    std::string file = StructuredFile(Entry(1, "one", 3) + Entry(2, "two", bad_length));
    std::optional<Catalog> catalog = Catalog::FromBytes(file);
    ASSERT_TRUE(catalog);
    EXPECT_EQ(Lookup(catalog, 1), "one");
    EXPECT_EQ(Lookup(catalog, 2), std::nullopt) << bad_length;
  }
  // A file cut inside an entry header.
  std::string cut = StructuredFile(Entry(1, "one", 3) + Entry(2, "two", 3));
  cut.resize(cut.size() - 9);
  EXPECT_EQ(Lookup(Catalog::FromBytes(cut), 1), "one");
  EXPECT_EQ(Lookup(Catalog::FromBytes(cut), 2), std::nullopt);

  // Without the CTLG version header or without a STRS chunk there is no catalog.
  std::string no_version = StructuredFile(Entry(1, "one", 3));
  no_version.replace(8, 4, "XXXX");
  EXPECT_FALSE(Catalog::FromBytes(no_version));
  std::string no_strings = StructuredFile(Entry(1, "one", 3));
  no_strings.replace(no_strings.find("STRS"), 4, "STRX");
  EXPECT_FALSE(Catalog::FromBytes(no_strings));
  // STRS in the last four bytes leaves no room for an entry.
  std::string at_end = "FORM" + Big32(0) + "CTLGFVER" + std::string(84, 'x') + "STRS";
  std::optional<Catalog> empty = Catalog::FromBytes(at_end);
  ASSERT_TRUE(empty);
  EXPECT_EQ(Lookup(empty, 0), std::nullopt);
}

TEST(Catalog, SearchPaths) {
  EXPECT_EQ(CatalogSearchPaths("app.catalog", 1, "/opt/app"),
            (std::vector<std::string>{"Catalogs/german/app.catalog", "Catalogs/deutsch/app.catalog",
                                      "/opt/app/Catalogs/german/app.catalog", "/opt/app/Catalogs/deutsch/app.catalog"}));
  EXPECT_EQ(CatalogSearchPaths("x", 4, "dir/")[1], "Catalogs/fran\xE7" "ais/x");
  EXPECT_EQ(CatalogSearchPaths("x", 17, "")[0], "Catalogs/unknown/x");
  EXPECT_TRUE(CatalogSearchPaths("x", kLanguageEnglish, "/opt").empty());
  EXPECT_TRUE(CatalogSearchPaths("x", kLanguageUnknown, "/opt").empty());
  EXPECT_TRUE(CatalogSearchPaths("x", 99, "/opt").empty());
}

}  // namespace
}  // namespace tembrovia
