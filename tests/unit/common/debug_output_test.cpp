#include "common/debug_output.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/debug_shared_memory.h"
#include "common/format_error.h"

namespace tembrovia {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

// Reads the zero-terminated text a reader of the shared memory would see.
std::string ReadSharedMemory(const std::string& name) {
  const int fd = shm_open(name.c_str(), O_RDONLY, 0);
  if (fd < 0) return "<missing>";
  void* memory = mmap(nullptr, SharedDebugMemory::kSize, PROT_READ, MAP_SHARED, fd, 0);
  close(fd);
  if (memory == MAP_FAILED) return "<unmappable>";
  std::string text(static_cast<const char*>(memory),
                   strnlen(static_cast<const char*>(memory), SharedDebugMemory::kSize));
  munmap(memory, SharedDebugMemory::kSize);
  return text;
}

class DebugOutputTest : public testing::Test {
 protected:
  void SetUp() override { CloseDebugDevice(); }
  void TearDown() override { CloseDebugDevice(); }
};

TEST_F(DebugOutputTest, FileDeviceGetsEveryOutputFlushed) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tembrovia_debug_" + std::to_string(getpid()));
  ASSERT_EQ(OpenDebugDevice("::file" + path.string()), ERR_NONE);
  EXPECT_TRUE(DebugDeviceGiven());
  DebugWrite("TembroviaPlayer %d.%d\n", 5, 2);
  EXPECT_EQ(ReadFile(path), "TembroviaPlayer 5.2\n");  // flushed without closing
  DebugWriteText("100% %s literal\n");
  const std::string long_text(3000, 'y');
  DebugWrite("%s", long_text.c_str());
  DebugWriteText(long_text);
  CloseDebugDevice();
  EXPECT_FALSE(DebugDeviceGiven());
  EXPECT_EQ(ReadFile(path), "TembroviaPlayer 5.2\n100% %s literal\n" +
                                long_text.substr(0, kDebugOutputSize - 1) +
                                long_text.substr(0, kDebugOutputSize - 1));
  std::filesystem::remove(path);
}

TEST_F(DebugOutputTest, UncreatableFileFallsBackToTheConsole) {
  EXPECT_EQ(OpenDebugDevice("::file/nonexistent-dir/debug.txt"), ERR_WRITEFILE);
  EXPECT_EQ(FormatError(ERR_WRITEFILE), "Cannot write to file /nonexistent-dir/debug.txt !");
  EXPECT_TRUE(DebugDeviceGiven());
  testing::internal::CaptureStdout();
  DebugWriteText("still shown\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "still shown\n");
}

TEST_F(DebugOutputTest, ConsoleIsTheDefaultAndOtherValuesSelectIt) {
  testing::internal::CaptureStdout();
  DebugWrite("%s:%ld\n", "a", 12L);
  EXPECT_FALSE(DebugDeviceGiven());
  EXPECT_EQ(OpenDebugDevice("console"), ERR_NONE);
  EXPECT_TRUE(DebugDeviceGiven());
  DebugWriteText("b\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "a:12\nb\n");
}

TEST_F(DebugOutputTest, WindowDeviceWritesEachOutputIntoSharedMemory) {
  ASSERT_EQ(OpenDebugDevice("::hwnd1234"), ERR_NONE);
  const std::string name = DebugSharedMemoryName();
  ASSERT_TRUE(name.starts_with("/orvendelvantoft_tembrovia")) << name;
  DebugWrite("line %d\n", 1);
  EXPECT_EQ(ReadSharedMemory(name), "line 1\n");
  DebugWriteText("ab");
  EXPECT_EQ(ReadSharedMemory(name), "ab");
  DebugWriteText(std::string(5000, 'z'));
  EXPECT_EQ(ReadSharedMemory(name), std::string(SharedDebugMemory::kSize - 1, 'z'));
  CloseDebugDevice();
  EXPECT_EQ(ReadSharedMemory(name), "<missing>");
  EXPECT_EQ(DebugSharedMemoryName(), "");
}

TEST(SharedDebugMemory, TakesAnIndexThatIsNotInUse) {
  auto first = SharedDebugMemory::Create();
  auto second = SharedDebugMemory::Create();
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->index(), second->index());
  EXPECT_EQ(second->name(), SharedDebugMemory::NameFor(second->index()));
  // An index in use by someone else is skipped: hold the next free one ourselves.
  const std::string taken = SharedDebugMemory::NameFor(first->index());
  first.reset();
  const int fd = shm_open(taken.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
  ASSERT_GE(fd, 0) << errno;
  auto third = SharedDebugMemory::Create();
  ASSERT_TRUE(third);
  EXPECT_NE(third->name(), taken);
  close(fd);
  shm_unlink(taken.c_str());
}

}  // namespace
}  // namespace tembrovia
