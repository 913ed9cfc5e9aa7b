#include "files/date_string.h"

#include <array>
#include <cstdio>

#include "common/latin1_case.h"

namespace tembrovia {
namespace {

constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::optional<int> Digits(std::string_view text, size_t start, size_t count) {
  int value = 0;
  for (size_t i = start; i < start + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::string FormatDateString(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2d-%s-%d %.2d:%.2d:%.2d", local.tm_mday, kMonths[local.tm_mon],
                local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  return buffer;
}

std::optional<std::time_t> ParseDateString(std::string_view text) {
  if (text.size() != 20 || text[2] != '-' || text[6] != '-' || text[11] != ' ' || text[14] != ':' ||
      text[17] != ':') {
    return std::nullopt;
  }
  auto day = Digits(text, 0, 2), year = Digits(text, 7, 4), hours = Digits(text, 12, 2),
       minutes = Digits(text, 15, 2), seconds = Digits(text, 18, 2);
  if (!day || !year || !hours || !minutes || !seconds) return std::nullopt;
  if (*day < 1 || *day > 31 || *hours > 23 || *minutes > 59 || *seconds > 59) return std::nullopt;
  int month = -1;
  for (int i = 0; i < 12; ++i) {
    if (Latin1EqualNoCase(text.substr(3, 3), kMonths[i])) month = i;
  }
  if (month < 0) return std::nullopt;
  std::tm local{};
  local.tm_mday = *day;
  local.tm_mon = month;
  local.tm_year = *year - 1900;
  local.tm_hour = *hours;
  local.tm_min = *minutes;
  local.tm_sec = *seconds;
  local.tm_isdst = -1;
  std::time_t time = mktime(&local);
  if (time == static_cast<std::time_t>(-1)) return std::nullopt;
  return time;
}

}  // namespace tembrovia
