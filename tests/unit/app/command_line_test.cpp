#include "app/options/command_line.h"

#include <gtest/gtest.h>

namespace tembrovia {
namespace {

TEST(JoinArguments, QuotesPlainWordsAndKeepsOptions) {
  EXPECT_EQ(JoinArguments({"-WINDOW", "my game.vxa", "-SCRWIDTH", "640"}),
            "-WINDOW \"my game.vxa\" -SCRWIDTH \"640\"");
  EXPECT_EQ(JoinArguments({}), "");
}

TEST(JoinArguments, CutsTheLineToItsLimit) {
  std::string line = JoinArguments({std::string(5000, 'a')});
  EXPECT_EQ(line.size(), kMaxCommandLine - 1);
  EXPECT_EQ(line.substr(0, 2), "\"a");
}

TEST(TokenizeCommandLine, SplitsOnSpacesAndKeepsQuotedSpaces) {
  std::vector<CommandLineToken> tokens =
      TokenizeCommandLine("  -QUIET \"a b.vxa\"  plain \"\" \"-5\" \"open");
  std::vector<CommandLineToken> expected = {
      {"-QUIET", false}, {"a b.vxa", true}, {"plain", false},
      {"", true},        {"-5", true},      {"open", true}};
  EXPECT_EQ(tokens, expected);
  EXPECT_TRUE(tokens[0].IsOption());
  EXPECT_FALSE(tokens[4].IsOption());  // a quoted "-5" is a value, not an option
}

struct ParseCase {
  const char* line;
  ErrorCode error;
  const char* file;  // expected applet path, "" for none
};

class ParseCommandLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCommandLineTest, ErrorAndFile) {
  const ParseCase& c = GetParam();
  OptionValues options;
  PlayerConfig config;
  EXPECT_EQ(ParseCommandLine(c.line, options, config), c.error) << c.line;
  if (c.error == ERR_NONE) {
    EXPECT_EQ(config.appletPath, c.file) << c.line;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseCommandLineTest,
    ::testing::Values(
        ParseCase{"game.vxa", ERR_NONE, "game.vxa"},
        ParseCase{"\"my game.vxa\" -QUIET", ERR_NONE, "my game.vxa"},
        ParseCase{"-window -FullScreen game.vxa", ERR_NONE, "game.vxa"},
        ParseCase{"-SCRWIDTH 640 game.vxa", ERR_NONE, "game.vxa"},
        ParseCase{"", ERR_CONFIG, ""},
        ParseCase{"-QUIET", ERR_CONFIG, ""},
        // A value missing at the end, or replaced by another option.
        ParseCase{"game.vxa -SCRWIDTH", ERR_ARGS, ""},
        ParseCase{"-SCRWIDTH -QUIET game.vxa", ERR_ARGS, ""},
        ParseCase{"one.vxa two.vxa", ERR_ARGS, ""},
        ParseCase{"- game.vxa", ERR_ARGS, ""},
        // An unknown option takes the next plain word as its value, even the file name.
        ParseCase{"-MYARG game.vxa", ERR_CONFIG, ""},
        ParseCase{"-MYARG -QUIET game.vxa", ERR_NONE, "game.vxa"}));

TEST(ParseCommandLine, FillsSlotsUserArgumentsAndFileArgument) {
  OptionValues options;
  PlayerConfig config;
  ASSERT_EQ(ParseCommandLine("-quiet -Level 3 -SCRIPTALIAS \"Nice Name\" \"a b.vxa\" -flag -x1 "
                             "-DebugDevice ::file/tmp/out",
                             options, config),
            ERR_NONE);
  EXPECT_TRUE(options[kOptQuiet].set);
  EXPECT_EQ(options[kOptScriptAlias].value, "Nice Name");
  EXPECT_EQ(options[kOptDebugDevice].value, "::file/tmp/out");
  EXPECT_FALSE(options[kOptWindow].set);
  std::vector<UserArgument> expected = {
      {"Level", "3", true}, {"flag", "", false}, {"x1", "", false}};
  EXPECT_EQ(config.userArguments, expected);
  EXPECT_EQ(config.fileArgument, "a b.vxa");
}

TEST(ParseCommandLine, PrivateOptionsShareTheExportSlots) {
  OptionValues options;
  PlayerConfig config;
  ASSERT_EQ(ParseCommandLine("-PRIVATE1 c.txt -PRIVATE2 k.txt x.vxa", options, config), ERR_NONE);
  EXPECT_EQ(options[kOptExportCommands].value, "c.txt");
  EXPECT_EQ(options[kOptExportConstants].value, "k.txt");
}

TEST(ParseCommandLine, CompileOutputBecomesAbsolute) {
  OptionValues options;
  PlayerConfig config;
  ASSERT_EQ(ParseCommandLine("-COMPILE out.exe x.vxa", options, config), ERR_NONE);
  EXPECT_EQ(options[kOptCompile].value.front(), '/');
  EXPECT_TRUE(options[kOptCompile].value.ends_with("/out.exe"));

  OptionValues drive;
  ASSERT_EQ(ParseCommandLine("-COMPILE C:out.exe x.vxa", drive, config = {}), ERR_NONE);
  EXPECT_EQ(drive[kOptCompile].value, "C:out.exe");
}

}  // namespace
}  // namespace tembrovia
