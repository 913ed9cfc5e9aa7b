// Constant lookup through GetConstant and LookupConstant; user constants; the built-in
// tables as the assembler sees them.
#include <string>

#include "lib/core/constants.h"
#include "lib/core/registration.h"
#include "support/command_fixture.h"

namespace tembrovia {
namespace {

using ConstantsTest = CommandTest;

TEST_F(ConstantsTest, GetConstantForms) {
  EXPECT_EQ(fx.Call("GetConstant", {"#ERR_MEM"}).number(0), 1000);
  EXPECT_EQ(fx.Call("GetConstant", {"#err_FindArray"}).number(0), ERR_FINDARRAY);
  EXPECT_EQ(fx.Call("GetConstant", {"#_UNKNOWN"}).error, ERR_FINDCST);

  struct Case {
    const char* text;
    ErrorCode error;
    const char* message;
  };
  const Case cases[] = {
      {"ERR_MEM", ERR_WRONGUSAGE, "Wrong usage/parameters for this command!\nRead the documentation!"},
      {"", ERR_WRONGUSAGE, nullptr},
      {"#9ABC", ERR_SYNTAXERROR, "General syntax error!"},
      {"#", ERR_SYNTAXERROR, nullptr},
      {"# ERR_MEM", ERR_SYNTAXERROR, nullptr},
      {"#NOSUCHTHING", ERR_FINDCST, "Constant not found!"},
  };
  for (const Case& c : cases) {
    const CallResult r = fx.Call("GetConstant", {c.text});
    EXPECT_EQ(r.error, c.error) << c.text;
    if (c.message) {
      EXPECT_EQ(r.message, c.message);
    }
  }
  EXPECT_EQ(fx.Call("GetConstant", {}).error, ERR_MISSINGPARAMTR);
}

TEST_F(ConstantsTest, UserConstantsComeAfterTheBuiltInOnes) {
  RegisterUserConstant(fx.state(), "Greeting", "hello", 0);
  RegisterUserConstant(fx.state(), "ANSWER", std::nullopt, 42);
  RegisterUserConstant(fx.state(), "ERR_MEM", std::nullopt, 7);
  EXPECT_EQ(fx.Call("GetConstant", {"#greeting"}).string(0), "hello");
  EXPECT_EQ(fx.Call("GetConstant", {"#Answer"}).number(0), 42);
  EXPECT_EQ(fx.Call("GetConstant", {"#ERR_MEM"}).number(0), 1000);
}

TEST_F(ConstantsTest, TheNameEndsAtTheFirstCharacterOutsideIt) {
  RegisterUserConstant(fx.state(), "A1_B!$", std::nullopt, 5);
  ConstantValue value;
  size_t consumed = 0;
  ASSERT_EQ(LookupConstant(fx.state(), "#a1_b!$+3", &value, &consumed), ERR_NONE);
  EXPECT_EQ(value.number, 5);
  EXPECT_EQ(consumed, 7u);

  // At most 64 characters are read: a longer name is looked up by its first 64.
  const std::string name64(64, 'q');
  RegisterUserConstant(fx.state(), name64, std::nullopt, 64);
  ASSERT_EQ(LookupConstant(fx.state(), "#" + name64 + "qqqq", &value, &consumed), ERR_NONE);
  EXPECT_EQ(value.number, 64);
  EXPECT_EQ(consumed, 65u);
}

TEST(BuiltinConstants, FoundWithoutAStateInAnyCase) {
  const ConstantEntry* found = FindBuiltinConstant("err_findarray");
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->number, ERR_FINDARRAY);
  EXPECT_EQ(FindBuiltinConstant("ERR_PERCENTFORMATSTR")->number, ERR_PERCENTFORMATSTR);
  EXPECT_EQ(FindBuiltinConstant("NO_SUCH_CONSTANT"), nullptr);
}

}  // namespace
}  // namespace tembrovia
