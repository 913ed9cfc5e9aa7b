#include <gtest/gtest.h>

#include "files/file_checksum.h"
#include "files/file_namespace.h"
#include "files/file_stream.h"
#include "files/virtual_name.h"
#include "files/vxpk.h"
#include "outside_tool.h"
#include "scratch_dir.h"

namespace tembrovia {
namespace {

std::string Mixed(size_t size) {
  std::string bytes;
  uint32_t x = 12345;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    bytes += static_cast<char>(i % 3 == 0 ? (x >> 16) : 'a' + i % 7);
  }
  return bytes;
}

class CompressionTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  FileNamespace names;
};

TEST_F(CompressionTest, VxpkIsReadableByZlibAndRoundTrips) {
  for (size_t size : {size_t{0}, size_t{1}, size_t{16384}, size_t{100000}}) {
    std::string original = Mixed(size);
    WriteBytes(dir / "in.bin", original);
    int64_t packedSize = -1, unpackedSize = -1;
    ASSERT_EQ(CompressFile(dir / "in.bin", dir / "in.vxpk", &packedSize, names).code, ERR_NONE) << size;
    std::string packed = ReadBytes(dir / "in.vxpk");
    EXPECT_EQ(packedSize, static_cast<int64_t>(packed.size()));
    EXPECT_EQ(packed.substr(0, 8), std::string("VXPK\0\0\0\0", 8));
    std::string check = RunPython(
        "import sys, zlib\n"
        "d = open(sys.argv[1], 'rb').read()\n"
        "o = open(sys.argv[2], 'rb').read()\n"
        "print(d[:8] == b'VXPK\\0\\0\\0\\0' and zlib.decompress(d[8:]) == o)",
        dir / "in.vxpk" + " " + dir / "in.bin");
    EXPECT_EQ(check, "True") << size;
    ASSERT_EQ(DecompressFile(dir / "in.vxpk", dir / "out.bin", &unpackedSize, names).code, ERR_NONE);
    EXPECT_EQ(unpackedSize, static_cast<int64_t>(size));
    EXPECT_EQ(ReadBytes(dir / "out.bin"), original);
  }
}

TEST_F(CompressionTest, DecompressesWhatZlibWrote) {
  RunPython("import sys, zlib\nopen(sys.argv[1], 'wb').write(b'VXPK\\0\\0\\0\\0' + zlib.compress(b'hello ' * 5000, 9))",
            dir / "py.vxpk");
  int64_t size = 0;
  ASSERT_EQ(DecompressFile(dir / "py.vxpk", dir / "py.out", &size, names).code, ERR_NONE);
  EXPECT_EQ(size, 30000);
  std::string expected;
  for (int i = 0; i < 5000; ++i) expected += "hello ";
  EXPECT_EQ(ReadBytes(dir / "py.out"), expected);
}

TEST_F(CompressionTest, BrokenInputGivesTheRightErrors) {
  WriteBytes(dir / "data.bin", Mixed(50000));
  ASSERT_EQ(CompressFile(dir / "data.bin", dir / "good.vxpk", nullptr, names).code, ERR_NONE);
  std::string good = ReadBytes(dir / "good.vxpk");
  struct Case {
    std::string bytes;
    ErrorCode expected;
  } cases[] = {
      {good.substr(0, good.size() - 10), ERR_ZLIBDATA},        // cut short
      {good.substr(0, 8), ERR_ZLIBDATA},                       // header only
      {"VXPZ" + good.substr(4), ERR_PAKFORMAT},                // magic
      {"VXP", ERR_PAKFORMAT},                                  // shorter than the header
      {good.substr(0, 8) + "garbage garbage", ERR_ZLIBDATA},   // not a zlib stream
      {good.substr(0, 8) + std::string("\x78\x9c\x03\x00\x00\x00\x00\x02", 8), ERR_ZLIBDATA},  // bad checksum
  };
  for (const Case& c : cases) {
    WriteBytes(dir / "bad.vxpk", c.bytes);
    EXPECT_EQ(DecompressFile(dir / "bad.vxpk", dir / "bad.out", nullptr, names).code, c.expected) << c.bytes.size();
  }
  EXPECT_EQ(DecompressFile(dir / "missing", dir / "x", nullptr, names).code, ERR_READFILE);
  EXPECT_EQ(CompressFile(dir / "data.bin", dir / "no/dir/x", nullptr, names).code, ERR_WRITEFILE);
}

TEST_F(CompressionTest, SameSourceAndDestinationIsRefusedWithoutTruncating) {
  std::string original = Mixed(3000);
  WriteBytes(dir / "same.bin", original);
  EXPECT_EQ(CompressFile(dir / "same.bin", dir / "same.bin", nullptr, names).code, ERR_WRONGUSAGE);
  EXPECT_EQ(CompressFile(dir / "same.bin", dir.path().string() + "/./same.bin", nullptr, names).code, ERR_WRONGUSAGE);
  std::string window = MakeWindowName(0, 100, "w", dir / "same.bin");
  EXPECT_EQ(CompressFile(window, dir / "same.bin", nullptr, names).code, ERR_WRONGUSAGE);
  EXPECT_EQ(ReadBytes(dir / "same.bin"), original);
  ASSERT_EQ(CompressFile(dir / "same.bin", dir / "p.vxpk", nullptr, names).code, ERR_NONE);
  std::string packed = ReadBytes(dir / "p.vxpk");
  EXPECT_EQ(DecompressFile(dir / "p.vxpk", dir / "p.vxpk", nullptr, names).code, ERR_WRONGUSAGE);
  EXPECT_EQ(ReadBytes(dir / "p.vxpk"), packed);
}

TEST_F(CompressionTest, StreamFormWithAnotherMagicAtAnOffset) {
  // How the container reader uses it: input positioned at the start of the packed data.
  auto packed = FileStream::CreateInMemory();
  packed->Write("prefix", 6);
  auto source = FileStream::FromString(std::make_shared<const std::string>("applet bytes"));
  ASSERT_EQ(CompressStream(*source, *packed, std::string_view("VXZ\0", 4)), ERR_NONE);
  packed->Seek(6, SeekOrigin::Start);
  auto out = FileStream::CreateInMemory();
  ASSERT_EQ(DecompressStream(*packed, *out, std::string_view("VXZ\0", 4)), ERR_NONE);
  EXPECT_EQ(std::string(out->WrittenBytes().begin(), out->WrittenBytes().end()), "applet bytes");
  packed->Seek(6, SeekOrigin::Start);
  EXPECT_EQ(DecompressStream(*packed, *out), ERR_PAKFORMAT);
}

TEST_F(CompressionTest, ChecksumsAgreeWithZlibAndMd5sum) {
  for (size_t size : {size_t{1}, size_t{16385}, size_t{70000}}) {
    WriteBytes(dir / "c.bin", Mixed(size));
    uint32_t crc = 0;
    ASSERT_EQ(FileCrc32(dir / "c.bin", crc, names), ERR_NONE);
    EXPECT_EQ(std::to_string(crc),
              RunPython("import sys, zlib\nprint(zlib.crc32(open(sys.argv[1], 'rb').read()))", dir / "c.bin"));
    std::string md5;
    ASSERT_EQ(FileMd5(dir / "c.bin", md5, names), ERR_NONE);
    EXPECT_EQ(md5, RunTool("md5sum " + dir / "c.bin" + " | cut -c1-32"));
  }
  uint32_t crc;
  std::string md5;
  EXPECT_EQ(FileCrc32("", crc, names), ERR_WRONGUSAGE);
  EXPECT_EQ(FileCrc32(dir / "missing", crc, names), ERR_READFILE);
  EXPECT_EQ(FileMd5(dir / "missing", md5, names), ERR_READFILE);
}

}  // namespace
}  // namespace tembrovia
