#include "lib/system/user_locale.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace tembrovia {
namespace {

TEST(UserLocale, LanguageAndCountryFromLocaleNames) {
  struct LocaleCase { const char* name; int language; int country; };
  const LocaleCase cases[] = {
      {"en_GB.UTF-8", 0, 0},  {"en_US", 0, 1},         {"de_DE.UTF-8", 1, 9},   {"de_AT@euro", 1, 34},
      {"de_CH", 1, 29},       {"nl_BE.ISO-8859-1", 2, 3}, {"fr_FR", 4, 11},     {"fr_CA", 4, 6},
      {"es_ES", 5, 10},       {"pt_BR", 6, 5},         {"sv_SE", 7, 31},        {"da_DK", 8, 8},
      {"fi_FI", 9, 30},       {"nb_NO.UTF-8", 10, 21}, {"nn_NO", 10, 21},       {"pl_PL", 11, 22},
      {"hu_HU", 12, 17},      {"el_GR", 13, 12},       {"cs_CZ", 14, 7},        {"tr_TR", 15, 32},
      {"hr_HR", 16, 38},      {"ru_RU", 17, 25},       {"uk_UA", 18, 37},       {"ja_JP", 18, 38},
      {"C", 18, 38},          {"POSIX", 18, 38},       {"", 18, 38},            {"DE_de", 1, 9},
      {"it", 3, 38},          {"en.UTF-8", 0, 38},     {"ga_IE", 18, 33},       {"x.y_ZZ", 18, 38},
  };
  for (const LocaleCase& c : cases) {
    EXPECT_EQ(LanguageFromLocaleName(c.name), c.language) << c.name;
    EXPECT_EQ(CountryFromLocaleName(c.name), c.country) << c.name;
  }
}

TEST(UserLocale, ReadsTheEnvironment) {
  struct Saved {
    const char* name;
    std::string value;
    bool set;
  };
  std::vector<Saved> saved;
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = getenv(name);
    saved.push_back({name, value ? value : "", value != nullptr});
    unsetenv(name);
  }
  setenv("LANG", "fr_BE.UTF-8", 1);
  EXPECT_EQ(UserLanguage(), 4);
  EXPECT_EQ(UserCountry(), 3);
  setenv("LC_MESSAGES", "it_IT", 1);
  EXPECT_EQ(UserLanguage(), 3);
  setenv("LC_ALL", "", 1);  // empty counts as not set
  EXPECT_EQ(UserCountry(), 13);
  setenv("LANGUAGE", "sv:de", 1);
  EXPECT_EQ(UserLanguage(), 7);
  EXPECT_EQ(UserCountry(), 13);
  for (const Saved& s : saved) {
    if (s.set) {
      setenv(s.name, s.value.c_str(), 1);
    } else {
      unsetenv(s.name);
    }
  }
}

TEST(UserLocale, LanguageFolders) {
  EXPECT_EQ(LanguageFolders(1).own, "deutsch");
  EXPECT_EQ(LanguageFolders(1).english, "german");
  EXPECT_EQ(LanguageFolders(14).own, "\xC8" "e\xB9" "tina");
  EXPECT_EQ(LanguageFolders(15).own, "t\xFCrk\xE7" "e");
  EXPECT_EQ(LanguageFolders(17).english, "unknown");
  EXPECT_TRUE(LanguageFolders(18).own.empty());
  EXPECT_TRUE(LanguageFolders(-1).english.empty());
}

}  // namespace
}  // namespace tembrovia
