#include "lib/system/date_time.h"

#include <langinfo.h>

#include <cstdio>
#include <cstring>

#include "common/latin1_case.h"
#include "common/month_names.h"

namespace tembrovia {
namespace {

std::string Printed(const char* format, int a, int b, int c) {
  char text[32];
  int length = std::snprintf(text, sizeof text, format, a, b, c);
  return std::string(text, static_cast<size_t>(length));
}

int TwoDigitYear(const std::tm& time) { return (time.tm_year + 1900) % 100; }

// The decimal digits at `at`, up to the first other character; 0 when there are none.
int DigitsAt(std::string_view text, size_t at) {
  int value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9' && value < 100000000; ++at) {
    value = value * 10 + (text[at] - '0');
  }
  return value;
}

// The six fields of a date text, or false when its month is unknown.
bool ReadDateFields(std::string_view text, int fields[6]) {
  std::string_view month = text.substr(3, 3);
  int number = 0;
  while (number < 12 && !Latin1EqualNoCase(month, kMonthAbbreviations[number])) ++number;
  if (number == 12) return false;
  // The month name becomes its two-digit number; the fields then sit at fixed places.
  std::string rebuilt(text.substr(0, 3));
  rebuilt += Printed("%.2d", number + 1, 0, 0);
  rebuilt += text.substr(6);
  const size_t kPositions[6] = {6, 3, 0, 11, 14, 17};  // year, month, day, hours, minutes, seconds
  for (int i = 0; i < 6; ++i) fields[i] = DigitsAt(rebuilt, kPositions[i]);
  return true;
}

}  // namespace

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

std::string LongDateText(const std::tm& time) {
  char text[64];
  int length = std::snprintf(text, sizeof text, "%.2d-%s-20%.2d %.2d:%.2d:%.2d", time.tm_mday,
                             kMonthAbbreviations[time.tm_mon % 12].data(), TwoDigitYear(time), time.tm_hour,
                             time.tm_min, time.tm_sec);
  return std::string(text, static_cast<size_t>(length));
}

std::string TimeText(const std::tm& time, bool with_seconds) {
  if (with_seconds) return Printed("%.2d:%.2d:%.2d", time.tm_hour, time.tm_min, time.tm_sec);
  return Printed("%.2d:%.2d", time.tm_hour, time.tm_min, 0);
}

double DateNumber(const std::tm& time, int64_t part) {
  switch (part) {
    case kDateYear: return 2000 + TwoDigitYear(time);
    case kDateMonth: return time.tm_mon + 1;
    case kDateDay: return time.tm_mday;
    case kDateTime: return time.tm_hour * 10000 + time.tm_min * 100 + time.tm_sec;
    default: return 0;
  }
}

ErrorCode CompareDates(std::string_view a, std::string_view b, bool date_only, int& result) {
  size_t length = date_only ? 11 : 20;
  if (a.size() != length || b.size() != length) return ERR_INVALIDDATE;
  int first[6], second[6];
  if (!ReadDateFields(a, first) || !ReadDateFields(b, second)) return ERR_INVALIDDATE;
  result = 0;
  for (int i = 0; i < (date_only ? 3 : 6); ++i) {
    if (first[i] != second[i]) {
      result = first[i] > second[i] ? 1 : 2;
      break;
    }
  }
  return ERR_NONE;
}

SystemLocale::SystemLocale() : SystemLocale("") {}

SystemLocale::SystemLocale(const char* name)
    : locale_(newlocale(LC_CTYPE_MASK | LC_TIME_MASK, name, static_cast<locale_t>(0))) {
  if (locale_ == static_cast<locale_t>(0)) locale_ = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  if (locale_ != static_cast<locale_t>(0)) utf8_ = std::strcmp(nl_langinfo_l(CODESET, locale_), "UTF-8") == 0;
}

SystemLocale::~SystemLocale() {
  if (locale_ != static_cast<locale_t>(0)) freelocale(locale_);
}

std::string SystemLocale::Format(const char* format, const std::tm& time) const {
  if (locale_ == static_cast<locale_t>(0)) return {};
  char text[256];
  size_t length = strftime_l(text, sizeof text, format, &time, locale_);
  std::string result(text, length);
  return utf8_ ? Utf8ToLatin1(result) : result;
}

std::string SystemLocale::ShortDate(const std::tm& time) const { return Format("%x", time); }
std::string SystemLocale::WeekdayName(const std::tm& time) const { return Format("%A", time); }

std::string Utf8ToLatin1(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t extra = (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : 0;
    bool valid = extra > 0 && extra < text.size() - i;
    uint32_t code = lead & (0x3F >> extra);
    for (size_t k = 1; valid && k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = code << 6 | (next & 0x3F);
    }
    if (!valid) {
      result += text[i++];
      continue;
    }
    result += code <= 0xFF ? static_cast<char>(code) : '?';
    i += extra + 1;
  }
  return result;
}

}  // namespace tembrovia
