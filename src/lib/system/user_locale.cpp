#include "lib/system/user_locale.h"

#include <cstdlib>

#include "common/latin1_case.h"

namespace tembrovia {
namespace {

struct LanguageRecord {
  std::string_view iso639;  // two letters, upper case
  std::string_view own;     // Windows-1252 (the Czech name ISO 8859-2)
  std::string_view english;
};

// Indexed by the #LANGUAGE_ constant; #LANGUAGE_UNKNOWN (18) has no row.
constexpr LanguageRecord kLanguages[] = {
    {"EN", "english", "english"},       {"DE", "deutsch", "german"},
    {"NL", "nederlands", "dutch"},      {"IT", "italiano", "italian"},
    {"FR", "fran\xE7" "ais", "french"}, {"ES", "espa\xF1" "ol", "spanish"},
    {"PT", "portugu\xEAs", "portuguese"}, {"SV", "svenska", "swedish"},
    {"DA", "dansk", "danish"},          {"FI", "suomi", "finnish"},
    {"NO", "norsk", "norwegian"},       {"PL", "polski", "polish"},
    {"HU", "magyar", "hungarian"},      {"EL", "greek", "greek"},
    {"CS", "\xC8" "e\xB9" "tina", "czech"}, {"TR", "t\xFCrk\xE7" "e", "turkish"},
    {"HR", "hrvatski", "croatian"},
    // The folder table has no Russian names: Russian catalogs live in "unknown".
    {"RU", "unknown", "unknown"},
};

struct CountryRecord {
  std::string_view iso3166;  // the two-letter code locale names carry
  int country;
};

constexpr CountryRecord kCountries[] = {
    {"AD", 36}, {"AU", 2},  {"AT", 34}, {"BE", 3},  {"BG", 4},  {"BR", 5},  {"CA", 6},  {"CH", 29},
    {"CZ", 7},  {"DK", 8},  {"DE", 9},  {"ES", 10}, {"FI", 30}, {"FR", 11}, {"GB", 0},  {"GR", 12},
    {"IT", 13}, {"IE", 33}, {"IS", 35}, {"LI", 14}, {"LT", 15}, {"LU", 16}, {"HU", 17}, {"MT", 18},
    {"MC", 19}, {"NL", 20}, {"NO", 21}, {"PL", 22}, {"PT", 23}, {"RO", 24}, {"RU", 25}, {"SM", 26},
    {"SE", 31}, {"SK", 27}, {"SI", 28}, {"TR", 32}, {"UA", 37}, {"US", 1},
};

// "ll_CC.codeset@modifier": the language and territory parts.
std::string_view LanguagePart(std::string_view name) { return name.substr(0, name.find_first_of("_.@")); }

std::string_view TerritoryPart(std::string_view name) {
  size_t underscore = name.find('_');
  if (underscore == std::string_view::npos || underscore > name.find_first_of(".@")) return {};
  std::string_view rest = name.substr(underscore + 1);
  return rest.substr(0, rest.find_first_of(".@"));
}

const char* FirstSet(std::initializer_list<const char*> variables) {
  for (const char* variable : variables) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "";
}

}  // namespace

int LanguageFromLocaleName(std::string_view locale_name) {
  std::string code = Latin1Upper(LanguagePart(locale_name));
  // Norwegian Bokmål and Nynorsk carry codes of their own.
  if (code == "NB" || code == "NN") code = "NO";
  for (int language = 0; language < kLanguageUnknown; ++language) {
    if (kLanguages[language].iso639 == code) return language;
  }
  return kLanguageUnknown;
}

int CountryFromLocaleName(std::string_view locale_name) {
  std::string code = Latin1Upper(TerritoryPart(locale_name));
  for (const CountryRecord& record : kCountries) {
    if (record.iso3166 == code) return record.country;
  }
  return kCountryUnknown;
}

std::string UserLanguageLocaleName() {
  std::string_view languages = FirstSet({"LANGUAGE"});
  if (!languages.empty()) return std::string(languages.substr(0, languages.find(':')));
  return UserLocaleName();
}

std::string UserLocaleName() { return FirstSet({"LC_ALL", "LC_MESSAGES", "LANG"}); }

int UserLanguage() { return LanguageFromLocaleName(UserLanguageLocaleName()); }
int UserCountry() { return CountryFromLocaleName(UserLocaleName()); }

LanguageFolderNames LanguageFolders(int language) {
  if (language < 0 || language >= kLanguageUnknown) return {};
  return {kLanguages[language].own, kLanguages[language].english};
}

}  // namespace tembrovia
