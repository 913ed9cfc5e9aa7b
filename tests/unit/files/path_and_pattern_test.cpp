#include <gtest/gtest.h>

#include "files/date_string.h"
#include "files/match_pattern.h"
#include "files/path_parts.h"

namespace tembrovia {
namespace {

TEST(MatchPatternTest, Cases) {
  struct Case {
    const char* text;
    const char* pattern;
    bool matches;
  } cases[] = {
      {"file12.txt", "file##.txt", true}, {"fileAB.txt", "file##.txt", false},
      {"a.jpg", "*.png;*.jpg", true},     {"a.gif", "*.png;*.jpg", false},
      {"b", "[!a-c]", false},             {"d", "[!a-c]", true},
      {"b", "[a-c]", true},               {"-", "[a-]", true},
      {"b", "[c-a]", false},              {"-", "[c-a]", true},
      {"]", "[]a]", true},                {"]", "[!]a]", false},
      {"x", "[!]a]", true},               {"[", "[", true},
      {"[ab", "[ab", true},               {"", "*", true},
      {"", "", true},                     {"a", "", false},
      {"abc", "a*", true},                {"abc", "a**", true},
      {"abc", "*c", true},                {"abcbc", "a*bc", true},
      {"ABC", "abc", false},              {"x.txt", "?.txt", true},
      {"xy.txt", "?.txt", false},         {"a;b", "a;b", false},
      {"b", "a;b", true},                 {"\xE9t\xE9", "[\xE0-\xFF]t?", true},
      {"mississippi", "*s*s*ip*", true},  {"mississippi", "*s*s*ip*x", false},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchPattern(c.text, c.pattern), c.matches) << c.text << " ~ " << c.pattern;
  // Many stars against a long text must not take exponential time.
  EXPECT_FALSE(MatchPattern(std::string(5000, 'a'), std::string(200, '*') + "b"));
}

TEST(PathPartsTest, FilePartPathPartFullPath) {
  EXPECT_EQ(PathPart("C:/dir/file.txt"), "C:/dir/");
  EXPECT_EQ(PathPart("C:file"), "C:");
  EXPECT_EQ(PathPart("file.txt"), "");
  EXPECT_EQ(PathPart("dir\\sub\\f"), "dir\\sub\\");
  EXPECT_EQ(PathPart("/file"), "/");
  EXPECT_EQ(PathPart(":::chunk1:2*a/b"), std::nullopt);
  EXPECT_EQ(FilePart("C:file"), "file");
  EXPECT_EQ(FilePart("C:/dir/file.txt"), "file.txt");
  EXPECT_EQ(FilePart("dir\\f.txt"), "f.txt");
  EXPECT_EQ(FilePart("plain"), "plain");
  EXPECT_EQ(FilePart("dir/"), "");
  EXPECT_EQ(FilePart(":::chunk1000:500*pic.png/data/x.bin"), "pic.png");
  EXPECT_EQ(FullPath("dir", "a.txt"), "dir/a.txt");
  EXPECT_EQ(FullPath("dir/", "a.txt"), "dir/a.txt");
  EXPECT_EQ(FullPath("dir\\", "a.txt"), "dir\\a.txt");
  EXPECT_EQ(FullPath("", "a.txt"), "a.txt");
  EXPECT_EQ(HostPath("a\\b/c"), "a/b/c");
}

TEST(DateStringTest, FormatAndStrictParse) {
  std::tm local{};
  local.tm_mday = 5;
  local.tm_mon = 2;
  local.tm_year = 112;
  local.tm_hour = 14;
  local.tm_min = 7;
  local.tm_sec = 9;
  local.tm_isdst = -1;
  std::time_t time = mktime(&local);
  EXPECT_EQ(FormatDateString(time), "05-Mar-2012 14:07:09");
  EXPECT_EQ(ParseDateString("05-Mar-2012 14:07:09"), time);
  EXPECT_EQ(ParseDateString("05-MAR-2012 14:07:09"), time);
  for (const char* bad : {"5-Mar-2012 14:07:09", "05-Mar-2012 24:07:09", "05-Mar-2012 14:60:09",
                          "05-Mar-2012 14:07:60", "00-Mar-2012 14:07:09", "32-Mar-2012 14:07:09",
                          "05-Mrz-2012 14:07:09", "05/Mar/2012 14:07:09", "05-Mar-2012 14:07:09 ",
                          "05-Mar-2012T14:07:09", "05-Mar-20x2 14:07:09", ""}) {
    EXPECT_FALSE(ParseDateString(bad)) << bad;
  }
}

}  // namespace
}  // namespace tembrovia
