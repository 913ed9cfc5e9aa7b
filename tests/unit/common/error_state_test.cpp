#include "common/error_state.h"

#include <gtest/gtest.h>

#include <string>

#include "common/format_error.h"

namespace tembrovia {
namespace {

TEST(ErrorState, RegisteredTextsAreNumberedFrom1509AndCopied) {
  ErrorState state;
  std::string text = "Plugin failure in %s!";
  EXPECT_EQ(state.RegisterText(text), 1509);
  EXPECT_EQ(state.RegisterText("Second"), 1510);
  text = "changed";
  EXPECT_EQ(state.RegisteredText(1509), "Plugin failure in %s!");
  EXPECT_EQ(state.RegisteredText(1511), std::nullopt);
  EXPECT_EQ(state.RegisteredText(1508), std::nullopt);
  state.SetText("x.vxp");
  EXPECT_EQ(FormatError(1509, state), "Plugin failure in x.vxp!");
  EXPECT_EQ(FormatError(1510, state), "Second");
}

TEST(ErrorState, ArgumentsAreOverwrittenByTheNextError) {
  ErrorState state;
  state.SetText("a.png");
  state.SetNumber(7);
  state.SetText("b.png");
  EXPECT_EQ(state.Arguments().text, "b.png");
  EXPECT_EQ(state.Arguments().number, 7);
}

TEST(ErrorState, ContextResetKeepsTheScriptName) {
  ErrorState state;
  EXPECT_EQ(state.Context().name, "----");
  EXPECT_EQ(state.Context().line, -1);
  EXPECT_FALSE(state.Context().HasScriptName());
  state.SetContext({"DisplayBrush", 12, "game.vxs"});
  EXPECT_TRUE(state.Context().HasName());
  state.ResetContext();
  const ErrorLocation context = state.Context();
  EXPECT_FALSE(context.HasName());
  EXPECT_EQ(context.line, -1);
  EXPECT_EQ(context.script_name, "game.vxs");
}

}  // namespace
}  // namespace tembrovia
