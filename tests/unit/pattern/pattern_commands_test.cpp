// PatternFindStr and PatternReplaceStr through the VM: the iterator in a generic for loop,
// replacement strings and functions, and the errors.
#include <string>
#include <vector>

#include "support/command_fixture.h"
#include "table/generic_for.h"

namespace tembrovia {
namespace {

using PatternCommandsTest = CommandTest;

std::string FindAll(CommandFixture& fx, const char* subject, const char* pattern) {
  return testing::GenericForOutput(fx, "patternfindstr", {subject, pattern});
}

TEST_F(PatternCommandsTest, TheIteratorStepsThroughTheMatches) {
  EXPECT_EQ(FindAll(fx, "a1b22", "%d+"), "1 Nil\n22 Nil\n");
  EXPECT_EQ(FindAll(fx, "a1b22", "()"), "1 Nil\n2 Nil\n3 Nil\n4 Nil\n5 Nil\n6 Nil\n");
  EXPECT_EQ(FindAll(fx, "k=v, x=y", "(%w+)=(%w+)"), "k v\nx y\n");
  EXPECT_EQ(FindAll(fx, "^a^", "^"), "^ Nil\n^ Nil\n");  // no anchor here
  EXPECT_EQ(FindAll(fx, "abc", "x"), "");
}

TEST_F(PatternCommandsTest, FindStrTakesStringsOnly) {
  EXPECT_EQ(fx.Call("PatternFindStr", {"abc"}).error, ERR_MISSINGPARAMTR);
  EXPECT_EQ(fx.Call("PatternFindStr", {"abc", Arg::List({})}).error, ERR_STREXPECTED);
  EXPECT_EQ(fx.Call("PatternFindStr", {123, 2}).value(0).type, TagFunction);
}

TEST_F(PatternCommandsTest, ReplaceWithStrings) {
  struct Case {
    std::vector<Arg> args;
    std::string text;
    double count;
  };
  const Case cases[] = {
      {{"hello world", "o", "0"}, "hell0 w0rld", 2},
      {{"hello world", "o", "0", 1}, "hell0 world", 1},
      {{"hello world", "o", "0", 0}, "hello world", 0},
      {{"abc", "^a", "x"}, "xbc", 1},
      {{"aaa", "^a", "x"}, "xaa", 1},
      {{"hello world", "(o)(.)", "%2%1"}, "hell owrold", 2},
      {{"abc", "()b", "%1"}, "a2c", 1},
      {{"abc", "", "-"}, "-a-b-c-", 4},
      {{"x=1", "%d", 7}, "x=7", 1},
      {{"50", "%d+", "%%%q"}, "%q", 1},
  };
  for (const Case& c : cases) {
    const CallResult r = fx.Call("PatternReplaceStr", c.args);
    ASSERT_TRUE(r.ok()) << r.message;
    ASSERT_EQ(r.count(), 2u);
    EXPECT_EQ(r.string(0), c.text);
    EXPECT_EQ(r.number(1), c.count) << c.text;
  }
}

int Upper(VMState* state) {
  std::string text = ToString(state, 1);
  for (char& c : text) c = static_cast<char>(c - 32);
  PushStringView(state, text);
  return 1;
}

int Nothing(VMState*) { return 0; }

int Position(VMState* state) {
  PushNumber(state, ToNumber(state, 1) * 10);
  return 1;
}

int Failing(VMState*) { return ERR_WRONGUSAGE; }

TEST_F(PatternCommandsTest, ReplaceWithAFunction) {
  EXPECT_EQ(fx.Call("PatternReplaceStr", {"abc", "b", Arg::Function(Upper)}).string(0), "aBc");
  const CallResult removed = fx.Call("PatternReplaceStr", {"abc", "b", Arg::Function(Nothing)});
  EXPECT_EQ(removed.string(0), "ac");
  EXPECT_EQ(removed.number(1), 1);
  EXPECT_EQ(fx.Call("PatternReplaceStr", {"abcb", "()b", Arg::Function(Position)}).string(0), "a20c40");
  EXPECT_EQ(fx.Call("PatternReplaceStr", {"abc", "b", Arg::Function(Failing)}).error, ERR_WRONGUSAGE);
}

TEST_F(PatternCommandsTest, AFailingScriptCallbackIsTheCommandsError) {
  ASSERT_TRUE(fx.Run(R"(
        makeclosure r0, callback
        writeglobal r0, "callback"
        return r0, 1
    .function callback
        .params 1
        call Error, "boom"
        return r0, 1
    .end
  )").ok());
  const CallResult r = fx.Call("PatternReplaceStr", {"abc", "b", Arg::Global("callback")});
  EXPECT_EQ(r.error, ERR_ERRORCALLED);
  EXPECT_EQ(r.message, "boom");
  EXPECT_FALSE(GetStopFlag(fx.state()));
  EXPECT_EQ(GetCallbackDepth(fx.state()), 0);
}

TEST_F(PatternCommandsTest, Errors) {
  struct Case {
    std::vector<Arg> args;
    ErrorCode error;
  };
  const Case cases[] = {
      {{"abc", "b", "%1"}, ERR_INVCAPIDX},
      {{"abc", "b", "%0"}, ERR_INVCAPIDX},
      {{"abc", "b", Arg::List({})}, ERR_WRONGUSAGE},
      {{"abc", "b", kNil}, ERR_WRONGUSAGE},
      {{"abc", "%", "x"}, ERR_MALFORMPAT1},
      {{"abc", "[a", "x"}, ERR_MALFORMPAT2},
      {{"abc", "%b", "x"}, ERR_UNBALANCEDPAT},
      {{"abc", "a)", "x"}, ERR_INVPATCAP},
      {{"abc", "%fa", "x"}, ERR_MISSINGOPBRACK},
      {{"abc", "(a", "%1"}, ERR_INVCAPIDX},
      {{"abc", "(a", Arg::Function(Nothing)}, ERR_UNFINISHEDCAPTURE},
      {{"abc", "b"}, ERR_MISSINGPARAMTR},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(fx.Call("PatternReplaceStr", cases[i].args).error, cases[i].error) << "case " << i;
  }
  EXPECT_EQ(fx.Call("PatternReplaceStr", {"abc", "(a", Arg::Function(Nothing)}).message,
            "Unfinished capture!");
}

TEST(PatternCommands, ALongSearchEndsOnceTheScriptIsToStop) {
  CommandFixture fx;
  const std::string subject(40, 'a');
  const char* slow = "a*a*a*a*a*a*b";  // backtracks through every split of the subject
  SetStopFlag(fx.state());
  EXPECT_EQ(fx.Call("PatternReplaceStr", {subject, slow, "x"}).error, ERR_USERABORT);
}

}  // namespace
}  // namespace tembrovia
