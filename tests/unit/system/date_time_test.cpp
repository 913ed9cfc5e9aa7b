#include "lib/system/date_time.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace tembrovia {
namespace {

std::tm MakeTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm time{};
  time.tm_year = year - 1900;
  time.tm_mon = month - 1;
  time.tm_mday = day;
  time.tm_hour = hour;
  time.tm_min = minute;
  time.tm_sec = second;
  time_t seconds = timegm(&time);  // fills in the weekday
  gmtime_r(&seconds, &time);
  return time;
}

TEST(DateTime, TextsAndNumbers) {
  std::tm time = MakeTime(2026, 12, 9, 4, 41, 42);
  EXPECT_EQ(LongDateText(time), "09-Dec-2026 04:41:42");
  EXPECT_EQ(LongDateText(MakeTime(2005, 1, 31, 23, 0, 9)), "31-Jan-2005 23:00:09");
  EXPECT_EQ(TimeText(time, true), "04:41:42");
  EXPECT_EQ(TimeText(time, false), "04:41");

  std::tm morning = MakeTime(2024, 3, 5, 7, 5, 9);
  EXPECT_EQ(DateNumber(morning, kDateTime), 70509);
  EXPECT_EQ(DateNumber(morning, kDateYear), 2024);
  EXPECT_EQ(DateNumber(morning, kDateMonth), 3);
  EXPECT_EQ(DateNumber(morning, kDateDay), 5);
  EXPECT_EQ(DateNumber(morning, 99), 0);
  EXPECT_EQ(DateNumber(morning, -1), 0);
}

TEST(DateTime, LocalTimeFollowsTheTimeZone) {
  const char* saved = getenv("TZ");
  std::string saved_value = saved ? saved : "";
  setenv("TZ", "UTC0", 1);
  tzset();
  std::tm utc = LocalTime(86400 * 365);
  setenv("TZ", "EST5", 1);
  tzset();
  std::tm est = LocalTime(86400 * 365);
  if (saved) {
    setenv("TZ", saved_value.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
  EXPECT_EQ(LongDateText(utc), "01-Jan-2071 00:00:00");  // 1971: the century is always 20
  EXPECT_EQ(utc.tm_year, 71);
  EXPECT_EQ(utc.tm_hour, 0);
  EXPECT_EQ(est.tm_mday, 31);
  EXPECT_EQ(est.tm_hour, 19);
}

TEST(DateTime, CompareDates) {
  struct CompareCase { const char* a; const char* b; bool date_only; ErrorCode error; int result; };
  const CompareCase cases[] = {
      {"01-Jan-2021 00:00:00", "31-Dec-2020 23:59:59", false, ERR_NONE, 1},
      {"31-Dec-2020 23:59:59", "01-Jan-2021 00:00:00", false, ERR_NONE, 2},
      {"01-Jan-2021 00:00:00", "01-Jan-2021 00:00:00", false, ERR_NONE, 0},
      {"01-Jan-2021 00:00:01", "01-jAN-2021 00:00:00", false, ERR_NONE, 1},
      {"01-Feb-2021 00:00:00", "28-Jan-2021 23:00:00", false, ERR_NONE, 1},
      {"01-jan-2021", "01-Jan-2021", true, ERR_NONE, 0},
      {"02-JAN-2021", "01-Jan-2021", true, ERR_NONE, 1},
      {"01-Jan-2021 00:00:0", "01-Jan-2021 00:00:00", false, ERR_INVALIDDATE, 0},   // 19 characters
      {"01-Jan-2021", "01-Jan-2021", false, ERR_INVALIDDATE, 0},                     // date only without the flag
      {"01-Jan-2021 00:00:00", "01-Jan-2021 00:00:00", true, ERR_INVALIDDATE, 0},   // full form with the flag
      {"01-Jam-2021 00:00:00", "01-Jan-2021 00:00:00", false, ERR_INVALIDDATE, 0},
      {"01-Jan-2021 00:00:00", "01-xyz-2021 00:00:00", false, ERR_INVALIDDATE, 0},
      // Fields are read up to the first other character: "x1" reads as 0.
      {"x1-Jan-2021 00:00:00", "00-Jan-2021 00:00:00", false, ERR_NONE, 0},
  };
  for (const CompareCase& c : cases) {
    int result = -1;
    ASSERT_EQ(CompareDates(c.a, c.b, c.date_only, result), c.error) << c.a << " / " << c.b;
    if (c.error == ERR_NONE) {
      EXPECT_EQ(result, c.result) << c.a << " / " << c.b;
    }
  }
}

TEST(SystemLocale, FormatsInANamedLocale) {
  std::tm time = MakeTime(2026, 12, 9, 4, 41, 42);
  SystemLocale c_locale("C");
  EXPECT_EQ(c_locale.ShortDate(time), "12/09/26");
  EXPECT_EQ(c_locale.WeekdayName(time), "Wednesday");
  SystemLocale utf8("C.UTF-8");
  EXPECT_EQ(utf8.WeekdayName(time), "Wednesday");
  SystemLocale missing("xx_YY.NOPE");  // not installed: the "C" texts
  EXPECT_EQ(missing.WeekdayName(time), "Wednesday");
  SystemLocale from_environment;
  EXPECT_FALSE(from_environment.WeekdayName(time).empty());
}

TEST(SystemLocale, Utf8ToLatin1) {
  EXPECT_EQ(Utf8ToLatin1("Gr\xC3\xBC\xC3\x9F" "e"), "Gr\xFC\xDF" "e");
  EXPECT_EQ(Utf8ToLatin1("mi\xC3\xA9rcoles"), "mi\xE9rcoles");
  EXPECT_EQ(Utf8ToLatin1("\xE2\x82\xAC 5"), "? 5");          // the euro sign has no Latin-1 byte
  EXPECT_EQ(Utf8ToLatin1("\xF0\x9F\x98\x80"), "?");
  EXPECT_EQ(Utf8ToLatin1("a\xFC" "b"), "a\xFC" "b");          // not UTF-8: kept
  EXPECT_EQ(Utf8ToLatin1("\xC3"), "\xC3");                    // cut short: kept
  EXPECT_EQ(Utf8ToLatin1("\xE2\x82"), "\xE2\x82");
}

}  // namespace
}  // namespace tembrovia
