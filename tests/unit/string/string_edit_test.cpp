#include "lib/string/string_edit.h"

#include <gtest/gtest.h>

namespace tembrovia {
namespace {

TEST(StringEdit, LeftRightAndMidClipToTheString) {
  EXPECT_EQ(LeftStr("Hello", 2), "He");
  EXPECT_EQ(LeftStr("Hello", 99), "Hello");
  EXPECT_EQ(LeftStr("Hello", -1), "");
  EXPECT_EQ(RightStr("Hello", 3), "llo");
  EXPECT_EQ(RightStr("Hello", 99), "Hello");
  EXPECT_EQ(RightStr("Hello", 0), "");

  struct MidCase { int64_t pos, len; const char* want; };
  for (const MidCase& c : {MidCase{1, 3, "ell"}, MidCase{3, 10, "lo"}, MidCase{5, 1, ""},
                           MidCase{99, 1, ""}, MidCase{0, 0, ""}, MidCase{0, -4, ""}}) {
    std::string_view out = "unset";
    ASSERT_EQ(MidStr("Hello", c.pos, c.len, out), ERR_NONE);
    EXPECT_EQ(out, c.want) << c.pos << "," << c.len;
  }
  std::string_view out;
  EXPECT_EQ(MidStr("Hello", -1, 2, out), ERR_WRONGUSAGE);
}

TEST(StringEdit, UnleftUnrightUnmid) {
  std::string_view view;
  ASSERT_EQ(UnleftStr("Hello", 2, view), ERR_NONE);
  EXPECT_EQ(view, "Hel");
  ASSERT_EQ(UnleftStr("Hello", 9, view), ERR_NONE);
  EXPECT_EQ(view, "");
  ASSERT_EQ(UnrightStr("Hello", 2, view), ERR_NONE);
  EXPECT_EQ(view, "llo");
  EXPECT_EQ(UnleftStr("Hello", -1, view), ERR_WRONGUSAGE);
  EXPECT_EQ(UnrightStr("Hello", -1, view), ERR_WRONGUSAGE);

  struct UnmidCase { int64_t pos, len; const char* want; };
  for (const UnmidCase& c : {UnmidCase{1, 3, "Ho"}, UnmidCase{3, 10, "Hel"}, UnmidCase{5, 2, "Hello"},
                             UnmidCase{1, 0, "Hello"}}) {
    std::string out;
    ASSERT_EQ(UnmidStr("Hello", c.pos, c.len, out), ERR_NONE);
    EXPECT_EQ(out, c.want) << c.pos << "," << c.len;
  }
  std::string out;
  EXPECT_EQ(UnmidStr("Hello", -1, 1, out), ERR_WRONGUSAGE);
  EXPECT_EQ(UnmidStr("Hello", 1, -1, out), ERR_WRONGUSAGE);
}

TEST(StringEdit, InsertAndOverwrite) {
  struct InsertCase { const char* s; const char* ins; int64_t pos; bool overwrite; const char* want; };
  for (const InsertCase& c : {InsertCase{"Hello", "XY", 1, false, "HXYello"},
                              InsertCase{"Hello", "XY", 1, true, "HXYlo"},
                              InsertCase{"Hello", "XY", 99, false, "HelloXY"},
                              InsertCase{"Hello", "XYZ", 4, true, "HellXYZ"},
                              InsertCase{"Hello", "XY", 0, false, "XYHello"},
                              InsertCase{"", "XY", 3, true, "XY"},
                              InsertCase{"Hello", "", 2, true, "Hello"}}) {
    std::string out;
    ASSERT_EQ(InsertStr(c.s, c.ins, c.pos, c.overwrite, out), ERR_NONE);
    EXPECT_EQ(out, c.want) << c.s << " " << c.ins << " " << c.pos;
  }
  std::string out;
  EXPECT_EQ(InsertStr("Hello", "XY", -1, false, out), ERR_WRONGUSAGE);
}

TEST(StringEdit, TrimRemovesOnlyTheOneCharacter) {
  struct TrimCase { const char* s; bool from_right; const char* want; };
  for (const TrimCase& c : {TrimCase{"xxabcxx", false, "abcxx"}, TrimCase{"xxabcxx", true, "xxabc"},
                            TrimCase{"xxxx", true, ""}, TrimCase{"xxxx", false, ""},
                            TrimCase{"  a ", false, "  a "}, TrimCase{"", true, ""}}) {
    std::string_view out = "unset";
    ASSERT_EQ(TrimStr(c.s, "x", c.from_right, out), ERR_NONE);
    EXPECT_EQ(out, c.want) << c.s << " " << c.from_right;
  }
  std::string_view out;
  EXPECT_EQ(TrimStr("abc", "", false, out), ERR_WRONGUSAGE);
  EXPECT_EQ(TrimStr("abc", "ab", false, out), ERR_WRONGUSAGE);
}

TEST(StringEdit, SplitKeepsEmptyPieces) {
  struct SplitCase { const char* s; std::vector<std::string_view> want; };
  for (const SplitCase& c : {SplitCase{"a,b", {"a", "b"}}, SplitCase{"a,,b", {"a", "", "b"}},
                             SplitCase{"a,", {"a", ""}}, SplitCase{"", {""}}, SplitCase{",", {"", ""}}}) {
    std::vector<std::string_view> pieces;
    ASSERT_EQ(SplitStr(c.s, ",", pieces), ERR_NONE);
    EXPECT_EQ(pieces, c.want) << c.s;
  }
  std::vector<std::string_view> pieces;
  EXPECT_EQ(SplitStr("a,b", ",;", pieces), ERR_WRONGUSAGE);
  EXPECT_EQ(SplitStr("a,b", "", pieces), ERR_WRONGUSAGE);
}

TEST(StringEdit, RepeatChecksCountAndSize) {
  std::string out;
  ASSERT_EQ(RepeatStr("ab", 3, out), ERR_NONE);
  EXPECT_EQ(out, "ababab");
  ASSERT_EQ(RepeatStr("", 1000000000000, out), ERR_NONE);
  EXPECT_EQ(out, "");
  EXPECT_EQ(RepeatStr("ab", 0, out), ERR_WRONGUSAGE);
  EXPECT_EQ(RepeatStr("ab", -2, out), ERR_WRONGUSAGE);
  // Would need 2^40 bytes: refused before anything is allocated.
  EXPECT_EQ(RepeatStr("abcd", int64_t{1} << 38, out), ERR_MEM);
  EXPECT_EQ(RepeatStr("ab", INT64_MAX, out), ERR_MEM);
}

TEST(StringEdit, ChrAndAsc) {
  std::string out;
  ASSERT_EQ(Chr(65, out), ERR_NONE);
  EXPECT_EQ(out, "A");
  ASSERT_EQ(Chr(255, out), ERR_NONE);
  EXPECT_EQ(out, "\xFF");
  ASSERT_EQ(Chr(0, out), ERR_NONE);
  EXPECT_EQ(out, "");
  EXPECT_EQ(Chr(256, out), ERR_WRONGUSAGE);
  EXPECT_EQ(Chr(-1, out), ERR_WRONGUSAGE);
  EXPECT_EQ(Asc("\xE4x"), 0xE4);
  EXPECT_EQ(Asc(""), 0);
}

}  // namespace
}  // namespace tembrovia
