// CopyFile and DeleteFile through the VM: the script callback's tables and answers, a
// failing callback, and the refusals that protect the files themselves.
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "dos_test.h"

namespace tembrovia {
namespace fs = std::filesystem;
namespace {

int CallbackDepth(VMState* state) {
  PushNumber(state, GetCallbackDepth(state));
  return 1;
}

// The lines PrintFields gives for the copy callback's tables.
std::string Status(const std::string& source, const std::string& copy, int copied, int size,
                   const std::string& userdata = "") {
  return "action=0 source=" + source + " destination=" + copy + " copied=" + std::to_string(copied) +
         " filesize=" + std::to_string(size) + userdata + "\n";
}

std::string Overwrite(const std::string& source, const std::string& copy) {
  return "action=1 source=" + source + " destination=" + copy + "\n";
}

class CopyDeleteCommandsTest : public DosTest {
 protected:
  void SetUp() override {
    fs::create_directories(dir.path() / "tree/sub");
    WriteBytes(dir / "big.bin", std::string(20000, 'x'));
    WriteBytes(dir / "tree/a.txt", "alpha");
    WriteBytes(dir / "tree/b.jpg", "beta");
    WriteBytes(dir / "tree/sub/c.txt", "gamma");
    DefineProgressCallback(fx);
  }
  void Answer(double value) { fx.SetGlobal("answer", value); }
};

TEST_F(CopyDeleteCommandsTest, CopyReportsEachBlockAndAsksBeforeOverwriting) {
  const std::string source = dir / "big.bin";
  const std::string copy = dir / "out/big.bin";
  Answer(0);
  Ok("CopyFile", {source, dir / "out", kNil, Arg::Global("progress"), "ud"});
  EXPECT_EQ(fx.TakeDebugOutput(), Status(source, copy, 16384, 20000, " userdata=ud") +
                                      Status(source, copy, 20000, 20000, " userdata=ud"));
  EXPECT_EQ(ReadBytes(copy), std::string(20000, 'x'));

  WriteBytes(source, "changed");
  Answer(0);  // skip
  Ok("CopyFile", {source, dir / "out", "", Arg::Global("progress")});
  EXPECT_EQ(fx.TakeDebugOutput(), Overwrite(source, copy));
  EXPECT_EQ(ReadBytes(copy).size(), 20000u);
  Answer(-1);  // abort: no error
  Ok("CopyFile", {source, dir / "out", "", Arg::Global("progress")});
  EXPECT_EQ(ReadBytes(copy).size(), 20000u);
  fx.TakeDebugOutput();
  Answer(2);  // overwrite
  Ok("CopyFile", {source, dir / "out", "", Arg::Global("progress")});
  EXPECT_EQ(fx.TakeDebugOutput(), Overwrite(source, copy) + Status(source, copy, 7, 7));
  EXPECT_EQ(ReadBytes(copy), "changed");

  // A write-protected copy stays without a callback; the callback may unprotect it.
  chmod(copy.c_str(), 0444);
  WriteBytes(source, "again");
  Ok("CopyFile", {source, dir / "out"});
  EXPECT_EQ(ReadBytes(copy), "changed");
  Answer(2);
  Ok("CopyFile", {source, dir / "out", "renamed.bin", Arg::Global("progress")});
  fx.TakeDebugOutput();
  chmod(copy.c_str(), 0444);
  Ok("CopyFile", {source, dir / "out", "", Arg::Global("progress")});
  EXPECT_EQ(fx.TakeDebugOutput(), Overwrite(source, copy) + "action=2 destination=" + copy + "\n" +
                                      Status(source, copy, 5, 5));
  EXPECT_EQ(ReadBytes(copy), "again");
  EXPECT_EQ(ReadBytes(dir / "out/renamed.bin"), "again");
}

TEST_F(CopyDeleteCommandsTest, DirectoriesWithPatternAndNilForSkippedArguments) {
  Ok("CopyFile", {dir / "tree", dir / "copy", kNil, kNil, kNil, "*.txt"});
  EXPECT_EQ(ReadBytes(dir / "copy/a.txt"), "alpha");
  EXPECT_EQ(ReadBytes(dir / "copy/sub/c.txt"), "gamma");
  EXPECT_FALSE(fs::exists(dir.path() / "copy/b.jpg"));
  Ok("CopyFile", {dir / "tree", dir / "flat", "", kNil, kNil, "*.txt", false});
  EXPECT_TRUE(fs::exists(dir.path() / "flat/a.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "flat/sub"));
  EXPECT_EQ(fx.Call("CopyFile", {dir / "tree", dir / "x", "", 5}).error, ERR_FUNCEXPECTED);
}

TEST_F(CopyDeleteCommandsTest, CopyRefusesWhatWouldDestroyItsOwnSource) {
  const CallResult self = fx.Call("CopyFile", {dir / "big.bin", dir.path().string() + "/"});
  EXPECT_EQ(self.error, ERR_WRONGUSAGE);
  EXPECT_EQ(ReadBytes(dir / "big.bin"), std::string(20000, 'x'));
  EXPECT_EQ(fx.Call("CopyFile", {dir / "tree/a.txt", dir / "tree", "a.txt"}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(ReadBytes(dir / "tree/a.txt"), "alpha");
  EXPECT_EQ(fx.Call("CopyFile", {dir / "tree", dir / "tree/sub"}).error, ERR_WRONGUSAGE);
  EXPECT_FALSE(fs::exists(dir.path() / "tree/sub/sub"));

  const CallResult missing = fx.Call("CopyFile", {dir / "missing", dir / "out"});
  EXPECT_EQ(missing.error, ERR_LOCK2);
  EXPECT_EQ(missing.message, "Error locking " + (dir / "missing") + "!");
  const CallResult pattern = fx.Call("CopyFile", {dir / "big.bin", dir / "out", "", kNil, kNil, "*"});
  EXPECT_EQ(pattern.error, ERR_NODIRPATTERN);
  EXPECT_EQ(pattern.message, "Filter patterns can only be used on directories!");
  EXPECT_EQ(fx.Call("CopyFile", {dir / "tree", dir / "out", "new"}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("CopyFile", {"", ""}).error, ERR_WRONGUSAGE);
}

TEST_F(CopyDeleteCommandsTest, DeleteReportsEachFileAndNeverLeavesTheTree) {
  fs::create_directory(dir.path() / "outside");
  WriteBytes(dir / "outside/keep.txt", "precious");
  fs::create_directory_symlink(dir.path() / "outside", dir.path() / "tree/sub/link");

  Answer(0);
  Ok("DeleteFile", {dir / "tree", Arg::Global("progress"), 7, "*.txt"});
  const std::string output = fx.TakeDebugOutput();
  EXPECT_NE(output.find("action=0 file=" + (dir / "tree/a.txt") + " userdata=7\n"), std::string::npos) << output;
  EXPECT_NE(output.find("action=0 file=" + (dir / "tree/sub/c.txt") + " userdata=7\n"), std::string::npos) << output;
  EXPECT_EQ(output.find("keep.txt"), std::string::npos) << output;
  EXPECT_TRUE(fs::exists(dir.path() / "tree/b.jpg"));
  EXPECT_TRUE(fs::exists(dir.path() / "tree/sub"));

  Ok("DeleteFile", {dir / "tree"});
  EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "tree")));
  EXPECT_EQ(ReadBytes(dir / "outside/keep.txt"), "precious");

  chmod((dir / "outside/keep.txt").c_str(), 0444);
  Ok("DeleteFile", {dir / "outside/keep.txt"});
  EXPECT_TRUE(fs::exists(dir.path() / "outside/keep.txt")) << "protected files are skipped";
  Answer(2);
  Ok("DeleteFile", {dir / "outside/keep.txt", Arg::Global("progress")});
  EXPECT_EQ(fx.TakeDebugOutput(), "action=1 file=" + (dir / "outside/keep.txt") + "\n" +
                                      "action=0 file=" + (dir / "outside/keep.txt") + "\n");
  EXPECT_FALSE(fs::exists(dir.path() / "outside/keep.txt"));

  EXPECT_EQ(fx.Call("DeleteFile", {""}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("DeleteFile", {":::chunk0:1*a/" + (dir / "big.bin")}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("DeleteFile", {dir / "big.bin", kNil, kNil, "*"}).error, ERR_NODIRPATTERN);
  Ok("DeleteFile", {dir / "missing"});
}

TEST(CopyDeleteCallbacks, RunAsCallbacksAndAFailureIsTheCommandsError) {
  CommandFixture fx;
  ScratchDir dir;
  WriteBytes(dir / "a.bin", std::string(40000, 'a'));
  fx.Register("CallbackDepth", CallbackDepth);
  ASSERT_TRUE(fx.Run(R"(
        makeclosure r0, failing
        writeglobal r0, "failing"
        return r0, 1
    .function failing
        .params 1
        call CallbackDepth => r1
        call DebugPrint, r1
        call Error, "stop here"
        return r0, 1
    .end
  )").ok());
  const CallResult copy = fx.Call("CopyFile", {dir / "a.bin", dir / "out", "", Arg::Global("failing")});
  EXPECT_EQ(copy.error, ERR_ERRORCALLED);
  EXPECT_EQ(copy.message, "stop here");
  EXPECT_EQ(fx.TakeDebugOutput(), "1\n");
  EXPECT_FALSE(fs::exists(dir.path() / "out/a.bin")) << "the partial copy is removed";
  EXPECT_EQ(fx.Call("DeleteFile", {dir / "a.bin", Arg::Global("failing")}).error, ERR_ERRORCALLED);
  EXPECT_TRUE(fs::exists(dir.path() / "a.bin"));
  EXPECT_FALSE(GetStopFlag(fx.state()));
  EXPECT_EQ(GetCallbackDepth(fx.state()), 0);
}

}  // namespace
}  // namespace tembrovia
