#include "app/options/settings_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace tembrovia {
namespace {

TEST(SettingsFileName, ReplacesTheExtensionOfTheFileNameOnly) {
  EXPECT_EQ(SettingsFileName("game.vxa"), "game.ini");
  EXPECT_EQ(SettingsFileName("/x/y.d/game"), "/x/y.d/game.ini");
  EXPECT_EQ(SettingsFileName("dir.v2\\game"), "dir.v2\\game.ini");
  EXPECT_EQ(SettingsFileName("a.b.vxa"), "a.b.ini");
  EXPECT_EQ(SettingsFileName("/x/.hidden"), "/x/.hidden.ini");
}

struct SyntaxCase {
  const char* text;
  ErrorCode error;
};

class SettingsSyntaxTest : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(SettingsSyntaxTest, AcceptsOrRejects) {
  OptionValues options;
  std::vector<UserArgument> user;
  EXPECT_EQ(ParseSettingsText(GetParam().text, options, user), GetParam().error)
      << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsSyntaxTest,
    ::testing::Values(
        SyntaxCase{"", ERR_NONE},
        SyntaxCase{"  \r\n\t\n", ERR_NONE},
        SyntaxCase{"# comment = x\n[section]\n  ; not a comment", ERR_INISYNTAX},
        SyntaxCase{"# comment\n[section]\nquiet=1\r\n", ERR_NONE},
        SyntaxCase{"quiet", ERR_INISYNTAX},
        SyntaxCase{"quiet 1", ERR_INISYNTAX},
        SyntaxCase{"1quiet = 1", ERR_INISYNTAX},
        SyntaxCase{"_key = 1", ERR_INISYNTAX},
        SyntaxCase{"title = \"open", ERR_INISYNTAX},
        SyntaxCase{"title = \"open\nclose\"", ERR_INISYNTAX},
        SyntaxCase{"title = \"a\" b = \"c\"", ERR_NONE},
        SyntaxCase{"key-name = 1", ERR_INISYNTAX},
        SyntaxCase{"empty =", ERR_NONE}));

TEST(SettingsSyntax, KeyLengthLimit) {
  OptionValues options;
  std::vector<UserArgument> user;
  std::string longest = "k" + std::string(kMaxSettingsKey - 1, 'x');
  EXPECT_EQ(ParseSettingsText(longest + " = 1", options, user), ERR_NONE);
  EXPECT_EQ(ParseSettingsText(longest + "y = 1", options, user), ERR_INISYNTAX);
}

TEST(SettingsText, SetsOptionsAndUserArguments) {
  OptionValues options;
  std::vector<UserArgument> user;
  ASSERT_EQ(ParseSettingsText("fullscreen = yes\n"
                              "quiet=0\n"
                              "NoSound = On\n"
                              "hidepointer = 2\n"
                              "fixed = abc\n"
                              "Title = \"My  Game\"\n"
                              "ScriptAlias =  spaced value \t \r\n"
                              "Extra = tail\n",
                              options, user),
            ERR_NONE);
  EXPECT_TRUE(options[kOptFullScreen].set);
  EXPECT_FALSE(options[kOptQuiet].set);
  EXPECT_TRUE(options[kOptNoSound].set);
  EXPECT_TRUE(options[kOptHidePointer].set);
  EXPECT_FALSE(options[kOptFixed].set);
  EXPECT_EQ(options[kOptScriptAlias].value, "spaced value");
  std::vector<UserArgument> expected = {{"Title", "My  Game", true}, {"Extra", "tail", true}};
  EXPECT_EQ(user, expected);
}

TEST(SettingsText, OverwritesTheCommandLine) {
  OptionValues options;
  options[kOptQuiet] = {true, ""};
  options[kOptScrWidth] = {true, "640"};
  std::vector<UserArgument> user;
  ASSERT_EQ(ParseSettingsText("quiet = false\nscrwidth = 800\n", options, user), ERR_NONE);
  EXPECT_FALSE(options[kOptQuiet].set);
  EXPECT_EQ(options[kOptScrWidth].value, "800");
}

TEST(SettingsFile, MissingFileIsNoErrorAndAPresentOneIsRead) {
  std::filesystem::path directory = std::filesystem::temp_directory_path() / "tembrovia-ini-test";
  std::filesystem::create_directories(directory);
  std::string applet = (directory / "game.vxa").string();

  OptionValues options;
  PlayerConfig config;
  std::filesystem::remove(directory / "game.ini");
  EXPECT_EQ(ReadSettingsFile(applet, options, config), ERR_NONE);

  std::ofstream(directory / "game.ini") << "window = true\nbad line\n";
  EXPECT_EQ(ReadSettingsFile(applet, options, config), ERR_INISYNTAX);
  EXPECT_TRUE(options[kOptWindow].set);
  std::filesystem::remove_all(directory);
}

}  // namespace
}  // namespace tembrovia
