// Commands on whole files: FileLines (and its finaliser), FileToString and StringToFile,
// the checksums against zlib and md5sum, MatchPattern.
#include <filesystem>
#include <string>

#include "dos_test.h"
#include "files/outside_tool.h"

namespace tembrovia {
namespace {

using FileCommandsTest = DosTest;

size_t OpenDescriptors() {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

TEST_F(FileCommandsTest, FileLinesIteratesAndEnds) {
  WriteBytes(dir / "lines.txt", "one\r\ntwo\n\nthree");
  fx.SetGlobal("path", dir / "lines.txt");
  const CallResult r = fx.Run(R"(
        readglobal r0, "filelines"
        readglobal r1, "path"
        call r0, 2, 2            ; r0 = the iterator
        clearrange r1, r2
        jump test
  body: call DebugPrint, "[", r2, "]"
  test: iterloop r0, 0, 0
        jump body
        call r0, 1, 2            ; once more after the end
        call DebugPrint, r0
        return r0, 1
  )");
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_EQ(fx.TakeDebugOutput(), "[ one ]\n[ two ]\n[  ]\n[ three ]\nNil\n");

  const CallResult missing = fx.Call("FileLines", {dir / "missing"});
  EXPECT_EQ(missing.error, ERR_READFILE);
  EXPECT_EQ(missing.message, "Cannot read file missing !");
}

TEST_F(FileCommandsTest, AnAbandonedFileLinesIteratorClosesItsStream) {
  WriteBytes(dir / "lines.txt", "a\nb\nc\n");
  fx.SetGlobal("path", dir / "lines.txt");
  CollectGarbage(fx.state());
  const size_t before = OpenDescriptors();
  const CallResult r = fx.Run(R"(
        readglobal r0, "filelines"
        readglobal r1, "path"
        call r0, 2, 2            ; r0 = the iterator
        move r1, r0
        call r1, 1, 2            ; the first line only
        call DebugPrint, r1
        clearrange r0, r1
        return r0, 1
  )");
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_EQ(fx.TakeDebugOutput(), "a\n");
  EXPECT_EQ(OpenDescriptors(), before + 1);  // the loop was left with the stream open
  CollectGarbage(fx.state());
  EXPECT_EQ(OpenDescriptors(), before);
}

TEST_F(FileCommandsTest, WholeFilesAsStrings) {
  const std::string bytes("a\0b\r\n", 5);
  Ok("StringToFile", {bytes, dir / "f.bin"});
  EXPECT_EQ(ReadBytes(dir / "f.bin"), bytes);
  const CallResult back = Ok("FileToString", {dir / "f.bin"});
  ASSERT_EQ(back.count(), 2u);
  EXPECT_EQ(back.string(0), bytes);
  EXPECT_EQ(back.number(1), 5);

  Ok("StringToFile", {"", dir / "empty"});
  EXPECT_TRUE(std::filesystem::exists(dir / "empty"));
  EXPECT_EQ(std::filesystem::file_size(dir / "empty"), 0u);
  EXPECT_EQ(Ok("FileToString", {dir / "empty"}).number(1), 0);

  const CallResult unwritable = fx.Call("StringToFile", {"x", dir / "no/dir/f"});
  EXPECT_EQ(unwritable.error, ERR_WRITEFILE);
  EXPECT_EQ(unwritable.message, "Cannot write to file " + (dir / "no/dir/f") + " !");
  EXPECT_EQ(fx.Call("FileToString", {dir / "missing"}).error, ERR_READFILE);
}

TEST_F(FileCommandsTest, ChecksumsAgreeWithZlibAndMd5sum) {
  std::string bytes;
  for (int i = 0; i < 70000; ++i) bytes += static_cast<char>((i * 7919) >> 3);
  for (const std::string& name : {std::string("big.bin"), std::string("empty.bin")}) {
    WriteBytes(dir / name, name == "empty.bin" ? std::string() : bytes);
    const std::string path = dir / name;
    const std::string crc = RunPython("import sys, zlib; print(zlib.crc32(open(sys.argv[1], \"rb\").read()))", path);
    const std::string md5 = RunTool("md5sum '" + path + "' | cut -c1-32");
    ASSERT_FALSE(crc.empty());
    ASSERT_EQ(md5.size(), 32u);
    EXPECT_EQ(Ok("CRC32", {path}).number(0), std::stod(crc)) << name;
    EXPECT_EQ(Ok("MD5", {path}).string(0), md5) << name;
    // The same digests as the string library gives for the file's bytes (it takes no
    // empty string).
    const std::string bytesOfFile = ReadBytes(path);
    if (bytesOfFile.empty()) continue;
    EXPECT_EQ(Ok("CRC32Str", {bytesOfFile}).number(0), Ok("CRC32", {path}).number(0)) << name;
    EXPECT_EQ(Ok("MD5Str", {bytesOfFile}).string(0), md5) << name;
  }
  EXPECT_EQ(fx.Call("CRC32", {""}).error, ERR_WRONGUSAGE);
  EXPECT_EQ(fx.Call("CRC32", {dir / "missing"}).message, "Cannot read file missing !");
  EXPECT_EQ(fx.Call("MD5", {dir / "missing"}).error, ERR_READFILE);
}

TEST_F(FileCommandsTest, MatchPattern) {
  struct Case {
    const char* text;
    const char* pattern;
    double match;
  };
  const Case cases[] = {
      {"file12.txt", "file##.txt", 1}, {"a.jpg", "*.png;*.jpg", 1}, {"b", "[!a-c]", 0},
      {"d", "[!a-c]", 1},              {"ABC", "abc", 0},           {"abc", "a*", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Ok("MatchPattern", {c.text, c.pattern}).number(0), c.match) << c.text << " " << c.pattern;
  }
  EXPECT_EQ(fx.Call("MatchPattern", {"a"}).error, ERR_MISSINGPARAMTR);
}

}  // namespace
}  // namespace tembrovia
