#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "lib/pattern/pattern_ops.h"

namespace tembrovia {
namespace {

// Every value the iterator yields, positions written as "#n"; or the error that stopped it.
struct FindOutcome {
  std::vector<std::string> values;
  ErrorCode error = ERR_NONE;
};

FindOutcome FindAll(std::string_view subject, std::string_view pattern, const PatternOptions& options = {}) {
  FindOutcome outcome;
  size_t position = 0;
  for (int guard = 0; guard < 1000; ++guard) {
    bool found = false;
    std::vector<PatternCaptureValue> values;
    outcome.error = PatternFindNext(subject, pattern, position, found, values, options);
    if (outcome.error || !found) break;
    for (const PatternCaptureValue& v : values) {
      outcome.values.push_back(v.is_position ? "#" + std::to_string(v.position) : std::string(v.text));
    }
  }
  return outcome;
}

struct FindCase {
  std::string subject;
  std::string pattern;
  std::vector<std::string> want;
};

TEST(PatternFind, Table) {
  const FindCase cases[] = {
      {"a1b22", "%d+", {"1", "22"}},
      {"a1b22", "()", {"#1", "#2", "#3", "#4", "#5", "#6"}},
      {"hello", "l*", {"", "", "ll", "", ""}},
      {"key=val, k2=v2", "(%w+)=(%w+)", {"key", "val", "k2", "v2"}},
      {"THE (quick) fox", "%((%a+)%)", {"quick"}},
      {"THE (quick) fox", "%f[%a]%a+", {"THE", "quick", "fox"}},
      {"x[[a]b]y[", "%b[]", {"[[a]b]"}},
      {"a^b", "^b", {"^b"}},  // no anchor for the iterator
      {"abc", "^a", {}},
      {"abc abc", "abc$", {"abc"}},
      {"a$b", "a$b", {"a$b"}},
      {"say \"hi\" and 'yo'", "([\"'])(.-)%1", {"\"", "hi", "'", "yo"}},
      {"<a><bc>", "<(.-)>", {"a", "bc"}},
      {"color colour", "colou?r", {"color", "colour"}},
      {"a.b%c", "[%.%%]", {".", "%"}},
      {"x]y-z", "[]-]", {"]", "-"}},
      {"x]y-z", "[^]x]+", {"y-z"}},
      {"a-z", "[a-]", {"a", "-"}},
      {"Gr\xFC\xDF" "e 42", "%a+", {"Gr\xFC\xDF" "e"}},
      {"a\xD7" "b a\xF7" "b", "%a+", {"a\xD7" "b", "a", "b"}},
      {"\xC4" "1_", "%w+", {"\xC4" "1"}},
      {std::string("a\0b", 3), "%z", {std::string(1, '\0')}},
      {"AbC De", "%u%l", {"Ab", "De"}},
      {"a b\tc", "%S+", {"a", "b", "c"}},
      {"0x1F!", "%x+", {"0", "1F"}},
      {"a,b;c", "%p", {",", ";"}},
      {"abab", "(ab)%1", {"ab"}},
      {"a1b", "%D", {"a", "b"}},  // a complemented class letter
      {"hello", "(h)(e)()", {"h", "e", "#3"}},
      {"abc", "%0", {}},  // not a class and not a capture: the character itself
      {"a0c", "%0", {"0"}},
      {"THEN the", "%f[%l]%a+", {"the"}},
      {"end", "%f[%z]", {""}},
  };
  for (const FindCase& c : cases) {
    FindOutcome got = FindAll(c.subject, c.pattern);
    EXPECT_EQ(got.error, ERR_NONE) << c.pattern;
    EXPECT_EQ(got.values, c.want) << c.subject << " / " << c.pattern;
  }
}

TEST(PatternFind, Errors) {
  struct ErrorCase {
    std::string pattern;
    ErrorCode error;
  };
  const ErrorCase cases[] = {
      {"a%", ERR_MALFORMPAT1},
      {"[a", ERR_MALFORMPAT2},
      {"[a%", ERR_MALFORMPAT2},
      {"[]", ERR_MALFORMPAT2},
      {"%b", ERR_UNBALANCEDPAT},
      {"%bx", ERR_UNBALANCEDPAT},
      {std::string(33, '(') + "a", ERR_TOOMANYCAPTURES},
      {"a)", ERR_INVPATCAP},
      {"%1", ERR_INVCAPIDX},
      {"(a%1)", ERR_INVCAPIDX},  // still open
      {"()%1", ERR_INVCAPIDX},   // a position has no text
      {"%fa", ERR_MISSINGOPBRACK},
      {"%f", ERR_MISSINGOPBRACK},
      {"%f[a", ERR_MALFORMPAT2},
      {"(a", ERR_UNFINISHEDCAPTURE},
  };
  for (const ErrorCase& c : cases) {
    EXPECT_EQ(FindAll("aaaa", c.pattern).error, c.error) << c.pattern;
  }
  // Errors are found as matching reaches them: a pattern that fails before its bad part is
  // not an error.
  EXPECT_EQ(FindAll("aaaa", "x%").error, ERR_NONE);
  std::string captures32;
  for (int i = 0; i < 32; ++i) captures32 += "(a?)";
  EXPECT_EQ(FindAll("a", captures32).error, ERR_NONE);
}

TEST(PatternMatcher, RecursionIsBounded) {
  // Each optional item that matches nests one level: far past the limit the match fails cleanly.
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "a?";
  EXPECT_EQ(FindAll(std::string(1000, 'a'), deep).error, ERR_STACK);
  EXPECT_EQ(FindAll("aaaa", deep).values, std::vector<std::string>({"aaaa", ""}));
  std::string lazy;
  for (int i = 0; i < 5000; ++i) lazy += "a-";
  EXPECT_EQ(FindAll("aaaa", lazy).error, ERR_STACK);

  // Plain items and long repetitions do not nest: long subjects and patterns work.
  std::string long_subject(1 << 20, 'a');
  EXPECT_EQ(FindAll(long_subject, std::string(1 << 16, 'a')).values.size(), 16u);
  EXPECT_EQ(FindAll(long_subject, "a*").values, std::vector<std::string>({long_subject, ""}));
  EXPECT_EQ(FindAll(long_subject, "(a-)$").values.size(), 2u);
  // A limit set by the caller.
  PatternOptions shallow;
  shallow.max_depth = 3;
  EXPECT_EQ(FindAll("abc", "((a)b)", shallow).error, ERR_STACK);
  EXPECT_EQ(FindAll("abc", "(a)b", shallow).values, std::vector<std::string>({"a"}));
}

TEST(PatternMatcher, PollCanStopALongSearch) {
  int polls = 0;
  PatternOptions options;
  options.poll = [&polls]() -> ErrorCode { return ++polls == 3 ? ERR_USERABORT : ERR_NONE; };
  // Exponential backtracking: would run for a very long time.
  EXPECT_EQ(FindAll(std::string(40, 'a'), "a*a*a*a*a*a*a*a*a*a*b", options).error, ERR_USERABORT);
  EXPECT_EQ(polls, 3);
}

// A replacement computed per match, standing in for a script function.
class FunctionReplacement : public PatternReplacement {
 public:
  using Function = std::optional<std::string> (*)(const std::vector<PatternCaptureValue>&);
  explicit FunctionReplacement(Function function) : function_(function) {}
  ErrorCode Append(const PatternMatcher& matcher, size_t start, size_t end, std::string& out) override {
    std::vector<PatternCaptureValue> values;
    if (ErrorCode error = matcher.MatchValues(start, end, values)) return error;
    if (std::optional<std::string> result = function_(values)) out += *result;
    return ERR_NONE;
  }

 private:
  Function function_;
};

struct ReplaceOutcome {
  std::string text;
  int64_t count = -1;
  ErrorCode error = ERR_NONE;
  bool operator==(const ReplaceOutcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ReplaceOutcome& r) {
  return os << "\"" << r.text << "\", " << r.count << ", error " << r.error;
}

ReplaceOutcome Replace(std::string_view subject, std::string_view pattern, PatternReplacement& replacement,
                       int64_t max) {
  ReplaceOutcome outcome;
  outcome.error = PatternReplace(subject, pattern, replacement, max, outcome.text, outcome.count);
  if (outcome.error) outcome = {"", -1, outcome.error};
  return outcome;
}

TEST(PatternReplace, WithStrings) {
  struct ReplaceCase {
    const char* subject;
    const char* pattern;
    const char* repl;
    int64_t max;
    ReplaceOutcome want;
  };
  const ReplaceCase cases[] = {
      {"hello world", "o", "0", 12, {"hell0 w0rld", 2}},
      {"hello world", "o", "0", 1, {"hell0 world", 1}},
      {"hello world", "o", "0", 0, {"hello world", 0}},
      {"hello world", "o", "0", -5, {"hello world", 0}},
      {"abc", "^a", "x", 4, {"xbc", 1}},
      {"aaa", "^a", "x", 4, {"xaa", 1}},
      {"bac", "^a", "x", 4, {"bac", 0}},
      {"abc", "", "-", 4, {"-a-b-c-", 4}},
      {"abc", "x*", "-", 2, {"-a-bc", 2}},
      {"hello world", "(%w+) (%w+)", "%2 %1", 99, {"world hello", 1}},
      {"abc", "(b)", "[%1]", 4, {"a[b]c", 1}},
      {"abc", "()b", "%1", 4, {"a2c", 1}},
      {"abc", "b", "%%|%x|%", 4, {"a%|x|%c", 1}},
      {"abc", "b", "%1", 4, {"", -1, ERR_INVCAPIDX}},
      {"abc", "(b)", "%0", 4, {"", -1, ERR_INVCAPIDX}},
      {"abc", "(b)", "%2", 4, {"", -1, ERR_INVCAPIDX}},
      {"abc", "(b", "%1", 4, {"", -1, ERR_INVCAPIDX}},
      {"abc", "[b", "x", 4, {"", -1, ERR_MALFORMPAT2}},
  };
  for (const ReplaceCase& c : cases) {
    PatternReplacementString repl(c.repl);
    EXPECT_EQ(Replace(c.subject, c.pattern, repl, c.max), c.want) << c.subject << " / " << c.pattern;
  }
}

TEST(PatternReplace, WithAFunction) {
  FunctionReplacement remove([](const std::vector<PatternCaptureValue>&) -> std::optional<std::string> {
    return std::nullopt;
  });
  EXPECT_EQ(Replace("abc", "b", remove, 4), (ReplaceOutcome{"ac", 1}));

  FunctionReplacement join([](const std::vector<PatternCaptureValue>& v) -> std::optional<std::string> {
    std::string joined;
    for (const PatternCaptureValue& c : v) joined += c.is_position ? std::to_string(c.position) : std::string(c.text);
    return "<" + joined + ">";
  });
  EXPECT_EQ(Replace("a=1, b=2", "(%w+)=(%w+)", join, 99), (ReplaceOutcome{"<a1>, <b2>", 2}));
  EXPECT_EQ(Replace("ab", "%a", join, 99), (ReplaceOutcome{"<a><b>", 2}));
  EXPECT_EQ(Replace("ab", "()a", join, 99), (ReplaceOutcome{"<1>b", 1}));
  // An open capture cannot be handed on.
  EXPECT_EQ(Replace("ab", "(a", join, 99), (ReplaceOutcome{"", -1, ERR_UNFINISHEDCAPTURE}));
}

}  // namespace
}  // namespace tembrovia
