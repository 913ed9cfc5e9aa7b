#include "app/options/settings_file.h"

#include <cctype>
#include <fstream>
#include <iterator>

#include "common/latin1_case.h"
#include "common/number_literal.h"

namespace tembrovia {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsSpace(char c) { return IsBlank(c) || c == '\r' || c == '\n'; }
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)); }
bool IsKeyCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// An option without value is set by "true", "yes" or "on", or by a decimal integer not 0.
bool IsSetValue(const std::string& value) {
  if (Latin1EqualNoCase(value, "true") || Latin1EqualNoCase(value, "yes") ||
      Latin1EqualNoCase(value, "on")) {
    return true;
  }
  return StrToUint32(value.c_str(), nullptr, 10) != 0;
}

}  // namespace

std::string SettingsFileName(std::string_view appletPath) {
  size_t nameStart = appletPath.find_last_of("/\\");
  nameStart = nameStart == std::string_view::npos ? 0 : nameStart + 1;
  size_t dot = appletPath.rfind('.');
  std::string name(appletPath);
  if (dot != std::string_view::npos && dot > nameStart) name.resize(dot);
  return name + ".ini";
}

ErrorCode ParseSettingsText(std::string_view text, OptionValues& options,
                            std::vector<UserArgument>& userArguments) {
  // The text is a C string: it ends at the first zero byte.
  text = text.substr(0, text.find('\0'));
  size_t i = 0;
  auto at = [&](size_t k) { return k < text.size() ? text[k] : '\0'; };

  while (true) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i >= text.size()) return ERR_NONE;

    if (text[i] == '#' || text[i] == '[') {
      while (i < text.size() && text[i] != '\n') ++i;
      continue;
    }
    if (!IsLetter(text[i])) return ERR_INISYNTAX;
    size_t keyStart = i;
    while (IsKeyCharacter(at(i))) ++i;
    if (i - keyStart > kMaxSettingsKey) return ERR_INISYNTAX;
    std::string key(text.substr(keyStart, i - keyStart));

    while (IsBlank(at(i))) ++i;
    if (at(i) != '=') return ERR_INISYNTAX;
    ++i;
    while (IsBlank(at(i))) ++i;

    std::string value;
    if (at(i) == '"') {
      size_t close = i + 1;
      while (close < text.size() && text[close] != '"' && !IsLineEnd(text[close])) ++close;
      if (at(close) != '"') return ERR_INISYNTAX;
      value = std::string(text.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      size_t end = i;
      while (end < text.size() && !IsLineEnd(text[end])) ++end;
      size_t trimmed = end;
      while (trimmed > i && IsBlank(text[trimmed - 1])) --trimmed;
      value = std::string(text.substr(i, trimmed - i));
      i = end;
    }

    const OptionSpec* option = FindOption(key);
    if (!option) {
      userArguments.push_back(UserArgument{key, value, true});
    } else if (option->takesValue) {
      options[option->slot] = OptionValue{true, value};
    } else {
      options[option->slot] = OptionValue{IsSetValue(value), ""};
    }
  }
}

ErrorCode ReadSettingsFile(std::string_view appletPath, OptionValues& options,
                           PlayerConfig& config) {
  std::ifstream file(SettingsFileName(appletPath), std::ios::binary);
  if (!file) return ERR_NONE;
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return ERR_READ;
  return ParseSettingsText(text, options, config.userArguments);
}

}  // namespace tembrovia
