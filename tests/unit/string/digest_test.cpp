#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <vector>

#include "common/md5.h"
#include "lib/string/crc32.h"
#include "string/tool_output.h"

namespace tembrovia {
namespace {

TEST(Md5, Rfc1321TestSuite) {
  struct Vector { const char* text; const char* digest; };
  for (const Vector& v :
       {Vector{"", "d41d8cd98f00b204e9800998ecf8427e"}, Vector{"a", "0cc175b9c0f1b6a831c399e269772661"},
        Vector{"abc", "900150983cd24fb0d6963f7d28e17f72"},
        Vector{"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        Vector{"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        Vector{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
               "d174ab98d277d9f5a5611c2c9f419d9f"},
        Vector{"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
               "57edf4a22be3c955ac49da2e2107b67a"}}) {
    EXPECT_EQ(Md5Hex(v.text), v.digest) << v.text;
  }
}

// Random data of every length around the padding boundaries, fed in uneven pieces, against
// md5sum and python's zlib.crc32 (one run of each tool for all files).
TEST(Digests, AgreeWithOutsideTools) {
  std::mt19937 random(7);
  std::vector<std::string> data, files;
  std::string paths;
  for (size_t size : {1u, 55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000u, 100003u}) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    std::string path = ::testing::TempDir() + "digest_input_" + std::to_string(size) + ".bin";
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    data.push_back(std::move(bytes));
    files.push_back(path);
    paths += " '" + path + "'";
  }
  std::string md5sum, crcs;
  ASSERT_TRUE(testing::RunTool("md5sum" + paths, md5sum));
  ASSERT_TRUE(testing::RunTool(
      "python3 -c 'import sys, zlib\nfor p in sys.argv[1:]: print(zlib.crc32(open(p, \"rb\").read()))'" + paths,
      crcs));
  for (const std::string& file : files) std::remove(file.c_str());
  std::istringstream md5_lines(md5sum), crc_lines(crcs);
  for (const std::string& bytes : data) {
    std::string md5_line, crc_line;
    ASSERT_TRUE(std::getline(md5_lines, md5_line));
    ASSERT_TRUE(std::getline(crc_lines, crc_line));
    Md5 md5;
    for (size_t at = 0, piece = 1; at < bytes.size(); at += piece, piece = piece * 3 % 97 + 1) {
      md5.Update(std::string_view(bytes).substr(at, piece));
    }
    EXPECT_EQ(DigestToHex(md5.Finish()), md5_line.substr(0, 32)) << bytes.size();
    EXPECT_EQ(Md5Hex(bytes), md5_line.substr(0, 32)) << bytes.size();
    EXPECT_EQ(std::to_string(Crc32(bytes)), crc_line) << bytes.size();
  }
}

TEST(Crc32, KnownValue) { EXPECT_EQ(Crc32("123456789"), 0xCBF43926u); }

}  // namespace
}  // namespace tembrovia
