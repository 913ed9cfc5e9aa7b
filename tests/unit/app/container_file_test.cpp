// Containers on disk: separate files, compressed ones, and applets appended to a program.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <zlib.h>

#include "app/container/applet_inflate.h"
#include "app/container/applet_writer.h"
#include "app/container/marker_record.h"
#include "container_test_util.h"

namespace tembrovia {
namespace {

namespace fs = std::filesystem;

class ContainerFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    directory_ = fs::temp_directory_path() /
                 ("tembrovia-container-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = (directory_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  static std::vector<uint8_t> Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  static std::vector<uint8_t> Sample() {
    ContainerBuilder builder;
    builder.Version({5, 2});
    builder.Title("Packed");
    builder.LinkedFiles({{"notes.txt", {'h', 'i'}, true}});
    builder.Script(std::vector<uint8_t>(40000, 0x5A));  // bigger than one inflate buffer
    return builder.Build();
  }

  // Whether python3's zlib is there to check our streams against.
  static bool HavePython() { return std::system("python3 -c 'import zlib' 2>/dev/null") == 0; }

  fs::path directory_;
};

TEST_F(ContainerFileTest, PlainFile) {
  std::string path = Write("game.vxa", Sample());
  TemporaryFiles temporaries;
  AppletRecords records;
  DisplayConfig display;
  AppletStatus status = OpenAppletContainer(path, 0, temporaries, records, display);
  ASSERT_EQ(status.code, ERR_NONE);
  EXPECT_EQ(records.containerPath, path);
  EXPECT_EQ(records.defaultTitle, "Packed");
  EXPECT_EQ(records.chunk.size(), 40000u);
  EXPECT_EQ(temporaries.Count(), 0u);
}

TEST_F(ContainerFileTest, MissingFileAndNotAnApplet) {
  TemporaryFiles temporaries;
  AppletRecords records;
  DisplayConfig display;
  AppletStatus missing =
      OpenAppletContainer((directory_ / "none.vxa").string(), 0, temporaries, records, display);
  EXPECT_EQ(missing.code, ERR_FILEEXIST);
  EXPECT_EQ(missing.text, (directory_ / "none.vxa").string());

  std::string text = Write("readme.txt", {'h', 'e', 'l', 'l', 'o', '!'});
  AppletStatus other = OpenAppletContainer(text, 0, temporaries, records, display);
  EXPECT_EQ(other.code, ERR_NOAPPLET);
  EXPECT_EQ(other.text, "readme.txt");
  EXPECT_EQ(OpenAppletContainer(directory_.string(), 0, temporaries, records, display).code,
            ERR_FILEEXIST);
}

TEST_F(ContainerFileTest, CompressedFileInflatesIntoATemporaryFile) {
  std::vector<uint8_t> plain = Sample();
  std::string path = Write("game.vxz", CompressContainer(plain));
  std::string temporaryPath;
  {
    TemporaryFiles temporaries;
    AppletRecords records;
    DisplayConfig display;
    ASSERT_EQ(OpenAppletContainer(path, 0, temporaries, records, display).code, ERR_NONE);
    ASSERT_EQ(temporaries.Count(), 1u);
    temporaryPath = records.containerPath;
    EXPECT_NE(temporaryPath, path);
    EXPECT_EQ(records.appletOffset, 0u);
    EXPECT_EQ(Load(temporaryPath), plain);
    EXPECT_EQ(records.chunk.size(), 40000u);
    ASSERT_EQ(records.linkedFiles.size(), 1u);
    temporaries.DeleteAll();
  }
  EXPECT_FALSE(fs::exists(temporaryPath));  // deleted with the run's list
}

TEST_F(ContainerFileTest, CompressedFormMatchesAnOutsideZlib) {
  if (!HavePython()) GTEST_SKIP() << "python3 with zlib is not installed";
  std::vector<uint8_t> plain = Sample();
  std::string plainPath = Write("plain.bin", plain);
  std::string ours = Write("ours.vxz", CompressContainer(plain));
  // Our stream read by python's zlib.
  std::string check = "python3 -c \"import sys,zlib; d=open(sys.argv[1],'rb').read(); "
                      "sys.exit(0 if zlib.decompress(d[8:])==open(sys.argv[2],'rb').read() "
                      "and d[:4]==b'VXZ\\0' else 1)\" " + ours + " " + plainPath;
  EXPECT_EQ(std::system(check.c_str()), 0);
  // Python's stream read by us.
  std::string theirs = (directory_ / "theirs.vxz").string();
  std::string make = "python3 -c \"import sys,zlib; p=open(sys.argv[1],'rb').read(); "
                     "open(sys.argv[2],'wb').write(b'VXZ\\0'+b'\\0\\0\\0\\0'+zlib.compress(p,6))\" " +
                     plainPath + " " + theirs;
  ASSERT_EQ(std::system(make.c_str()), 0);
  ReadResult read = ReadBack(Load(theirs));
  ASSERT_EQ(read.status.code, ERR_NONE);
  EXPECT_EQ(read.records.chunk.size(), 40000u);
}

TEST_F(ContainerFileTest, AppendedAppletIsReadFromTheMarkerOffset) {
  // A stand-in for the player: some bytes with an unpatched marker record inside.
  std::vector<uint8_t> player(3000, 0x90);
  std::copy(kMarkerSignature.begin(), kMarkerSignature.end(), player.begin() + 1000);
  for (int i = 0; i < 4; ++i) player[1032 + i] = (kNoAppendedApplet >> (24 - 8 * i)) & 0xFF;
  std::copy(kMarkerTrailer.begin(), kMarkerTrailer.end(), player.begin() + 1036);

  for (bool compressed : {false, true}) {
    std::vector<uint8_t> container = compressed ? CompressContainer(Sample()) : Sample();
    std::optional<std::vector<uint8_t>> program = AppendToPlayer(player, container);
    ASSERT_TRUE(program);
    std::optional<size_t> marker = FindMarkerRecord(*program);
    ASSERT_EQ(marker, 1000u);
    MarkerRecord record;
    std::copy_n(program->begin() + 1000, kMarkerRecordSize, record.begin());
    ASSERT_EQ(AppendedAppletOffset(record), 3000u);
    // The patched program cannot take a second applet.
    EXPECT_FALSE(AppendToPlayer(*program, container));

    std::string path = Write("program", *program);
    TemporaryFiles temporaries;
    AppletRecords records;
    DisplayConfig display;
    ASSERT_EQ(OpenAppletContainer(path, 3000, temporaries, records, display).code, ERR_NONE)
        << compressed;
    struct Cleanup {
      TemporaryFiles& files;
      ~Cleanup() { files.DeleteAll(); }
    } cleanup{temporaries};
    EXPECT_EQ(records.appletOffset, compressed ? 0u : 3000u);
    EXPECT_EQ(records.defaultTitle, "Packed");
    // The linked file's offset counts from the container's start.
    std::vector<uint8_t> data(2);
    std::unique_ptr<FileByteSource> source = FileByteSource::Open(records.containerPath);
    ASSERT_TRUE(source);
    ASSERT_TRUE(source->Read(records.appletOffset + static_cast<uint64_t>(records.linkedFiles[0].offset),
                             data.data(), 2));
    EXPECT_EQ(data, (std::vector<uint8_t>{'h', 'i'}));
  }
}

TEST_F(ContainerFileTest, ThePlayerCarriesOneUnpatchedMarker) {
  const char* binary = std::getenv("TEMBROVIA_BINARY_DIR");
  if (!binary) GTEST_SKIP() << "run through ctest";
  std::vector<uint8_t> player = Load(std::string(binary) + "/tembrovia");
  ASSERT_FALSE(player.empty());
  std::optional<size_t> marker = FindMarkerRecord(player);
  ASSERT_TRUE(marker);
  MarkerRecord record;
  std::copy_n(player.begin() + static_cast<long>(*marker), kMarkerRecordSize, record.begin());
  EXPECT_FALSE(AppendedAppletOffset(record));
}

struct InflateCase {
  const char* what;
  ErrorCode error;
};

TEST(InflateContainer, BrokenStreams) {
  ContainerBuilder builder;
  builder.Script(std::vector<uint8_t>(100000, 7));
  std::vector<uint8_t> good = CompressContainer(builder.Build());

  auto inflate = [](const std::vector<uint8_t>& bytes, size_t limit = 1 << 24) {
    MemoryByteSource source(bytes);
    MemoryInflateSink sink(limit);
    return InflateContainer(source, 0, sink);
  };
  EXPECT_EQ(inflate(good), ERR_NONE);

  std::vector<uint8_t> truncated(good.begin(), good.end() - 10);
  EXPECT_EQ(inflate(truncated), ERR_ZLIBDATA);
  std::vector<uint8_t> headerOnly(good.begin(), good.begin() + 8);
  EXPECT_EQ(inflate(headerOnly), ERR_ZLIBDATA);
  std::vector<uint8_t> damaged = good;
  damaged[8] ^= 0xFF;  // the zlib header
  EXPECT_EQ(inflate(damaged), ERR_ZLIBDATA);
  std::vector<uint8_t> wrongMagic = good;
  wrongMagic[2] = 'Q';
  EXPECT_EQ(inflate(wrongMagic), ERR_PAKFORMAT);
  EXPECT_EQ(inflate(good, 1000), ERR_MEM);
  {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), std::fclose);
    ASSERT_TRUE(file);
    MemoryByteSource source(good);
    FileInflateSink limited(file.get(), 1000);
    EXPECT_EQ(InflateContainer(source, 0, limited), ERR_WRITE);
  }

  // Through the reader: a broken compressed applet reports the zlib error.
  EXPECT_EQ(ReadBack(truncated).status.code, ERR_ZLIBDATA);
  // A compressed container whose content is no plain container.
  std::vector<uint8_t> inner = CompressContainer({'X', 'Y', 'Z', 0, 1});
  EXPECT_EQ(ReadBack(inner).status.code, ERR_NOAPPLET);
}

TEST(ZlibErrorCode, Mapping) {
  EXPECT_EQ(ZlibErrorCode(Z_ERRNO), ERR_ZLIBIO);
  EXPECT_EQ(ZlibErrorCode(Z_STREAM_ERROR), ERR_ZLIBSTREAM);
  EXPECT_EQ(ZlibErrorCode(Z_DATA_ERROR), ERR_ZLIBDATA);
  EXPECT_EQ(ZlibErrorCode(Z_MEM_ERROR), ERR_MEM);
  EXPECT_EQ(ZlibErrorCode(Z_VERSION_ERROR), ERR_ZLIBVERSION);
  EXPECT_EQ(ZlibErrorCode(-99), ERR_UNKNOWN);
}

}  // namespace
}  // namespace tembrovia
