#include "files/file_handle.h"

#include <gtest/gtest.h>

#include "files/file_lines.h"
#include "files/file_namespace.h"
#include "files/whole_file.h"
#include "scratch_dir.h"

namespace tembrovia {
namespace {

class FileHandleTest : public ::testing::Test {
 protected:
  std::unique_ptr<FileHandle> OpenHandle(const std::string& name, int mode) {
    std::unique_ptr<FileHandle> handle;
    EXPECT_EQ(FileHandle::Open(dir / name, mode, handle, names), ERR_NONE) << name;
    return handle;
  }
  ScratchDir dir;
  FileNamespace names;
};

TEST_F(FileHandleTest, OpenErrors) {
  std::unique_ptr<FileHandle> handle;
  EXPECT_EQ(FileHandle::Open("", kModeReadConstant, handle, names), ERR_WRONGUSAGE);
  EXPECT_EQ(FileHandle::Open(dir / "x", 1003, handle, names), ERR_WRONGUSAGE);
  EXPECT_EQ(FileHandle::Open(dir / "missing", kModeReadConstant, handle, names), ERR_READFILE);
  EXPECT_EQ(FileHandle::Open(dir / "no/such/dir/f", kModeWriteConstant, handle, names), ERR_WRITEFILE);
  EXPECT_EQ(FileHandle::Open(dir / "no/such/dir/f", kModeReadWriteConstant, handle, names), ERR_WRITEFILE);
  EXPECT_FALSE(handle);
}

TEST_F(FileHandleTest, BigEndianNumbersRoundTrip) {
  auto out = OpenHandle("n.bin", kModeWriteConstant);
  EXPECT_EQ(out->WriteShort(258), ERR_NONE);
  EXPECT_EQ(out->WriteInt(-2), ERR_NONE);
  EXPECT_EQ(out->WriteChr(511.9), ERR_NONE);  // truncated, low 8 bits
  EXPECT_EQ(out->WriteFloat(-1.5), ERR_NONE);
  EXPECT_EQ(out->WriteInt(4294967295.0), ERR_NONE);
  EXPECT_EQ(out->Length(), 19);
  uint8_t dummy;
  EXPECT_EQ(out->ReadChr(dummy), ERR_WRITEONLY);
  out.reset();
  EXPECT_EQ(ReadBytes(dir / "n.bin"), std::string("\x01\x02\xFF\xFF\xFF\xFE\xFF\xBF\xF8\0\0\0\0\0\0\xFF\xFF\xFF\xFF", 19));

  auto in = OpenHandle("n.bin", kModeReadConstant);
  uint16_t shortValue;
  int32_t intValue;
  uint8_t byte;
  double floatValue;
  EXPECT_EQ(in->ReadShort(shortValue), ERR_NONE);
  EXPECT_EQ(shortValue, 258);
  EXPECT_EQ(in->ReadInt(intValue), ERR_NONE);
  EXPECT_EQ(intValue, -2);
  EXPECT_EQ(in->ReadChr(byte), ERR_NONE);
  EXPECT_EQ(byte, 255);
  EXPECT_EQ(in->ReadFloat(floatValue), ERR_NONE);
  EXPECT_EQ(floatValue, -1.5);
  EXPECT_EQ(in->WriteChr(1), ERR_READONLY);
  EXPECT_EQ(in->Position(), 15);
  EXPECT_EQ(in->ReadFloat(floatValue), ERR_READRANGE) << "4 bytes left";
  EXPECT_EQ(in->Position(), 15) << "nothing consumed";
  EXPECT_EQ(in->ReadInt(intValue), ERR_NONE);
  EXPECT_EQ(intValue, -1);
  EXPECT_TRUE(in->Eof());
}

TEST_F(FileHandleTest, StringsAndTheirLengthChecks) {
  auto out = OpenHandle("s.bin", kModeWriteConstant);
  EXPECT_EQ(out->WriteString(std::string("ab\0c", 4)), ERR_NONE);
  EXPECT_EQ(out->WriteString("hello", 2), ERR_NONE);
  EXPECT_EQ(out->WriteString("hello", 6), ERR_STRTOOSHORT);
  EXPECT_EQ(out->WriteLine(std::string("line\0ignored", 12)), ERR_NONE);
  out.reset();
  EXPECT_EQ(ReadBytes(dir / "s.bin"), std::string("ab\0che", 6) + "line\r\n");

  auto in = OpenHandle("s.bin", kModeReadConstant);
  std::string text = "unchanged";
  EXPECT_EQ(in->ReadString(-1, text), ERR_WRONGUSAGE);
  EXPECT_EQ(in->ReadString(int64_t{1} << 62, text), ERR_READRANGE) << "checked before allocating";
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(in->ReadString(4, text), ERR_NONE);
  EXPECT_EQ(text, std::string("ab\0c", 4));
  EXPECT_EQ(in->ReadString(0, text), ERR_NONE);
  EXPECT_EQ(text, "");
}

TEST_F(FileHandleTest, ReadLineDropsCarriageReturnsAndFailsAtTheEnd) {
  WriteBytes(dir / "l.txt", "a\r\nb");
  auto in = OpenHandle("l.txt", kModeReadConstant);
  std::string line;
  EXPECT_EQ(in->ReadLine(line), ERR_NONE);
  EXPECT_EQ(line, "a");
  EXPECT_EQ(in->ReadLine(line), ERR_NONE);
  EXPECT_EQ(line, "b");
  EXPECT_EQ(in->ReadLine(line), ERR_READRANGE);
  WriteBytes(dir / "e.txt", "\n\n");
  auto empties = OpenHandle("e.txt", kModeReadConstant);
  EXPECT_EQ(empties->ReadLine(line), ERR_NONE);
  EXPECT_EQ(line, "");
  EXPECT_EQ(empties->ReadLine(line), ERR_NONE);
  EXPECT_EQ(empties->ReadLine(line), ERR_READRANGE);
}

TEST_F(FileHandleTest, SeekWithinTheLength) {
  WriteBytes(dir / "k.bin", "0123456789");
  auto in = OpenHandle("k.bin", kModeReadConstant);
  EXPECT_EQ(in->Seek(-1), ERR_NONE);
  EXPECT_EQ(in->Position(), 10);
  EXPECT_EQ(in->Seek(11), ERR_SEEK);
  EXPECT_EQ(in->Seek(-2), ERR_SEEK);
  EXPECT_EQ(in->Position(), 10);
  EXPECT_EQ(in->Seek(3), ERR_NONE);
  uint8_t byte;
  EXPECT_EQ(in->ReadChr(byte), ERR_NONE);
  EXPECT_EQ(byte, '3');
}

TEST_F(FileHandleTest, ReadWriteHandleOnExistingFileReadsSeeksAndAppends) {
  WriteBytes(dir / "rw.bin", "0123456789");
  auto rw = OpenHandle("rw.bin", kModeReadWriteConstant);
  EXPECT_EQ(rw->Length(), 10);
  std::string text;
  EXPECT_EQ(rw->ReadString(3, text), ERR_NONE);
  EXPECT_EQ(text, "012");
  EXPECT_EQ(rw->Seek(-1), ERR_NONE);
  EXPECT_EQ(rw->Position(), 10);
  EXPECT_EQ(rw->WriteLine("x"), ERR_NONE);
  EXPECT_EQ(rw->Length(), 13);
  EXPECT_EQ(rw->Seek(8), ERR_NONE);
  std::string line;
  EXPECT_EQ(rw->ReadLine(line), ERR_NONE);
  EXPECT_EQ(line, "89x");
  EXPECT_TRUE(rw->Eof());
}

TEST_F(FileHandleTest, FileLinesSplitsLongLinesAndClosesAtTheEnd) {
  std::string longLine(2500, 'z');
  WriteBytes(dir / "lines.txt", "one\r\n" + longLine + "\nlast");
  std::unique_ptr<FileLineIterator> lines;
  EXPECT_EQ(FileLineIterator::Open(dir / "missing", lines, names), ERR_READFILE);
  ASSERT_EQ(FileLineIterator::Open(dir / "lines.txt", lines, names), ERR_NONE);
  std::vector<std::string> got;
  while (auto line = lines->Next()) got.push_back(*line);
  ASSERT_EQ(got.size(), 5u);
  EXPECT_EQ(got[0], "one");
  EXPECT_EQ(got[1], std::string(1024, 'z'));
  EXPECT_EQ(got[2], std::string(1024, 'z'));
  EXPECT_EQ(got[3], std::string(452, 'z'));
  EXPECT_EQ(got[4], "last");
  EXPECT_FALSE(lines->IsOpen());
  EXPECT_FALSE(lines->Next());
}

TEST_F(FileHandleTest, WholeFilesAsStrings) {
  std::string bytes;
  EXPECT_EQ(WriteWholeFile(dir / "w.bin", std::string("a\0b", 3), names), ERR_NONE);
  EXPECT_EQ(ReadWholeFile(dir / "w.bin", bytes, names), ERR_NONE);
  EXPECT_EQ(bytes, std::string("a\0b", 3));
  EXPECT_EQ(WriteWholeFile(dir / "empty", "", names), ERR_NONE);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "empty"));
  EXPECT_EQ(ReadWholeFile(dir / "empty", bytes, names), ERR_NONE);
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(ReadWholeFile(names.DefineStringFile("virtual", "v"), bytes, names), ERR_NONE);
  EXPECT_EQ(bytes, "virtual");
  EXPECT_EQ(ReadWholeFile(dir / "missing", bytes, names), ERR_READFILE);
  EXPECT_EQ(WriteWholeFile(dir / "no/dir/f", "x", names), ERR_WRITEFILE);
  EXPECT_EQ(WriteWholeFile(names.DefineStringFile("v", "v"), "x", names), ERR_WRITEFILE);
}

}  // namespace
}  // namespace tembrovia
