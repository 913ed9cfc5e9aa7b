#include "lib/string/string_search.h"

#include <gtest/gtest.h>

namespace tembrovia {
namespace {

TEST(StringSearch, FindStr) {
  struct FindCase { const char* s; const char* sub; bool case_sensitive; int64_t start; int64_t want; };
  for (const FindCase& c : {FindCase{"Hello", "l", true, 0, 2}, FindCase{"Hello", "L", false, 0, 2},
                            FindCase{"Hello", "L", true, 0, -1}, FindCase{"Hello", "l", true, 3, 3},
                            FindCase{"Hello", "x", true, 0, -1}, FindCase{"", "", true, 0, -1},
                            FindCase{"Hello", "", true, 0, -1}, FindCase{"Hello", "o", true, 5, -1},
                            FindCase{"Hello", "o", true, 99, -1}, FindCase{"Hello", "lo", true, 4, -1},
                            FindCase{"Hello", "Hello!", true, 0, -1},
                            FindCase{"gr\xDC\xDF", "\xFC\xDF", false, 0, 2},  // Latin-1 folding
                            FindCase{"a\0b"[0] ? "xa" : "", "a", true, 0, 1}}) {
    int64_t position = 99;
    ASSERT_EQ(FindStr(c.s, c.sub, c.case_sensitive, c.start, position), ERR_NONE);
    EXPECT_EQ(position, c.want) << c.s << " / " << c.sub << " from " << c.start;
  }
  int64_t position;
  EXPECT_EQ(FindStr("Hello", "l", true, -1, position), ERR_WRONGUSAGE);
  // Zero bytes are ordinary bytes.
  EXPECT_EQ(FindSubstring(std::string_view("a\0b", 3), std::string_view("\0b", 2), true, 0), 1);
}

TEST(StringSearch, CountStrNeverOverlaps) {
  struct CountCase { const char* s; const char* sub; bool case_sensitive; int64_t start; int64_t want; };
  for (const CountCase& c : {CountCase{"aaaa", "aa", true, 0, 2}, CountCase{"aaaaa", "aa", true, 0, 2},
                             CountCase{"aaaaa", "aa", true, 1, 2}, CountCase{"AbAbab", "ab", false, 0, 3},
                             CountCase{"AbAbab", "ab", true, 0, 1}, CountCase{"", "a", true, 0, 0},
                             CountCase{"abc", "", true, 0, 0}, CountCase{"abc", "c", true, 3, 0}}) {
    int64_t count = 99;
    ASSERT_EQ(CountStr(c.s, c.sub, c.case_sensitive, c.start, count), ERR_NONE);
    EXPECT_EQ(count, c.want) << c.s << " / " << c.sub << " from " << c.start;
  }
  int64_t count;
  EXPECT_EQ(CountStr("abc", "a", true, -3, count), ERR_WRONGUSAGE);
}

TEST(StringSearch, ReplaceStr) {
  struct ReplaceCase {
    const char* s; const char* find; const char* repl; bool case_sensitive; int64_t start; const char* want;
  };
  for (const ReplaceCase& c : {ReplaceCase{"aaaa", "aa", "b", true, 0, "bb"},
                               ReplaceCase{"hello world", "o", "0", true, 0, "hell0 w0rld"},
                               ReplaceCase{"hello world", "o", "0", true, 5, "hello w0rld"},
                               ReplaceCase{"Hello", "L", "_", false, 0, "He__o"},
                               ReplaceCase{"Hello", "L", "_", true, 0, "Hello"},
                               ReplaceCase{"Hello", "", "_", true, 0, "Hello"},
                               ReplaceCase{"Hello", "l", "", true, 0, "Heo"},
                               ReplaceCase{"Hello", "l", "ll", true, 0, "Hellllo"},
                               ReplaceCase{"Hello", "l", "_", true, 99, "Hello"}}) {
    std::string out;
    ASSERT_EQ(ReplaceStr(c.s, c.find, c.repl, c.case_sensitive, c.start, out), ERR_NONE);
    EXPECT_EQ(out, c.want) << c.s << " " << c.find << " -> " << c.repl;
  }
  std::string out;
  EXPECT_EQ(ReplaceStr("Hello", "l", "_", true, -1, out), ERR_WRONGUSAGE);
}

TEST(StringSearch, ReplaceRefusesAResultBeyondTheStringLimit) {
  std::string s(1 << 16, 'a');
  std::string repl(1 << 16, 'b');  // 2^32 bytes in all
  std::string out;
  EXPECT_EQ(ReplaceStr(s, "a", repl, true, 0, out), ERR_MEM);
}

}  // namespace
}  // namespace tembrovia
