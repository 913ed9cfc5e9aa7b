// Volumes, temporary files, starting programs and the environment, through the VM.
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "dos_test.h"
#include "files/outside_tool.h"
#include "files/temporary_files.h"

namespace tembrovia {
namespace fs = std::filesystem;
namespace {

using HostCommandsTest = DosTest;

TEST_F(HostCommandsTest, TemporaryFilesAreCreatedAndKeptUntilTheEnd) {
  const std::string first = Ok("GetTempFileName").string(0);
  const std::string second = Ok("GetTempFileName").string(0);
  EXPECT_NE(first, second);
  for (const std::string& path : {first, second}) {
    EXPECT_TRUE(fs::path(path).filename().string().starts_with("vx")) << path;
    EXPECT_TRUE(fs::is_regular_file(path)) << "the name is taken by a file of our own: " << path;
  }
  DefaultTemporaryFiles().DeleteAll();  // what the driver does at the end of the run
  EXPECT_FALSE(fs::exists(first));
  EXPECT_FALSE(fs::exists(second));
  EXPECT_EQ(fx.Call("GetTempFileName", {1}).error, ERR_TOOMANYARGS);
}

TEST_F(HostCommandsTest, ExecuteWaitsAndRunReturnsAtOnce) {
  const std::string marker = dir / "executed";
  Ok("Execute", {"sh -c \"echo done > '" + marker + "'\""});
  EXPECT_EQ(ReadBytes(marker), "done\n");

  const std::string later = dir / "ran";
  Ok("Run", {"sh -c \"sleep 0.2; echo done > '" + later + "'\"", false});
  for (int i = 0; i < 500 && ReadBytes(later) != "done\n"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(ReadBytes(later), "done\n");

  const CallResult missing = fx.Call("Execute", {"no-such-program-here --x"});
  EXPECT_EQ(missing.error, ERR_FILEEXIST);
  EXPECT_EQ(missing.message, "File no-such-program-here does not exist!");
  EXPECT_EQ(fx.Call("Execute", {""}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("Run", {"\"unclosed"}).error, ERR_WRONGUSAGE);
}

TEST_F(HostCommandsTest, Environment) {
  const std::string name = "TEMBROVIA_DOS_TEST_VARIABLE";
  Ok("UnsetEnv", {name});
  const CallResult unset = Ok("GetEnv", {name});
  ASSERT_EQ(unset.count(), 2u);
  EXPECT_EQ(unset.string(0), "");
  EXPECT_EQ(unset.number(1), 0);
  Ok("SetEnv", {name, "a value"});
  const CallResult set = Ok("GetEnv", {name});
  EXPECT_EQ(set.string(0), "a value");
  EXPECT_EQ(set.number(1), 1);
  Ok("SetEnv", {name, ""});
  EXPECT_EQ(Ok("GetEnv", {name}).number(1), 1) << "set to the empty string is still set";
  Ok("UnsetEnv", {name});
  EXPECT_EQ(Ok("GetEnv", {name}).number(1), 0);

  EXPECT_EQ(fx.Call("SetEnv", {"A=B", "x"}).error, ERR_SETENV);
  EXPECT_EQ(fx.Call("SetEnv", {"", "x"}).error, ERR_SETENV);
  EXPECT_EQ(fx.Call("SetEnv", {name, std::string("cut\0off", 7)}).error, ERR_SETENV);
  const CallResult unsetError = fx.Call("UnsetEnv", {""});
  EXPECT_EQ(unsetError.error, ERR_UNSETENV);
  EXPECT_EQ(unsetError.message, "Error removing environment variable!");
}

TEST_F(HostCommandsTest, Volumes) {
  const std::string path = dir.path().string();
  const double free = Ok("GetVolumeInfo", {path, 1}).number(0);  // #FREESPACE
  const double used = Ok("GetVolumeInfo", {path, 0}).number(0);  // #USEDSPACE
  const std::string total = RunPython("import os, sys; s = os.statvfs(sys.argv[1]); print(s.f_blocks * s.f_frsize)", path);
  ASSERT_FALSE(total.empty());
  EXPECT_GT(free, 0);
  EXPECT_EQ(free + used, std::stod(total));
  EXPECT_EQ(fx.Call("GetVolumeInfo", {path, 2}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("GetVolumeInfo", {dir / "none", 1}).error, ERR_LOCK2);

  EXPECT_FALSE(Ok("GetVolumeName", {path}).string(0).empty());
  EXPECT_EQ(fx.Call("GetVolumeName", {""}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("GetVolumeName", {dir / "none"}).error, ERR_LOCK2);
}

}  // namespace
}  // namespace tembrovia
