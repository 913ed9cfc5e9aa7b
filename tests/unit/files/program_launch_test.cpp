#include "files/program_launch.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "files/file_namespace.h"
#include "files/temporary_files.h"
#include "scratch_dir.h"

namespace tembrovia {
namespace {

TEST(CommandLineTest, Splitting) {
  CommandLine command;
  ASSERT_EQ(SplitCommandLine("\"my prog\"   a  \"b c\" d\"e f\"g", command), ERR_NONE);
  EXPECT_EQ(command.program, "my prog");
  EXPECT_EQ(command.arguments, (std::vector<std::string>{"a", "b c", "de fg"}));
  ASSERT_EQ(SplitCommandLine("ls", command), ERR_NONE);
  EXPECT_EQ(command.program, "ls");
  EXPECT_TRUE(command.arguments.empty());
  for (const char* bad : {"", "   ", "\"unclosed", "\"\" x", "p \"open"}) {
    EXPECT_EQ(SplitCommandLine(bad, command), ERR_WRONGUSAGE) << bad;
  }
}

TEST(TemporaryFilesTest, CreatesKeepsAndDeletes) {
  TemporaryFiles temporaries;
  auto first = temporaries.Create();
  auto second = temporaries.Create(".exe");
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  EXPECT_TRUE(std::filesystem::exists(*first)) << "the file stays, so the name cannot be taken";
  EXPECT_EQ(std::filesystem::path(*first).filename().string().substr(0, 2), "vx");
  EXPECT_TRUE(second->ends_with(".exe"));
  EXPECT_EQ(temporaries.Count(), 2u);
  temporaries.DeleteAll();
  EXPECT_FALSE(std::filesystem::exists(*first));
  EXPECT_FALSE(std::filesystem::exists(*second));
  EXPECT_EQ(temporaries.Count(), 0u);
}

class LaunchTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  FileNamespace names;
  TemporaryFiles temporaries;
  void TearDown() override { temporaries.DeleteAll(); }
};

TEST_F(LaunchTest, ExecuteWaitsAndSearchesThePath) {
  int status = -1;
  std::string marker = dir / "made by sh";
  ASSERT_EQ(LaunchProgram("sh -c \"echo hi > '" + marker + "'; exit 3\"", LaunchMode::Wait, &status, names, temporaries)
                .code,
            ERR_NONE);
  EXPECT_EQ(status, 3);
  EXPECT_EQ(ReadBytes(marker), "hi\n");
  FileError missing = LaunchProgram("no-such-program-here x", LaunchMode::Wait, &status, names, temporaries);
  EXPECT_EQ(missing.code, ERR_FILEEXIST);
  EXPECT_EQ(missing.argument, "no-such-program-here");
  EXPECT_EQ(LaunchProgram("", LaunchMode::Wait, &status, names, temporaries).code, ERR_WRONGUSAGE);
}

TEST_F(LaunchTest, ProgramsFromProgDirAndVirtualFiles) {
  WriteBytes(dir / "tool.sh", "#!/bin/sh\nexit 7\n");
  chmod((dir / "tool.sh").c_str(), 0755);
  names.SetProgramDirectory(dir.path().string());
  int status = -1;
  ASSERT_EQ(LaunchProgram("PROGDIR:tool.sh", LaunchMode::Wait, &status, names, temporaries).code, ERR_NONE);
  EXPECT_EQ(status, 7);

  // A program linked into the applet is copied once to an executable temporary file.
  WriteBytes(dir / "applet.vxa", "junk#!/bin/sh\nexit 5\njunk");
  names.RegisterLinkedFile({.name = "bin/inner.sh", .hostPath = dir / "applet.vxa", .offset = 4, .size = 17});
  ASSERT_EQ(LaunchProgram("bin/inner.sh", LaunchMode::Wait, &status, names, temporaries).code, ERR_NONE);
  EXPECT_EQ(status, 5);
  ASSERT_EQ(LaunchProgram("BIN\\INNER.SH", LaunchMode::Wait, &status, names, temporaries).code, ERR_NONE);
  EXPECT_EQ(status, 5);
  EXPECT_EQ(temporaries.Count(), 1u);
  std::string program;
  ASSERT_TRUE(ResolveProgram("bin/inner.sh", program, names, temporaries).ok());
  EXPECT_TRUE(program.ends_with(".sh"));
}

TEST_F(LaunchTest, RunReturnsAtOnceAndReapsTheChild) {
  std::string pidFile = dir / "pid";
  auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(LaunchProgram("sh -c \"echo $$ > '" + pidFile + "'; sleep 0.3\"", LaunchMode::Detach, nullptr, names,
                          temporaries)
                .code,
            ERR_NONE);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(250));
  pid_t pid = 0;
  for (int i = 0; i < 200 && pid == 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::string text = ReadBytes(pidFile);
    if (!text.empty() && text.back() == '\n') pid = std::stoi(text);
  }
  ASSERT_GT(pid, 0);
  // Once reaped, the process is gone entirely (a zombie would still answer kill(pid, 0)).
  bool gone = false;
  for (int i = 0; i < 300 && !gone; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    gone = kill(pid, 0) != 0;
  }
  EXPECT_TRUE(gone);
}

}  // namespace
}  // namespace tembrovia
