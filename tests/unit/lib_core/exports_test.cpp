// The command, constant and plugin exports.
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/format_error.h"
#include "common/latin1_case.h"
#include "lib/core/exports.h"
#include "support/command_fixture.h"

namespace tembrovia {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

using ExportsTest = CommandTest;

TEST_F(ExportsTest, CommandListFollowsTheLibraryOrderAndSpelling) {
  const std::string text = CommandExport(fx.runtime().commands());
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(text.back(), '\n');
  const std::vector<std::string> lines = Lines(text);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "::end");

  // Walk the groups: "::name", the count, that many names.
  std::vector<std::string> names;
  std::vector<std::vector<std::string>> commands;
  size_t i = 0;
  while (i + 1 < lines.size()) {
    ASSERT_EQ(lines[i].rfind("::", 0), 0u) << "line " << i << ": " << lines[i];
    names.push_back(lines[i].substr(2));
    const size_t count = std::stoul(lines[i + 1]);
    ASSERT_LE(i + 2 + count, lines.size() - 1);
    commands.emplace_back(lines.begin() + static_cast<long>(i + 2),
                          lines.begin() + static_cast<long>(i + 2 + count));
    i += 2 + count;
  }
  EXPECT_EQ(i, lines.size() - 1);
  const std::vector<std::string> expected_order = {
      "string", "math",  "graphics", "draw",  "moveobject", "dos",          "event",
      "system", "layers", "text",    "anim",  "display",    "sound",        "brush",
      "bgpic",  "transitionfx", "sprite", "memblock", "vectorgraphics", "network", "video"};
  EXPECT_EQ(names, expected_order);

  // Each library lists exactly its table, as spelled there.
  const auto libraries = LibraryOrder();
  ASSERT_EQ(commands.size(), libraries.size());
  for (size_t l = 0; l < libraries.size(); ++l) {
    std::vector<std::string> table;
    for (const CommandEntry& command : libraries[l]->commands) table.push_back(command.name);
    EXPECT_EQ(commands[l], table) << names[l];
  }
  const auto& string_commands = commands[0];
  EXPECT_NE(std::find(string_commands.begin(), string_commands.end(), "ToString"), string_commands.end());
  const auto& system_commands = commands[7];
  for (const char* name : {"DebugPrint", "GetConstant", "GetObjectData", "CopyObjectData"}) {
    EXPECT_NE(std::find(system_commands.begin(), system_commands.end(), name), system_commands.end())
        << name;
  }
}

TEST_F(ExportsTest, ConstantListHoldsEveryRegisteredName) {
  const std::vector<std::string> lines = Lines(ConstantExport(fx.state()));
  std::set<std::string> expected;
  for (const LibraryTable* library : LibraryOrder()) {
    for (const ConstantEntry& constant : library->constants) expected.insert(Latin1Lower(constant.name));
  }
  EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), expected);
  EXPECT_EQ(lines.size(), expected.size());
  EXPECT_TRUE(expected.count("err_mem"));
}

TEST(PluginExport, Format) {
  PluginExportInfo with_commands;
  with_commands.version = 1;
  with_commands.revision = 12;
  with_commands.capabilities = 0x2a;
  with_commands.texts = {"demo", "Someone", "Does things", "(C) nobody", "", "2024", "", "demo.guide"};
  with_commands.adds_commands = true;
  with_commands.base_name = "demo";
  with_commands.commands = {"Hello", "World"};
  with_commands.constants = {"DEMO_ONE"};
  PluginExportInfo plain;
  plain.version = 2;
  plain.capabilities = 0x80000001u;
  const PluginExportInfo plugins[] = {with_commands, plain};
  EXPECT_EQ(PluginExport(plugins),
            "::plugin\n1.12\n0x0000002a\ndemo\nSomeone\nDoes things\n(C) nobody\n\n2024\n\n"
            "demo.guide\n::commands\ndemo.Hello\ndemo.World\n::constants\nDEMO_ONE\n"
            "::plugin\n2.0\n0x80000001\n\n\n\n\n\n\n\n\n"
            "::end\n");
  EXPECT_EQ(PluginExport({}), "::end\n");
}

TEST(ExportFile, WritesOrReportsThePath) {
  char path[] = "/tmp/tembrovia-export-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  ASSERT_EQ(WriteExportFile(path, "::end\n"), ERR_NONE);
  std::ifstream in(path, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "::end\n");
  std::remove(path);

  EXPECT_EQ(WriteExportFile("/nonexistent-dir/cmds.txt", "x"), ERR_WRITEFILE);
  EXPECT_EQ(FormatError(ERR_WRITEFILE), "Cannot write to file /nonexistent-dir/cmds.txt !");
}

}  // namespace
}  // namespace tembrovia
