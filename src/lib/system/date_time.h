// Dates and times of the system library. A command reads the local wall-clock time once
// (LocalTime) and builds its texts and numbers from that one reading. Texts that follow the
// user's locale come from a locale object of their own, never from the process-wide locale,
// which would change how numbers are read and printed.
#pragma once

#include <locale.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "common/error_codes.h"

namespace tembrovia {

constexpr int kDateYear = 0;
constexpr int kDateMonth = 1;
constexpr int kDateDay = 2;
constexpr int kDateTime = 3;

std::tm LocalTime(std::time_t time);

// "dd-Mon-20yy hh:mm:ss", 20 characters, the month in English and the century always 20.
std::string LongDateText(const std::tm& time);

// "HH:mm:ss", or "HH:mm" without seconds; 24-hour clock.
std::string TimeText(const std::tm& time, bool with_seconds);

// #DATEYEAR 2000 + the two-digit year, #DATEMONTH 1..12, #DATEDAY 1..31, #DATETIME
// hours * 10000 + minutes * 100 + seconds; any other part 0.
double DateNumber(const std::tm& time, int64_t part);

// Compares two dates in the form of LongDateText (20 characters), or with date_only the first
// 11 characters of it. result: 1 when a is later, 2 when it is earlier, 0 when equal.
// Other lengths or an unknown month: ERR_INVALIDDATE.
ErrorCode CompareDates(std::string_view a, std::string_view b, bool date_only, int& result);

// Texts in the user's locale (the LC_TIME and LC_CTYPE of the environment; "C" when that
// locale is not installed), returned as 8-bit Latin-1 strings.
class SystemLocale {
 public:
  SystemLocale();
  explicit SystemLocale(const char* name);  // a named locale, "C" when it is not installed
  ~SystemLocale();
  SystemLocale(const SystemLocale&) = delete;
  SystemLocale& operator=(const SystemLocale&) = delete;

  std::string ShortDate(const std::tm& time) const;    // the locale's date format
  std::string WeekdayName(const std::tm& time) const;  // the full weekday name

 private:
  std::string Format(const char* format, const std::tm& time) const;

  locale_t locale_;
  bool utf8_ = false;
};

// UTF-8 text as Latin-1: characters above 0xFF become "?", bytes that are no valid UTF-8
// are kept as they are.
std::string Utf8ToLatin1(std::string_view text);

}  // namespace tembrovia
