// The user's language and country as the system library's constants, read from the locale
// environment (LANGUAGE, LC_ALL, LC_MESSAGES, LANG), and the names of the language folders
// that catalogs are looked for in.
#pragma once

#include <string>
#include <string_view>

namespace tembrovia {

constexpr int kLanguageEnglish = 0;
constexpr int kLanguageUnknown = 18;
constexpr int kCountryUnknown = 38;

// "de", "de_DE.UTF-8", "pt_BR@euro": the #LANGUAGE_ constant of the language part.
int LanguageFromLocaleName(std::string_view locale_name);
// The #COUNTRY_ constant of the territory part ("DE" in "de_DE.UTF-8").
int CountryFromLocaleName(std::string_view locale_name);

// The locale name that decides the language: the first entry of LANGUAGE, else the first set
// of LC_ALL, LC_MESSAGES and LANG; "" when none is set.
std::string UserLanguageLocaleName();
// The same without LANGUAGE, which names languages only.
std::string UserLocaleName();

int UserLanguage();
int UserCountry();

// The folder names of a language constant, as 8-bit strings: its own name and its English
// name. Russian (17) has "unknown" twice; empty views for unknown (18) and other values.
struct LanguageFolderNames {
  std::string_view own;
  std::string_view english;
};
LanguageFolderNames LanguageFolders(int language);

}  // namespace tembrovia
