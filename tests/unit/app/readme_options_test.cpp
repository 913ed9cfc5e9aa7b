// The README lists the command-line options in one block made from the option table; this
// keeps the two the same. On a mismatch the failure shows the block to paste.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "app/options/option_table.h"

namespace tembrovia {
namespace {

TEST(Readme, ListsTheOptionsOfTheOptionTable) {
  const char* source = std::getenv("TEMBROVIA_SOURCE_DIR");
  if (!source) GTEST_SKIP() << "run through ctest";
  std::ifstream in(std::string(source) + "/README.md");
  ASSERT_TRUE(in);
  std::stringstream text;
  text << in.rdbuf();
  const std::string readme = text.str();

  const std::string begin = "<!-- options: made from the option table -->\n```\n";
  const size_t start = readme.find(begin);
  ASSERT_NE(start, std::string::npos) << "README.md has no option block";
  const size_t first = start + begin.size();
  const size_t end = readme.find("```\n", first);
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(readme.substr(first, end - first), OptionHelpText())
      << "the block for README.md:\n" << OptionHelpText();
}

}  // namespace
}  // namespace tembrovia
