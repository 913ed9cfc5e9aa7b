#include "files/file_stream.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "files/file_namespace.h"
#include "files/virtual_name.h"
#include "scratch_dir.h"

namespace tembrovia {
namespace {

std::string ReadAll(FileStream& stream) {
  std::string out;
  char buffer[7];  // small on purpose: reads cross buffer boundaries
  size_t got;
  while ((got = stream.Read(buffer, sizeof buffer)) > 0) out.append(buffer, got);
  return out;
}

std::string Numbered(size_t count) {
  std::string bytes;
  for (size_t i = 0; i < count; ++i) bytes += static_cast<char>(i * 7 + 3);
  return bytes;
}

class FileStreamTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  FileNamespace names;
};

TEST_F(FileStreamTest, ReadModeKnowsSizeAndSeeks) {
  WriteBytes(dir / "a.bin", "hello world");
  auto stream = FileStream::Open(dir / "a.bin", OpenMode::Read, names);
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->Size(), 11);
  EXPECT_EQ(ReadAll(*stream), "hello world");
  EXPECT_TRUE(stream->AtEnd());
  EXPECT_EQ(stream->Seek(-5, SeekOrigin::End), 11);
  EXPECT_EQ(stream->ReadByte(), 'w');
  EXPECT_EQ(stream->Seek(-7, SeekOrigin::Current), 7);
  EXPECT_EQ(stream->Position(), 0);
  EXPECT_EQ(stream->Seek(-1, SeekOrigin::Start), -1) << "before the start of a host file";
  EXPECT_EQ(stream->Position(), 0);
  EXPECT_EQ(stream->Write("x", 1), 0u) << "read-only";
}

TEST_F(FileStreamTest, ReadWriteOnExistingFileKnowsItsRealSize) {
  WriteBytes(dir / "rw.bin", "0123456789");
  auto stream = FileStream::Open(dir / "rw.bin", OpenMode::ReadWrite, names);
  ASSERT_TRUE(stream);
  EXPECT_EQ(stream->Size(), 10);
  EXPECT_EQ(stream->Position(), 0);
  EXPECT_EQ(stream->Seek(0, SeekOrigin::End), 0);
  EXPECT_EQ(stream->Position(), 10);
  // Read, then write, then read again: the direction switch keeps the positions right.
  stream->Seek(2, SeekOrigin::Start);
  EXPECT_EQ(stream->ReadByte(), '2');
  EXPECT_EQ(stream->Write("AB", 2), 2u);
  EXPECT_EQ(stream->ReadByte(), '5');
  stream->Seek(0, SeekOrigin::End);
  EXPECT_EQ(stream->Write("xyz", 3), 3u);
  EXPECT_EQ(stream->Size(), 13);
  stream->Close();
  EXPECT_EQ(ReadBytes(dir / "rw.bin"), "012AB56789xyz");
}

TEST_F(FileStreamTest, ReadWriteCreatesMissingFileAndWriteTruncates) {
  auto created = FileStream::Open(dir / "new.bin", OpenMode::ReadWrite, names);
  ASSERT_TRUE(created);
  EXPECT_EQ(created->Size(), 0);
  created->Write("abc", 3);
  created->Seek(0, SeekOrigin::Start);
  EXPECT_EQ(ReadAll(*created), "abc");
  created.reset();
  auto truncated = FileStream::Open(dir / "new.bin", OpenMode::Write, names);
  ASSERT_TRUE(truncated);
  EXPECT_EQ(truncated->Size(), 0);
  truncated.reset();
  EXPECT_EQ(ReadBytes(dir / "new.bin"), "");
}

TEST_F(FileStreamTest, MissingFilesAndDirectoriesFail) {
  errno = 0;
  EXPECT_FALSE(FileStream::Open(dir / "missing", OpenMode::Read, names));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(FileStream::Open(dir.path().string(), OpenMode::Read, names));
  EXPECT_EQ(errno, EISDIR);
}

TEST_F(FileStreamTest, BackslashesAndProgramDirectory) {
  std::filesystem::create_directory(dir.path() / "sub");
  WriteBytes(dir / "sub/f.txt", "data");
  std::string backslashed = dir.path().string() + "\\sub\\f.txt";
  auto viaBackslash = FileStream::Open(backslashed, OpenMode::Read, names);
  ASSERT_TRUE(viaBackslash);
  EXPECT_EQ(ReadAll(*viaBackslash), "data");

  names.SetProgramDirectory(dir.path().string());
  EXPECT_EQ(names.ExpandProgramDirectory("PROGDIR:sub/f.txt"), dir.path().string() + "/sub/f.txt");
  auto viaProgDir = FileStream::Open("PROGDIR:sub\\f.txt", OpenMode::Read, names);
  ASSERT_TRUE(viaProgDir);
  EXPECT_EQ(ReadAll(*viaProgDir), "data");
}

TEST_F(FileStreamTest, WindowReadsExactlyItsBytesAndClampsSeeks) {
  std::string host = Numbered(2000);
  WriteBytes(dir / "data.bin", host);
  std::string name = MakeWindowName(1000, 500, "pic.png", dir / "data.bin");
  EXPECT_EQ(name, ":::chunk1000:500*pic.png/" + (dir / "data.bin"));
  auto stream = FileStream::Open(name, OpenMode::Read, names);
  ASSERT_TRUE(stream);
  EXPECT_TRUE(stream->IsBounded());
  EXPECT_EQ(stream->Size(), 500);
  EXPECT_EQ(ReadAll(*stream), host.substr(1000, 500));
  EXPECT_EQ(stream->Seek(10000, SeekOrigin::Start), 500);
  EXPECT_EQ(stream->Position(), 500) << "clamped to the window";
  stream->Seek(-1000, SeekOrigin::Current);
  EXPECT_EQ(stream->Position(), 0);
  EXPECT_EQ(stream->ReadByte(), static_cast<uint8_t>(host[1000]));

  errno = 0;
  EXPECT_FALSE(FileStream::Open(name, OpenMode::Write, names));
  EXPECT_EQ(errno, EACCES);
  EXPECT_FALSE(FileStream::Open(name, OpenMode::ReadWrite, names));
}

TEST_F(FileStreamTest, WindowsAreCutAtTheHostEndAndNest) {
  std::string host = Numbered(100);
  WriteBytes(dir / "h.bin", host);
  auto past = FileStream::Open(MakeWindowName(90, 50, "x", dir / "h.bin"), OpenMode::Read, names);
  ASSERT_TRUE(past);
  EXPECT_EQ(past->Size(), 10);
  EXPECT_EQ(ReadAll(*past), host.substr(90));
  auto beyond = FileStream::Open(MakeWindowName(500, 50, "x", dir / "h.bin"), OpenMode::Read, names);
  ASSERT_TRUE(beyond);
  EXPECT_EQ(beyond->Size(), 0);

  // A window onto a window: bytes 20+5 .. 20+5+10 of the host, cut by the inner window.
  std::string inner = MakeWindowName(20, 12, "inner", dir / "h.bin");
  auto nested = FileStream::Open(MakeWindowName(5, 10, "outer", inner), OpenMode::Read, names);
  ASSERT_TRUE(nested);
  EXPECT_EQ(ReadAll(*nested), host.substr(25, 7));
}

TEST_F(FileStreamTest, LinkedFilesOpenByNameForReadingOnly) {
  std::string container = Numbered(3000);
  WriteBytes(dir / "applet.vxa", container);
  names.RegisterLinkedFile({.name = "gfx/Title.PNG", .hostPath = dir / "applet.vxa", .offset = 2001, .size = 500});
  EXPECT_EQ(names.LinkedFileName("GFX\\title.png"), MakeWindowName(2001, 500, "Title.PNG", dir / "applet.vxa"));
  EXPECT_EQ(names.LinkedFileName("title.png"), std::nullopt);
  auto stream = FileStream::Open("gfx\\title.png", OpenMode::Read, names);
  ASSERT_TRUE(stream);
  EXPECT_EQ(ReadAll(*stream), container.substr(2001, 500));

  // Writing the same name writes a host file; a window whose host is a linked name works.
  CurrentDirectoryGuard inDir(dir.path());
  std::filesystem::create_directory("gfx");
  auto written = FileStream::Open("gfx/title.png", OpenMode::Write, names);
  ASSERT_TRUE(written);
  written.reset();
  auto windowOnLinked = FileStream::Open(MakeWindowName(10, 5, "w", "GFX/TITLE.png"), OpenMode::Read, names);
  ASSERT_TRUE(windowOnLinked);
  EXPECT_EQ(ReadAll(*windowOnLinked), container.substr(2011, 5));
  names.ClearLinkedFiles();
  EXPECT_EQ(names.LinkedFileName("gfx/Title.PNG"), std::nullopt);
}

TEST_F(FileStreamTest, StringFilesAreNamedByKeyAndStayAliveWhileOpen) {
  std::string name = names.DefineStringFile(std::string("ab\0cd", 5), "dir/notes.txt");
  EXPECT_EQ(name, ":::chunkS1:5*notes.txt/1");
  auto stream = FileStream::Open(name, OpenMode::Read, names);
  ASSERT_TRUE(stream);
  EXPECT_TRUE(stream->InMemory());
  EXPECT_TRUE(names.UndefineStringFile(name));
  EXPECT_FALSE(names.UndefineStringFile(name));
  EXPECT_EQ(names.StringFileCount(), 0u);
  EXPECT_EQ(ReadAll(*stream), std::string("ab\0cd", 5)) << "the open stream keeps the bytes";
  EXPECT_FALSE(FileStream::Open(name, OpenMode::Read, names)) << "undefined";

  std::string second = names.DefineStringFile("0123456789abcdef", "s");
  EXPECT_EQ(second, ":::chunkS2:16*s/2");
  for (const char* forged : {":::chunkS2:15*s/2", ":::chunkS2:16*s/3", ":::chunkS3:16*s/3",
                             ":::chunkS2:16*s/02", ":::chunkS2:16*s/7ffc12345678"}) {
    EXPECT_FALSE(FileStream::Open(forged, OpenMode::Read, names)) << forged;
    EXPECT_FALSE(names.UndefineStringFile(forged)) << forged;
  }
  auto window = FileStream::Open(MakeWindowName(10, 100, "tail", second), OpenMode::Read, names);
  ASSERT_TRUE(window);
  EXPECT_EQ(ReadAll(*window), "abcdef");
}

TEST(VirtualNameTest, ParsesWellFormedNamesOnly) {
  auto window = ParseVirtualName(":::chunk1000:500*pic.png/dir/data.bin");
  ASSERT_TRUE(window);
  EXPECT_EQ(window->kind, VirtualKind::Window);
  EXPECT_EQ(window->offset, 1000u);
  EXPECT_EQ(window->length, 500u);
  EXPECT_EQ(window->visibleName, "pic.png");
  EXPECT_EQ(window->host, "dir/data.bin");
  auto text = ParseVirtualName(":::chunkS7:3*a*b/ff");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->kind, VirtualKind::String);
  EXPECT_EQ(text->visibleName, "a*b");

  for (const char* bad : {":::chunk", ":::chunk1:2", ":::chunk1:2*a", ":::chunk1:2*a/", ":::chunk:2*a/h",
                          ":::chunk1:*a/h", ":::chunk-1:2*a/h", ":::chunk1;2*a/h",
                          ":::chunk9223372036854775808:1*a/h", ":::chunkS1:2*a/xyz", "::chunk1:2*a/h"}) {
    EXPECT_FALSE(ParseVirtualName(bad)) << bad;
  }
  EXPECT_TRUE(ParseVirtualName(":::chunk9223372036854775807:1*a/h"));
  EXPECT_TRUE(IsVirtualName(":::chunk garbage"));
}

TEST(InMemoryStreamTest, GrowsAndReadsBack) {
  auto stream = FileStream::CreateInMemory();
  EXPECT_EQ(stream->Write("hello", 5), 5u);
  stream->Seek(1, SeekOrigin::Start);
  EXPECT_EQ(stream->Write("EL", 2), 2u);
  EXPECT_EQ(stream->Size(), 5);
  stream->Seek(0, SeekOrigin::Start);
  EXPECT_EQ(ReadAll(*stream), "hELlo");
  EXPECT_EQ(std::string(stream->WrittenBytes().begin(), stream->WrittenBytes().end()), "hELlo");
}

}  // namespace
}  // namespace tembrovia
